#include "platform/pointer_settings.h"

#include <algorithm>
#include <array>

namespace zemrak {
namespace {

constexpr std::int32_t kNeutralSpeed = 10;

// Desktop speed of pointer speed levels 1..11.
constexpr std::array<std::int32_t, 11> kSpeedOfLevel{1, 2, 4, 6, 8, 10, 12, 14, 16, 18, 20};

} // namespace

bool PointerSettingsChange::empty() const {
    return !double_click_ms && !motion && !wheel_scroll;
}

std::uint32_t double_click_time_ms(std::int32_t level) {
    // 64-bit so that no stored level can overflow the formula.
    const std::int64_t ms = 900 - 70 * static_cast<std::int64_t>(level);
    return static_cast<std::uint32_t>(
        std::clamp<std::int64_t>(ms, kMinDoubleClickMs, kMaxDoubleClickMs));
}

std::int32_t system_pointer_speed(std::int32_t level) {
    if (level < 1 || level > static_cast<std::int32_t>(kSpeedOfLevel.size())) {
        return kNeutralSpeed;
    }
    return kSpeedOfLevel[static_cast<std::size_t>(level - 1)];
}

void apply_pointer_settings(const PointerSettingsChange& change, PointerSettingsBackend& backend) {
    if (change.double_click_ms) {
        backend.set_double_click_time(*change.double_click_ms);
    }
    if (change.motion) {
        backend.set_pointer_motion(*change.motion);
    }
    if (change.wheel_scroll) {
        backend.set_wheel_scroll(*change.wheel_scroll);
    }
}

} // namespace zemrak
