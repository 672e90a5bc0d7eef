#pragma once
// What a button can do: every function code with the menu item that assigns it, the text
// key that labels it on the button page and the two bytes of the button map that tell the
// mouse about it. The menus, the labels and the encoder all read this one table.

#include <cstddef>
#include <cstdint>
#include <span>
#include <string_view>

namespace zemrak {

// Codes the program gives a meaning beyond the table's.
inline constexpr std::uint8_t kClickFunction = 1;
// The label and the map key byte come from the record's shortcut.
inline constexpr std::uint8_t kShortcutFunction = 21;
// The label names the record's macro; the map bytes carry its repeat mode and page.
inline constexpr std::uint8_t kMacroFunction = 22;
inline constexpr std::uint8_t kSendGunFunction = 25;
// Set on an office-mode button, it is set on the same button in game mode as well.
inline constexpr std::uint8_t kModeSwitchFunction = 26;
// The label names the record's recoil pattern.
inline constexpr std::uint8_t kRecoilFunction = 121;

struct ButtonFunction {
    std::uint8_t code = 0;
    // The menu item that assigns the code; empty for a code the menus never offer.
    std::string_view item;
    // The text key of its label; empty where the label is composed from the record or where
    // no menu offers the code (the page then shows it as a click).
    std::string_view label_key;
    // The label is made from the record (shortcut keys, macro or recoil names).
    bool composed = false;
    // The button map entry: key byte and kind byte.
    std::uint8_t map_key = 0;
    std::uint8_t map_kind = 0;
};

struct ButtonMapBytes {
    std::uint8_t key = 0;
    std::uint8_t kind = 0;

    friend bool operator==(const ButtonMapBytes&, const ButtonMapBytes&) = default;
};

// Every known function, in the order of the codes.
[[nodiscard]] std::span<const ButtonFunction> button_functions();

// The entry of `code`, or null for a code that is neither offered nor understood by the mouse.
[[nodiscard]] const ButtonFunction* find_button_function(std::uint8_t code);

// The code of a menu item, its name compared without regard to ASCII case; any name no
// function carries assigns a click.
[[nodiscard]] std::uint8_t function_code_of(std::string_view item);

// The label key of a code: "click_text" for a code without a label of its own, empty for a
// composed label.
[[nodiscard]] std::string_view function_label_key(std::uint8_t code);

// The button map entry of a code; 00 00 for any code the mouse gives no meaning. Shortcut and
// macro buttons get their bytes from the record instead (see device/button_map.h).
[[nodiscard]] ButtonMapBytes function_map_bytes(std::uint8_t code);

// Default function code of each of the 32 button records.
[[nodiscard]] std::uint8_t default_function_code(std::size_t record);
// Default function code B of each record: 0 for records 0..19, then the codes of 0..11.
[[nodiscard]] std::uint8_t default_function_code_b(std::size_t record);

} // namespace zemrak
