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

TEST(ModeReport, DefaultProfileTakesTheFastEntryOfItsEffect) {
    // Effect 4 at the factory speed 3, which the light page shows as fast: the last value of
    // Light2.
    const CommandReport expected = {0x01, 0xAA, 0x04, 0x0A, 0x06, 0x00, 0x02, 0x01};
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
}

TEST(ModeReport, ASpeedOutsideTheRowSendsTheRowsNearestEnd) {
    // What the speed slider shows: the factory speed 3 is shown as fast, and the mouse must
    // get the effect's own fast entry, not the first entry of the next effect's row.
    EXPECT_EQ(3, light_timing_byte(2, 5, kTiming));
    EXPECT_EQ(6, light_timing_byte(4, 3, kTiming));
    EXPECT_EQ(9, light_timing_byte(5, 3, kTiming));
    EXPECT_EQ(4, light_timing_byte(4, -4, kTiming));
    EXPECT_EQ(9, light_timing_byte(5, std::numeric_limits<std::int32_t>::max(), kTiming));
    EXPECT_EQ(1, light_timing_byte(2, std::numeric_limits<std::int32_t>::min(), kTiming));
}

TEST(ModeReport, TimingEntryOutsideAShortTableSendsZero) {
    // A Data.ini with a short table; the byte after it is non-zero so that reading it would
    // show.
    const std::array<std::uint8_t, 10> followed = {1, 2, 3, 4, 5, 6, 7, 8, 9, 0x77};
    EXPECT_EQ(0, light_timing_byte(5, 2, std::span(followed).first(8)));
    EXPECT_EQ(8, light_timing_byte(5, 1, std::span(followed).first(8)));
    EXPECT_EQ(0, light_timing_byte(2, 0, std::span(followed).first(0)));
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
