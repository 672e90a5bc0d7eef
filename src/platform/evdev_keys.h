#pragma once
// Linux input codes in the form the key tables and the recorder take: the virtual-key codes a
// US keyboard gives under Windows, and the mouse message numbers. Both the input library and
// the capture inside the program's own windows (Qt's native scan code is the evdev code + 8)
// go through here, so a key reads the same whichever source saw it.

#include <cstdint>
#include <optional>

namespace zemrak {

// Messages of a captured event.
inline constexpr unsigned kKeyboardMessage = 1280;
inline constexpr unsigned kMouseMessage = 1281;

// Mouse message numbers (wparam of kMouseMessage).
inline constexpr unsigned long kLeftDown = 513;
inline constexpr unsigned long kLeftUp = 514;
inline constexpr unsigned long kRightDown = 516;
inline constexpr unsigned long kRightUp = 517;
inline constexpr unsigned long kMiddleDown = 519;
inline constexpr unsigned long kMiddleUp = 520;
inline constexpr unsigned long kWheel = 522;
inline constexpr unsigned long kSideDown = 523;
inline constexpr unsigned long kSideUp = 524;
// lparam of the side-button messages.
inline constexpr long kBackButton = 1;
inline constexpr long kForwardButton = 2;

// The virtual-key code of the physical key with this evdev code (KEY_*), as a US keyboard
// gives it; none for a key the program has no use for.
[[nodiscard]] std::optional<std::uint32_t> virtual_key_from_evdev(std::uint16_t code);

// A mouse button's message and detail.
struct MouseButtonMessage {
    unsigned long message = 0;
    long detail = 0;
};

// The message of a mouse button (BTN_LEFT, BTN_RIGHT, BTN_MIDDLE, BTN_SIDE, BTN_EXTRA) going
// down (`pressed`) or up; none for other buttons.
[[nodiscard]] std::optional<MouseButtonMessage> mouse_button_message(std::uint16_t code,
                                                                     bool pressed);

} // namespace zemrak
