#pragma once
// The desktop pointer settings the program sets, and where they are written.

#include <cstdint>
#include <optional>
#include <string>

namespace zemrak {

// Pointer acceleration and speed, always set together.
struct PointerMotion {
    // On: the desktop accelerates fast movements. Off: the pointer moves at a constant ratio.
    bool enhance_precision = false;
    // Desktop pointer speed 1..20; 10 is the desktop's neutral speed.
    std::int32_t speed = 10;

    friend bool operator==(const PointerMotion&, const PointerMotion&) = default;
};

// Wheel setting meaning "scroll one page per notch" instead of a number of lines.
inline constexpr std::uint32_t kScrollOnePage = 0xFFFFFFFF;

// Shortest and longest double-click time the program ever sets, in milliseconds. Below 100 ms
// no one can double-click, so high levels stop there instead of reaching zero or below.
inline constexpr std::uint32_t kMinDoubleClickMs = 100;
inline constexpr std::uint32_t kMaxDoubleClickMs = 5000;

// The desktop settings one apply must change; an absent member stays as it is.
struct PointerSettingsChange {
    std::optional<std::uint32_t> double_click_ms;
    std::optional<PointerMotion> motion;
    std::optional<std::uint32_t> wheel_scroll; // lines per notch, or kScrollOnePage

    [[nodiscard]] bool empty() const;
};

// Double-click time of a double-click speed level: 900 - 70 * level ms, so level 5 gives
// 550 ms. Results outside kMinDoubleClickMs..kMaxDoubleClickMs are clamped to that range:
// every level from 12 up gives 100 ms, and very low (negative) levels give at most 5000 ms.
[[nodiscard]] std::uint32_t double_click_time_ms(std::int32_t level);

// Desktop pointer speed 1..20 of a pointer speed level 1..11: 1, 2, 4, 6, ... 20, so level 6
// gives 10. Any level outside 1..11 gives the neutral speed 10.
[[nodiscard]] std::int32_t system_pointer_speed(std::int32_t level);

// Which of the three pointer settings a backend applies on the running desktop. Each member is
// empty when the setting is applied, or else the language key of a one-line reason why it is
// left alone (such as "pointer_other_desktop_text").
struct PointerSupport {
    std::string double_click;
    std::string motion;
    std::string wheel;

    friend bool operator==(const PointerSupport&, const PointerSupport&) = default;
};

// Reasons a setting is left alone.
inline constexpr const char* kPointerOtherDesktop = "pointer_other_desktop_text";
inline constexpr const char* kPointerNoWheelSetting = "pointer_no_wheel_setting_text";
inline constexpr const char* kPointerNoSuchSetting = "pointer_no_such_setting_text";
inline constexpr const char* kPointerNoCompositor = "pointer_no_compositor_text";

// Where pointer settings are written: one implementation per desktop. Failures are not
// reported; a setting the desktop does not have is left alone, and support() says so.
class PointerSettingsBackend {
public:
    virtual ~PointerSettingsBackend() = default;

    // What this backend applies, decided when it was made; the same on every call.
    [[nodiscard]] virtual PointerSupport support() const = 0;

    // Longest time between the clicks of a double-click, in milliseconds.
    virtual void set_double_click_time(std::uint32_t ms) = 0;
    // Acceleration on or off and the pointer speed (1..20).
    virtual void set_pointer_motion(const PointerMotion& motion) = 0;
    // Lines scrolled per wheel notch, or kScrollOnePage.
    virtual void set_wheel_scroll(std::uint32_t lines_or_page) = 0;
};

// Writes what `change` holds through `backend`: double-click time first, then pointer motion,
// then the wheel, skipping absent members.
void apply_pointer_settings(const PointerSettingsChange& change, PointerSettingsBackend& backend);

} // namespace zemrak
