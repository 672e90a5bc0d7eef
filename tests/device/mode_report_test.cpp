#include "device/mode_report.h"
#include "model/config_defaults.h"
#include "model/sensors.h"

#include <array>
#include <cstdint>
#include <limits>
#include <span>

#include <gtest/gtest.h>

namespace zemrak {
namespace {

// Light1 = 1,2,3, Light2 = 4,5,6, Light3 = 7,8,9.
constexpr std::array<std::uint8_t, DeviceParams::kLightTimingEntries> kTiming = {1, 2, 3, 4, 5,
                                                                                 6, 7, 8, 9};

DeviceParams params_with_timing() {
    DeviceParams params;
    params.light_timing = kTiming;
    return params;
}

ConfigBlock default_profile() {
    ConfigBlock block;
    fill_defaults(block, kSensor3050);
    return block;
}

TEST(ModeReport, DefaultProfileTakesTheFirstValueOfLight3) {
    const CommandReport expected = {0x01, 0xAA, 0x04, 0x0A, 0x07, 0x00, 0x02, 0x01};
    EXPECT_EQ(expected, encode_mode_report(default_profile(), params_with_timing()));
}

TEST(ModeReport, CarriesLowBytesAndTheActiveStagePlusOne) {
    ConfigBlock block = default_profile();
    block.set_light_mode(2);
    block.set_light_brightness(0x12C);
    block.set_light_frequency(1);
    block.set_polling_rate_index(0);
    block.set_active_stage(7);
    const CommandReport expected = {0x01, 0xAA, 0x02, 0x2C, 0x02, 0x00, 0x08, 0x08};
    EXPECT_EQ(expected, encode_mode_report(block, params_with_timing()));
}

TEST(ModeReport, EffectsWithoutTimingSendZeroWhateverTheTableHolds) {
    ConfigBlock block = default_profile();
    for (const std::int32_t mode : {0, 1, 6, 11, -1}) {
        block.set_light_mode(mode);
        block.set_light_frequency(0);
        EXPECT_EQ(0, encode_mode_report(block, params_with_timing())[4]) << "mode " << mode;
    }
}

TEST(ModeReport, TimingEntryStartsAtTheEffectsTriple) {
    EXPECT_EQ(1, light_timing_byte(2, 0, kTiming));
    EXPECT_EQ(3, light_timing_byte(3, 2, kTiming));
    EXPECT_EQ(4, light_timing_byte(4, 0, kTiming));
    EXPECT_EQ(7, light_timing_byte(5, 0, kTiming));
    EXPECT_EQ(9, light_timing_byte(5, 2, kTiming));
    // Entries of the next effect's triple are reachable with a larger frequency.
    EXPECT_EQ(6, light_timing_byte(2, 5, kTiming));
}

TEST(ModeReport, TimingEntryOutsideTheTableSendsZero) {
    // The default frequency 3 in effect 5 would read entry 9, one past the table; here the
    // byte after the table is non-zero so that reading it would show.
    const std::array<std::uint8_t, 10> followed = {1, 2, 3, 4, 5, 6, 7, 8, 9, 0x77};
    EXPECT_EQ(0, light_timing_byte(5, 3, std::span(followed).first(9)));
    EXPECT_EQ(0, light_timing_byte(2, 9, kTiming));
    EXPECT_EQ(0, light_timing_byte(4, -4, kTiming));
    EXPECT_EQ(0, light_timing_byte(5, std::numeric_limits<std::int32_t>::max(), kTiming));
    EXPECT_EQ(0, light_timing_byte(2, std::numeric_limits<std::int32_t>::min(), kTiming));

    ConfigBlock block = default_profile();
    block.set_light_mode(5);
    EXPECT_EQ(0, encode_mode_report(block, params_with_timing())[4]);
}

TEST(ModeReport, ReportIntervalFollowsThePollingRate) {
    EXPECT_EQ(8, report_interval_ms(0));
    EXPECT_EQ(4, report_interval_ms(1));
    EXPECT_EQ(2, report_interval_ms(2));
    EXPECT_EQ(1, report_interval_ms(3));
    EXPECT_EQ(1, report_interval_ms(4));
    EXPECT_EQ(1, report_interval_ms(-1));

    ConfigBlock block = default_profile();
    block.set_polling_rate_index(3);
    EXPECT_EQ(1, encode_mode_report(block, params_with_timing())[6]);
    block.set_polling_rate_index(0);
    EXPECT_EQ(8, encode_mode_report(block, params_with_timing())[6]);
}

} // namespace
} // namespace zemrak
