#include "input_events.h"

#include "platform/evdev_keys.h"

#include <linux/input-event-codes.h>

namespace zemrak::hook {
namespace {

constexpr std::int64_t kHiResPerNotch = 120;

} // namespace

std::uint32_t WheelNotches::add(std::uint16_t code, std::int32_t value) {
    if (code != (m_hi_res ? REL_WHEEL_HI_RES : REL_WHEEL) || value == 0) {
        return 0;
    }
    if (!m_hi_res) {
        return static_cast<std::uint32_t>(value < 0 ? -static_cast<std::int64_t>(value) : value);
    }
    if ((m_partial < 0 && value > 0) || (m_partial > 0 && value < 0)) {
        m_partial = 0;
    }
    m_partial += value;
    const std::int64_t notches = m_partial / kHiResPerNotch;
    m_partial -= notches * kHiResPerNotch;
    return static_cast<std::uint32_t>(notches < 0 ? -notches : notches);
}

void EventTranslator::translate(std::uint16_t type, std::uint16_t code, std::int32_t value,
                                std::vector<HookMessage>& out) {
    if (type == EV_REL) {
        for (std::uint32_t notch = m_wheel.add(code, value); notch > 0; --notch) {
            out.push_back({kMouseMessage, kWheel, 0});
        }
        return;
    }
    if (type != EV_KEY || value < 0 || value > 2) {
        return;
    }
    if (const auto button = mouse_button_message(code, value != 0)) {
        if (value != 2) {
            out.push_back({kMouseMessage, button->message, button->detail});
        }
    } else if (const auto virtual_key = virtual_key_from_evdev(code)) {
        out.push_back({kKeyboardMessage, *virtual_key, value == 0 ? 1L : 0L});
    }
}

} // namespace zemrak::hook
