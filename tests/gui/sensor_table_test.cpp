#include "model/config_defaults.h"
#include "pages/performance/sensor_table.h"

#include <gtest/gtest.h>

namespace zemrak::pages {
namespace {

std::vector<std::string> texts(std::int32_t sensor, std::int32_t first, std::int32_t last) {
    std::vector<std::string> out;
    for (std::int32_t code = first; code <= last; ++code) {
        out.push_back(dpi_text(sensor, code));
    }
    return out;
}

TEST(SensorTable, Sensor3050ListsItsTwelveStepsAndShows1000ForAnyOtherCode) {
    EXPECT_EQ((std::vector<std::string>{"250", "500", "750", "1000", "1250", "1500", "1750", "2000",
                                        "2500", "3000", "3500", "4000"}),
              texts(kSensor3050, 1, 12));
    for (const std::int32_t code : {0, -1, 13, 100, INT32_MIN, INT32_MAX}) {
        EXPECT_EQ("1000", dpi_text(kSensor3050, code)) << code;
    }
}

TEST(SensorTable, Sensor3212CountsFortiesExceptWhereTheSensorRounds) {
    EXPECT_EQ("1250", dpi_text(kSensor3212, 31)) << "not 1240";
    EXPECT_EQ("1280", dpi_text(kSensor3212, 32));
    EXPECT_EQ("500", dpi_text(kSensor3212, 13)) << "not 520";
    EXPECT_EQ("1500", dpi_text(kSensor3212, 38));
    EXPECT_EQ("1750", dpi_text(kSensor3212, 44));
    EXPECT_EQ("2500", dpi_text(kSensor3212, 63));
    EXPECT_EQ((std::vector<std::string>{"200", "240", "280"}), texts(kSensor3212, 5, 7));
    EXPECT_EQ("2480", dpi_text(kSensor3212, 62));
    EXPECT_EQ("2560", dpi_text(kSensor3212, 64));
    EXPECT_EQ("4800", dpi_text(kSensor3212, 120));
    EXPECT_EQ("85899345880", dpi_text(kSensor3212, INT32_MAX)) << "no overflow";
}

TEST(SensorTable, Sensors3325And3327CountHundreds) {
    for (const std::int32_t sensor : {kSensor3325, kSensor3327}) {
        EXPECT_EQ("200", dpi_text(sensor, 2));
        EXPECT_EQ("5000", dpi_text(sensor, 50));
        EXPECT_EQ("10000", dpi_text(sensor, 100));
    }
    EXPECT_EQ("12400", dpi_text(kSensor3327, 124));
}

TEST(SensorTable, Sensor5050ShowsTheDpiOfTheByteTheMouseReceives) {
    EXPECT_EQ((std::vector<std::string>{"125", "250", "375", "500", "625", "750", "875", "1000",
                                        "1125", "1250"}),
              texts(kSensor5050, 1, 10));
    EXPECT_EQ("125", dpi_text(kSensor5050, 11)) << "sent as 0x01";
    EXPECT_EQ((std::vector<std::string>{"1500", "1750", "2000", "2250", "2500", "2750"}),
              texts(kSensor5050, 12, 17));
    EXPECT_EQ("750", dpi_text(kSensor5050, 0)) << "sent as 0x06";
    EXPECT_EQ("750", dpi_text(kSensor5050, 18));
}

TEST(SensorTable, UnknownSensorsHaveNoTextAndNoRange) {
    for (const std::int32_t sensor : {-1, 0, 3051, 9999}) {
        EXPECT_EQ("", dpi_text(sensor, 10)) << sensor;
        EXPECT_FALSE(stage_range(sensor).has_value()) << sensor;
    }
}

TEST(SensorTable, RangesMatchTheDpiAtTheirEnds) {
    const std::vector<std::pair<std::int32_t, StageRange>> expected = {
        {kSensor3050, {1, 12, "250", "4000"}},   {kSensor3212, {5, 120, "200", "4800"}},
        {kSensor3325, {2, 100, "200", "10000"}}, {kSensor3327, {2, 124, "200", "12400"}},
        {kSensor5050, {1, 17, "125", "2750"}},
    };
    for (const auto& [sensor, range] : expected) {
        ASSERT_EQ(range, stage_range(sensor)) << sensor;
        // The end labels and the value labels must tell the same story.
        EXPECT_EQ(range.low_text, dpi_text(sensor, range.min_code)) << sensor;
        EXPECT_EQ(range.high_text, dpi_text(sensor, range.max_code)) << sensor;
    }
}

} // namespace
} // namespace zemrak::pages
