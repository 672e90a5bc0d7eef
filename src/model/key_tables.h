#pragma once
// Keys are stored as USB HID keyboard usage codes (4 = A ... 231 = Right GUI), plus codes of our
// own for the mouse: 240 left, 241 right, 242 middle, 243 back and 244 forward button, 247 (no
// name), 248 wheel up, 249 wheel down. These tables connect the codes to platform virtual keys,
// as the shortcut capture and the macro recorder receive them, and to the keys of their display
// names in the language file.

#include <cstdint>
#include <span>
#include <string_view>

namespace zemrak {

// One row of the virtual-key table. Scan codes are PC set 1; 0 means the row has none.
struct VirtualKeyRow {
    std::uint32_t virtual_key;
    std::uint32_t usage;
    std::uint32_t scan_code;
};

// The 111 rows, in their fixed order: lookups take the first matching row.
[[nodiscard]] std::span<const VirtualKeyRow> virtual_key_table();

// Platform keyboard layout: virtual key -> PC set-1 scan code, 0 when the layout has none.
class KeyboardLayout {
public:
    virtual ~KeyboardLayout() = default;
    [[nodiscard]] virtual std::uint32_t scan_code(std::uint32_t virtual_key) const = 0;
};

// The layout whose scan codes are the table's own, that of a US keyboard. Virtual keys without a
// row, or whose row has no scan code, give 0.
class TableKeyboardLayout final : public KeyboardLayout {
public:
    [[nodiscard]] std::uint32_t scan_code(std::uint32_t virtual_key) const override;
};

struct UsageLookup {
    bool found = false;
    std::uint8_t usage = 0;
};

// The usage code of a virtual key. For the main block (usages 4..69: letters, digits,
// punctuation, Caps Lock, F1..F12) the layout is asked where the key sits and the usage of that
// physical position is taken, so that a stored key follows the key position rather than the
// character the active layout prints on it. A virtual key without a row gives found = false with
// usage 0.
[[nodiscard]] UsageLookup usage_from_virtual_key(std::uint32_t virtual_key,
                                                 const KeyboardLayout& layout);

// The language key under which the name of a usage code is found ("key_A", "L_Button", ...), or
// an empty view for a code without a name, including every code above 255.
[[nodiscard]] std::string_view key_name_key(std::uint32_t usage);

} // namespace zemrak
