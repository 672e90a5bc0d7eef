#pragma once
// The evdev events of one input device turned into the messages of zemrak_hook.h. Plain code
// without libevdev or udev, so that the tests can link it.

#include <cstdint>
#include <vector>

namespace zemrak::hook {

// One message for a hook's notify function.
struct HookMessage {
    unsigned message = 0; // kKeyboardMessage or kMouseMessage
    unsigned long wparam = 0;
    long lparam = 0;

    friend bool operator==(const HookMessage&, const HookMessage&) = default;
};

// Counts the wheel notches of one device. A device that reports REL_WHEEL_HI_RES (120 units a
// notch; a high-resolution wheel gives fractions of it) also reports REL_WHEEL for the same
// turn, so for it only the high-resolution axis is counted and REL_WHEEL is ignored; a device
// without it is counted from REL_WHEEL, one notch a unit. A partial turn is kept until the
// next event of the same direction; a turn the other way starts again from zero.
class WheelNotches {
public:
    explicit WheelNotches(bool hi_res) : m_hi_res(hi_res) {}

    // The notches (each direction counts) completed by one EV_REL event of axis `code`; 0 for
    // an axis other than the vertical wheel.
    [[nodiscard]] std::uint32_t add(std::uint16_t code, std::int32_t value);

private:
    bool m_hi_res;
    std::int64_t m_partial = 0; // 1/120 notch, less than one notch either way
};

// The messages of one device's events.
class EventTranslator {
public:
    explicit EventTranslator(bool hi_res_wheel) : m_wheel(hi_res_wheel) {}

    // Appends to `out` the messages of one event (type EV_KEY or EV_REL; others give none):
    // a key with a virtual key gives a key down for value 1 and 2 (auto-repeat), a key up for
    // 0; the five mouse buttons give their down and up messages (a repeated button gives
    // nothing); each wheel notch gives one wheel message.
    void translate(std::uint16_t type, std::uint16_t code, std::int32_t value,
                   std::vector<HookMessage>& out);

private:
    WheelNotches m_wheel;
};

} // namespace zemrak::hook
