#include "model/light_effects.h"

#include <algorithm>
#include <array>

namespace zemrak {
namespace {

constexpr std::string_view kStageColours = "light_colours_stage_text";
constexpr std::string_view kSpectrumColours = "light_colours_spectrum_text";

// Effects 2 and 3 share the first row of the timing table.
constexpr auto kEffects = std::to_array<LightEffect>({
    {kLightOff, "light_mode_option_1_text", "light_mode_desc_1_text", {}, {}, {}},
    {kLightStageColour,
     "light_mode_option_2_text",
     "light_mode_desc_2_text",
     {.brightness = true},
     kStageColours,
     {}},
    {kLightBreathing,
     "light_mode_option_3_text",
     "light_mode_desc_3_text",
     {.speed = true},
     kStageColours,
     0},
    {kLightPulse,
     "light_mode_option_4_text",
     "light_mode_desc_4_text",
     {.speed = true, .colour = true},
     {},
     0},
    {kLightSpectrum,
     "light_mode_option_5_text",
     "light_mode_desc_5_text",
     {.brightness = true, .speed = true},
     kSpectrumColours,
     3},
    {kLightWave,
     "light_mode_option_6_text",
     "light_mode_desc_6_text",
     {.brightness = true, .speed = true},
     kSpectrumColours,
     6},
    {kLightComet,
     "light_mode_option_7_text",
     "light_mode_desc_7_text",
     {.colour = true, .length = true},
     {},
     {}},
    {kLightMarquee,
     "light_mode_option_8_text",
     "light_mode_desc_8_text",
     {.colour = true, .length = true},
     {},
     {}},
    {kLightStatic,
     "light_mode_option_9_text",
     "light_mode_desc_9_text",
     {.brightness = true, .colour = true},
     {},
     {}},
    {kLightColourCycle,
     "light_mode_option_10_text",
     "light_mode_desc_10_text",
     {.brightness = true, .speed = true, .colour = true},
     {},
     {}},
    {kLightStrobe,
     "light_mode_option_11_text",
     "light_mode_desc_11_text",
     {.brightness = true, .speed = true},
     kSpectrumColours,
     {}},
    {kLightReactive,
     "light_mode_option_12_text",
     "light_mode_desc_12_text",
     {.brightness = true},
     kStageColours,
     {}},
});
static_assert(kEffects.size() == kLightModeCount);

constexpr bool in_mode_order() {
    for (std::size_t i = 0; i < kEffects.size(); ++i) {
        if (static_cast<std::size_t>(kEffects[i].mode) != i) {
            return false;
        }
    }
    return true;
}
static_assert(in_mode_order());

} // namespace

std::span<const LightEffect> light_effects() {
    return kEffects;
}

const LightEffect* find_light_effect(std::int32_t mode) {
    if (mode < 0 || static_cast<std::size_t>(mode) >= kEffects.size()) {
        return nullptr;
    }
    return &kEffects[static_cast<std::size_t>(mode)];
}

std::size_t speed_step(std::int32_t frequency) {
    constexpr auto kFastest = static_cast<std::int32_t>(kTimingRowLength) - 1;
    return static_cast<std::size_t>(std::clamp(frequency, 0, kFastest));
}

} // namespace zemrak
