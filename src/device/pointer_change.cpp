#include "device/pointer_change.h"

#include <algorithm>

namespace zemrak {
namespace {

std::uint32_t wheel_setting(const ConfigBlock& block) {
    if (block.page_scroll() != 0) {
        return kScrollOnePage;
    }
    return static_cast<std::uint32_t>(std::max(block.wheel_lines(), 0));
}

} // namespace

PointerSettingsChange pointer_settings_change(const ConfigBlock& current,
                                              const ConfigBlock& last_applied) {
    PointerSettingsChange change;
    if (current.double_click_level() != last_applied.double_click_level()) {
        change.double_click_ms = double_click_time_ms(current.double_click_level());
    }
    if (current.pointer_speed() != last_applied.pointer_speed() ||
        current.enhance_precision() != last_applied.enhance_precision()) {
        change.motion = PointerMotion{current.enhance_precision() != 0,
                                      system_pointer_speed(current.pointer_speed())};
    }
    if (current.wheel_lines() != last_applied.wheel_lines() ||
        current.page_scroll() != last_applied.page_scroll()) {
        change.wheel_scroll = wheel_setting(current);
    }
    return change;
}

} // namespace zemrak
