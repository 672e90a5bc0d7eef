#include "model/sensors.h"

#include <climits>
#include <string>
#include <vector>

#include <gtest/gtest.h>

namespace zemrak {
namespace {

std::vector<std::string> texts(std::int32_t sensor, std::int32_t first, std::int32_t last) {
    std::vector<std::string> out;
    for (std::int32_t code = first; code <= last; ++code) {
        out.push_back(dpi_text(sensor, code));
    }
    return out;
}

TEST(Sensors, Sensor3050ListsItsTwelveStepsAndShows1000ForAnyOtherCode) {
    EXPECT_EQ((std::vector<std::string>{"250", "500", "750", "1000", "1250", "1500", "1750", "2000",
                                        "2500", "3000", "3500", "4000"}),
              texts(kSensor3050, 1, 12));
    for (const std::int32_t code : {0, -1, 13, 100, INT32_MIN, INT32_MAX}) {
        EXPECT_EQ("1000", dpi_text(kSensor3050, code)) << code;
    }
}

TEST(Sensors, Sensor3212CountsFortiesExceptWhereTheSensorRounds) {
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

TEST(Sensors, Sensors3325And3327CountHundreds) {
    for (const std::int32_t sensor : {kSensor3325, kSensor3327}) {
        EXPECT_EQ("200", dpi_text(sensor, 2));
        EXPECT_EQ("5000", dpi_text(sensor, 50));
        EXPECT_EQ("10000", dpi_text(sensor, 100));
    }
    EXPECT_EQ("12400", dpi_text(kSensor3327, 124));
}

TEST(Sensors, Sensor5050ShowsTheDpiOfTheByteTheMouseReceives) {
    EXPECT_EQ((std::vector<std::string>{"125", "250", "375", "500", "625", "750", "875", "1000",
                                        "1125", "1250"}),
              texts(kSensor5050, 1, 10));
    EXPECT_EQ("125", dpi_text(kSensor5050, 11)) << "sent as 0x01";
    EXPECT_EQ((std::vector<std::string>{"1500", "1750", "2000", "2250", "2500", "2750"}),
              texts(kSensor5050, 12, 17));
    EXPECT_EQ("750", dpi_text(kSensor5050, 0)) << "sent as 0x06";
    EXPECT_EQ("750", dpi_text(kSensor5050, 18));
}

TEST(Sensors, UnknownSensorsHaveNoTextAndNoRange) {
    for (const std::int32_t sensor : {-1, 0, 3051, 9999}) {
        EXPECT_EQ("", dpi_text(sensor, 10)) << sensor;
        EXPECT_FALSE(stage_range(sensor).has_value()) << sensor;
    }
}

TEST(Sensors, RangesMatchTheDpiAtTheirEnds) {
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

std::vector<int> bytes(std::int32_t sensor, std::int32_t first, std::int32_t last) {
    std::vector<int> out;
    for (std::int32_t code = first; code <= last; ++code) {
        const std::optional<StageByte> encoded = stage_byte(sensor, code);
        EXPECT_TRUE(encoded.has_value() && !encoded->halved) << sensor << " code " << code;
        out.push_back(encoded.has_value() ? encoded->byte : -1);
    }
    return out;
}

TEST(Sensors, DirectSensorsSendTheirCodesByTheirOwnRules) {
    EXPECT_EQ((std::vector<int>{1, 2, 3, 4, 5, 6, 7, 8, 0x45, 0x46, 0x47, 0x48}),
              bytes(kSensor3050, 1, 12));
    EXPECT_EQ((std::vector<int>{6, 6}), bytes(kSensor3050, 13, 14));
    EXPECT_EQ((std::vector<int>{6}), bytes(kSensor3050, 0, 0));

    EXPECT_EQ((std::vector<int>{0x3E, 0x3F, 0x60, 0x60, 0x61}), bytes(kSensor3212, 62, 66));
    EXPECT_EQ((std::vector<int>{0x72}), bytes(kSensor3212, 100, 100));
    EXPECT_EQ((std::vector<int>{0x7F, 0xEA}), bytes(kSensor3212, 126, 127)) << "a third from 127";
    EXPECT_EQ((std::vector<int>{0xF2}), bytes(kSensor3212, 150, 150));

    EXPECT_EQ(
        (std::vector<int>{1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 1, 0x46, 0x47, 0x48, 0x49, 0x4A, 0x4B}),
        bytes(kSensor5050, 1, 17));
    EXPECT_EQ((std::vector<int>{6}), bytes(kSensor5050, 18, 18));
}

TEST(Sensors, TableSensorsHalveCodesAboveTheirThresholdAndStayInsideTheTable) {
    EXPECT_EQ((StageByte{115, false}), stage_byte(kSensor3325, 50));
    EXPECT_EQ((StageByte{57, true}), stage_byte(kSensor3325, 51)) << "entry 25";
    EXPECT_EQ((StageByte{92, true}), stage_byte(kSensor3325, 80)) << "entry 40";
    EXPECT_EQ((StageByte{115, true}), stage_byte(kSensor3325, 300)) << "clamped to entry 50";
    EXPECT_EQ((StageByte{0, false}), stage_byte(kSensor3325, -5)) << "clamped to entry 0";

    EXPECT_EQ((StageByte{145, false}), stage_byte(kSensor3327, 62));
    EXPECT_EQ((StageByte{72, true}), stage_byte(kSensor3327, 63)) << "entry 31";
    EXPECT_EQ((StageByte{81, true}), stage_byte(kSensor3327, 70)) << "entry 35";
    EXPECT_EQ((StageByte{0, true}), stage_byte(kSensor3327, INT32_MAX)) << "clamped to entry 63";
}

TEST(Sensors, OnlyTableSensorsSendSkippedStagesWithTheirOwnCode) {
    EXPECT_TRUE(encodes_skipped_stages(kSensor3325));
    EXPECT_TRUE(encodes_skipped_stages(kSensor3327));
    for (const std::int32_t sensor : {kSensor3050, kSensor3212, kSensor5050, -1, 3051}) {
        EXPECT_FALSE(encodes_skipped_stages(sensor)) << sensor;
    }
    for (const std::int32_t sensor : {-1, 0, 3051, 9999}) {
        EXPECT_FALSE(is_known_sensor(sensor)) << sensor;
        EXPECT_FALSE(stage_byte(sensor, 10).has_value()) << sensor;
        EXPECT_EQ(StageCodes{}, default_stage_codes(sensor)) << sensor;
    }
}

TEST(Sensors, DefaultCodesLieOnTheSliders) {
    for (const std::int32_t sensor : {kSensor3050, kSensor3212, kSensor3325, kSensor3327}) {
        ASSERT_TRUE(is_known_sensor(sensor));
        const StageRange range = stage_range(sensor).value();
        for (const std::int32_t code : default_stage_codes(sensor)) {
            EXPECT_GE(code, range.min_code) << sensor;
            EXPECT_LE(code, range.max_code) << sensor;
        }
    }
    EXPECT_EQ(StageCodes{}, default_stage_codes(kSensor5050)) << "the 5050 has no defaults";
}

} // namespace
} // namespace zemrak
