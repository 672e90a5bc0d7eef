#pragma once
// The twelve lighting effects by the mode number the mouse receives: their texts, which of
// the light page's parameters each one uses, where its colours come from, and where its
// speed is looked up in the timing table of the device settings.

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string_view>

namespace zemrak {

enum LightMode : std::int32_t {
    kLightOff = 0,
    kLightStageColour,
    kLightBreathing,
    kLightPulse,
    kLightSpectrum,
    kLightWave,
    kLightComet,
    kLightMarquee,
    kLightStatic,
    kLightColourCycle,
    kLightStrobe,
    kLightReactive,
};

inline constexpr std::size_t kLightModeCount = 12;

// Each timed effect owns a row of this many entries in the timing table; its speed picks one.
inline constexpr std::size_t kTimingRowLength = 3;

// The parameter groups of the light page an effect uses.
struct LightParameters {
    bool brightness = false;
    bool speed = false;
    bool colour = false; // the fixed colour or the eight cycle colours
    bool length = false;

    friend bool operator==(const LightParameters&, const LightParameters&) = default;
};

struct LightEffect {
    LightMode mode = kLightOff;
    std::string_view name_key;
    std::string_view description_key;
    LightParameters parameters;
    // For an effect whose colours are not chosen on the page: the text that says where they
    // come from. Empty otherwise.
    std::string_view colour_hint_key;
    // Where the effect's row starts in the timing table; none when no report carries its
    // speed (colour cycle and strobe show a speed, but it only stays in the profile).
    std::optional<std::size_t> timing_row;
};

// All effects, in mode order.
[[nodiscard]] std::span<const LightEffect> light_effects();

// The effect of a stored mode; null for a mode no effect has.
[[nodiscard]] const LightEffect* find_light_effect(std::int32_t mode);

// The speed step, 0 (slow) to kTimingRowLength - 1 (fast), that a stored speed stands for:
// a value outside the row (the factory profile stores 3) counts as the nearest end, so the
// mouse gets the speed the light page shows.
[[nodiscard]] std::size_t speed_step(std::int32_t frequency);

} // namespace zemrak
