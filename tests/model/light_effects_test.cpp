#include "model/device_params.h"
#include "model/light_effects.h"

#include <string>
#include <vector>

#include <gtest/gtest.h>

namespace zemrak {
namespace {

std::vector<int> modes_where(bool (*test)(const LightEffect&)) {
    std::vector<int> modes;
    for (const LightEffect& effect : light_effects()) {
        if (test(effect)) {
            modes.push_back(effect.mode);
        }
    }
    return modes;
}

TEST(LightEffects, TwelveEffectsFoundByTheirModeAndNamedAfterTheirOption) {
    ASSERT_EQ(kLightModeCount, light_effects().size());
    for (std::int32_t mode = 0; mode < 12; ++mode) {
        const LightEffect* effect = find_light_effect(mode);
        ASSERT_NE(nullptr, effect) << mode;
        EXPECT_EQ(mode, effect->mode);
        // The options are numbered from 1.
        const std::string number = std::to_string(mode + 1);
        EXPECT_EQ("light_mode_option_" + number + "_text", effect->name_key);
        EXPECT_EQ("light_mode_desc_" + number + "_text", effect->description_key);
    }
    for (const std::int32_t mode : {-1, 12, 255}) {
        EXPECT_EQ(nullptr, find_light_effect(mode)) << mode;
    }
}

TEST(LightEffects, OnlyTheFourMiddleEffectsReadTheTimingTableEachInItsOwnRow) {
    EXPECT_EQ((std::vector<int>{2, 3, 4, 5}),
              modes_where([](const LightEffect& e) { return e.timing_row.has_value(); }));
    EXPECT_EQ(0u, find_light_effect(kLightBreathing)->timing_row);
    EXPECT_EQ(0u, find_light_effect(kLightPulse)->timing_row) << "shares the breathing row";
    EXPECT_EQ(3u, find_light_effect(kLightSpectrum)->timing_row);
    EXPECT_EQ(6u, find_light_effect(kLightWave)->timing_row);
    for (const LightEffect& effect : light_effects()) {
        if (effect.timing_row) {
            EXPECT_TRUE(effect.parameters.speed) << "a timed effect offers its speed";
            EXPECT_LE(*effect.timing_row + kTimingRowLength, DeviceParams::kLightTimingEntries);
        }
    }
}

TEST(LightEffects, EffectsWithoutChosenColoursSayWhereTheirColoursComeFrom) {
    EXPECT_EQ((std::vector<int>{1, 2, 11}), modes_where([](const LightEffect& e) {
                  return e.colour_hint_key == "light_colours_stage_text";
              }));
    EXPECT_EQ((std::vector<int>{4, 5, 10}), modes_where([](const LightEffect& e) {
                  return e.colour_hint_key == "light_colours_spectrum_text";
              }));
    // A hint stands in for the colour group, never beside it.
    EXPECT_TRUE(modes_where([](const LightEffect& e) {
                    return e.parameters.colour && !e.colour_hint_key.empty();
                }).empty());
    EXPECT_EQ((std::vector<int>{0}),
              modes_where([](const LightEffect& e) { return e.parameters == LightParameters{}; }))
        << "only off uses no parameter";
    EXPECT_EQ((std::vector<int>{6, 7}),
              modes_where([](const LightEffect& e) { return e.parameters.length; }));
}

} // namespace
} // namespace zemrak
