#include "model/device_params.h"
#include "test_support/temp_dir.h"

#include <algorithm>
#include <string>

#include <gtest/gtest.h>

namespace zemrak {
namespace {

DeviceParams params_of(const std::string& text) {
    return device_params_from(IniFile::parse(text));
}

bool all_zero(auto first, auto last) {
    return std::all_of(first, last, [](std::uint8_t b) { return b == 0; });
}

TEST(DeviceParamsTest, MissingFileGivesTheDefaults) {
    const test::TempDir dir;
    const DeviceParams params = read_device_params(dir / "Data.ini");
    EXPECT_EQ(params.vendor_id, 0x04D9u);
    EXPECT_EQ(params.product_id, 0xA09Fu);
    EXPECT_EQ(params.stage_rows, -1);
    EXPECT_EQ(params.sensor, -1);
    EXPECT_TRUE(all_zero(params.sensitivity_template.begin(), params.sensitivity_template.end()));
    EXPECT_TRUE(all_zero(params.colour_template.begin(), params.colour_template.end()));
    EXPECT_TRUE(all_zero(params.light_timing.begin(), params.light_timing.end()));
    EXPECT_FALSE(params.password.has_value());
}

TEST(DeviceParamsTest, ReadsIdentityAndCountsFromTheDefaultSection) {
    const DeviceParams shipped = params_of("[Default]\nVID=04d9\nPID=a09f\nDPI=6\nSensor=3050\n");
    EXPECT_EQ(shipped.vendor_id, 0x04D9u);
    EXPECT_EQ(shipped.product_id, 0xA09Fu);
    EXPECT_EQ(shipped.stage_rows, 6);
    EXPECT_EQ(shipped.sensor, 3050);

    // Names in any case; an identity that does not parse keeps the default, while integer
    // text that is not a number reads as 0 by the platform's rule.
    const DeviceParams other = params_of("[DEFAULT]\nvid=1A2B\npid=zz\ndpi=abc\nSENSOR=\n");
    EXPECT_EQ(other.vendor_id, 0x1A2Bu);
    EXPECT_EQ(other.product_id, 0xA09Fu);
    EXPECT_EQ(other.stage_rows, 0);
    EXPECT_EQ(other.sensor, -1);
}

TEST(DeviceParamsTest, TemplateRowsFillTheirSixteenBytes) {
    const DeviceParams params =
        params_of("[block_4]\n1=01,02,03,04,05,06,07,08,09,0a,0b,0c,0d,0e,0f,10\n"
                  "[BLOCK_5]\n0=aa,bb,zz,01,02,03,04,05,06,07,08,09,0a,0b,0c,0d\n"
                  "3=ff,ff,ff,ff,ff,ff,ff,ff,ff,ff,ff,ff,ff,ff,ff,ee\n");
    const auto& sens = params.sensitivity_template;
    EXPECT_TRUE(all_zero(sens.begin(), sens.begin() + 16));
    for (std::size_t i = 0; i < 16; ++i) {
        EXPECT_EQ(sens[16 + i], i + 1) << i;
    }
    EXPECT_TRUE(all_zero(sens.begin() + 32, sens.end()));

    const auto& colour = params.colour_template;
    EXPECT_EQ(colour[0], 0xAA);
    EXPECT_EQ(colour[1], 0xBB);
    EXPECT_TRUE(all_zero(colour.begin() + 2, colour.begin() + 48));
    EXPECT_EQ(colour[48], 0xFF);
    EXPECT_EQ(colour[63], 0xEE);
}

TEST(DeviceParamsTest, LightTimingKeepsTheLowByteOfEachNumber) {
    const DeviceParams params = params_of("[Default]\nLight1=300,0,0\nLight2=1,2,3\n"
                                          "Light3=-1,x,9\n");
    const std::array<std::uint8_t, 9> expected = {44, 0, 0, 1, 2, 3, 255, 0, 0};
    EXPECT_EQ(params.light_timing, expected);
}

TEST(DeviceParamsTest, PasswordIsKeptOnlyWhenSixUnitsLong) {
    using Bytes = std::array<std::uint8_t, 6>;
    EXPECT_EQ(params_of("[Default]\nPassword=abc123").password,
              (Bytes{'a', 'b', 'c', '1', '2', '3'}));
    // U+20AC keeps its low byte; U+1F600 is a surrogate pair D83D DE00, two units.
    EXPECT_EQ(params_of("[Default]\nPassword=\xE2\x82\xAC\xF0\x9F\x98\x80xyz").password,
              (Bytes{0xAC, 0x3D, 0x00, 'x', 'y', 'z'}));
    EXPECT_FALSE(params_of("[Default]\nPassword=abc12").password.has_value());
    EXPECT_FALSE(params_of("[Default]\nPassword=abc1234").password.has_value());
    EXPECT_FALSE(params_of("[Default]\nPassword=").password.has_value());
}

TEST(DeviceParamsTest, ShippedSettingsDescribeTheDefaultModel) {
    const DeviceParams params =
        read_device_params(std::string(ZEMRAK_SOURCE_DIR) + "/res/Data.ini");
    EXPECT_EQ(params.vendor_id, 0x04D9u);
    EXPECT_EQ(params.product_id, 0xA09Fu);
    EXPECT_EQ(params.stage_rows, 8);
    EXPECT_EQ(params.sensor, 3327);
    EXPECT_FALSE(params.password.has_value());
    EXPECT_TRUE(all_zero(params.sensitivity_template.begin(), params.sensitivity_template.end()));
    EXPECT_TRUE(all_zero(params.colour_template.begin(), params.colour_template.end()));
    EXPECT_TRUE(all_zero(params.light_timing.begin(), params.light_timing.end()));
}

} // namespace
} // namespace zemrak
