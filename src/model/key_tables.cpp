#include "model/key_tables.h"

#include <array>
#include <cstddef>

namespace zemrak {
namespace {

// The order matters: usage_from_virtual_key() takes the first row that matches.
constexpr std::array<VirtualKeyRow, 111> kVirtualKeys{{
    // Letters A..Z.
    {0x41, 4, 0x1E},
    {0x42, 5, 0x30},
    {0x43, 6, 0x2E},
    {0x44, 7, 0x20},
    {0x45, 8, 0x12},
    {0x46, 9, 0x21},
    {0x47, 10, 0x22},
    {0x48, 11, 0x23},
    {0x49, 12, 0x17},
    {0x4A, 13, 0x24},
    {0x4B, 14, 0x25},
    {0x4C, 15, 0x26},
    {0x4D, 16, 0x32},
    {0x4E, 17, 0x31},
    {0x4F, 18, 0x18},
    {0x50, 19, 0x19},
    {0x51, 20, 0x10},
    {0x52, 21, 0x13},
    {0x53, 22, 0x1F},
    {0x54, 23, 0x14},
    {0x55, 24, 0x16},
    {0x56, 25, 0x2F},
    {0x57, 26, 0x11},
    {0x58, 27, 0x2D},
    {0x59, 28, 0x15},
    {0x5A, 29, 0x2C},
    // Digits 1..9, then 0.
    {0x31, 30, 0x02},
    {0x32, 31, 0x03},
    {0x33, 32, 0x04},
    {0x34, 33, 0x05},
    {0x35, 34, 0x06},
    {0x36, 35, 0x07},
    {0x37, 36, 0x08},
    {0x38, 37, 0x09},
    {0x39, 38, 0x0A},
    {0x30, 39, 0x0B},
    // Enter, Esc, Backspace, Tab, Space, main-block punctuation, Caps Lock.
    {0x0D, 40, 0x1C},
    {0x1B, 41, 0x01},
    {0x08, 42, 0x0E},
    {0x09, 43, 0x0F},
    {0x20, 44, 0x39},
    {0xBD, 45, 0x0C},
    {0xBB, 46, 0x0D},
    {0xDB, 47, 0x1A},
    {0xDD, 48, 0x1B},
    {0xDC, 49, 0x2B},
    {0xBA, 51, 0x27},
    {0xDE, 52, 0x28},
    {0xC0, 53, 0x29},
    {0xBC, 54, 0x33},
    {0xBE, 55, 0x34},
    {0xBF, 56, 0x35},
    {0x14, 57, 0x3A},
    // F1..F12.
    {0x70, 58, 0x3B},
    {0x71, 59, 0x3C},
    {0x72, 60, 0x3D},
    {0x73, 61, 0x3E},
    {0x74, 62, 0x3F},
    {0x75, 63, 0x40},
    {0x76, 64, 0x41},
    {0x77, 65, 0x42},
    {0x78, 66, 0x43},
    {0x79, 67, 0x44},
    {0x7A, 68, 0x57},
    {0x7B, 69, 0x58},
    // Navigation and editing block, keypad, modifiers: these never consult the layout.
    {0x2C, 70, 0},
    {0x91, 71, 0},
    {0x13, 72, 0},
    {0x2D, 73, 0},
    {0x24, 74, 0},
    {0x21, 75, 0},
    {0x2E, 76, 0},
    {0x23, 77, 0},
    {0x22, 78, 0},
    {0x27, 79, 0},
    {0x25, 80, 0},
    {0x28, 81, 0},
    {0x26, 82, 0},
    {0x90, 83, 0},
    {0x6F, 84, 0},
    {0x6A, 85, 0},
    {0x6D, 86, 0},
    {0x6B, 87, 0},
    {0x6C, 88, 0},
    {0x61, 89, 0},
    {0x62, 90, 0},
    {0x63, 91, 0},
    {0x64, 92, 0},
    {0x65, 93, 0},
    {0x67, 95, 0},
    {0x66, 94, 0},
    {0x68, 96, 0},
    {0x69, 97, 0},
    {0x60, 98, 0},
    {0x6E, 99, 0},
    {0x5D, 101, 0},
    {0xA2, 224, 0},
    {0xA0, 225, 0},
    {0xA4, 226, 0},
    {0x5B, 227, 0},
    {0xA3, 228, 0},
    {0xA1, 229, 0},
    {0xA5, 230, 0},
    {0x5C, 231, 0},
    // Virtual keys 0xF0..0xF8 stand for the mouse buttons and the wheel: the macro recorder
    // reports mouse events with them.
    {0xF0, 240, 0},
    {0xF1, 241, 0},
    {0xF2, 242, 0},
    {0xF3, 243, 0},
    {0xF4, 244, 0},
    {0xF7, 247, 0},
    {0xF8, 248, 0},
}};

constexpr bool usages_fit_a_byte() {
    for (const VirtualKeyRow& row : kVirtualKeys) {
        if (row.usage > 0xFF) {
            return false;
        }
    }
    return true;
}
static_assert(usages_fit_a_byte(), "UsageLookup carries the usage in one byte");

// Usages whose virtual key is translated through the layout to its physical position.
constexpr std::uint32_t kFirstPositionalUsage = 4;
constexpr std::uint32_t kLastPositionalUsage = 69;

constexpr std::size_t kUsageCodes = 256;
using NameTable = std::array<std::string_view, kUsageCodes>;

template <std::size_t N>
consteval void put_run(NameTable& names, std::size_t first,
                       const std::array<std::string_view, N>& run) {
    for (std::size_t i = 0; i < N; ++i) {
        names[first + i] = run[i];
    }
}

consteval NameTable make_name_table() {
    NameTable names{};
    put_run(names, 4,
            std::array<std::string_view, 26>{
                "key_A", "key_B", "key_C", "key_D", "key_E", "key_F", "key_G", "key_H", "key_I",
                "key_J", "key_K", "key_L", "key_M", "key_N", "key_O", "key_P", "key_Q", "key_R",
                "key_S", "key_T", "key_U", "key_V", "key_W", "key_X", "key_Y", "key_Z"});
    put_run(names, 30,
            std::array<std::string_view, 10>{"key_1", "key_2", "key_3", "key_4", "key_5", "key_6",
                                             "key_7", "key_8", "key_9", "key_0"});
    put_run(names, 40,
            std::array<std::string_view, 18>{
                "key_Enter", "key_Esc", "key_BackSpace", "key_Tab", "key_Space", "key_-",
                "key_=", "key_[", "key_]", "key_Xiexian",
                "\xEF\xBF\xA5", // U+FFE5 FULLWIDTH YEN SIGN
                "key_;", "key_'", "key_`", "key_,", "key_.", "key_/", "key_Caplk"});
    put_run(names, 58,
            std::array<std::string_view, 12>{"key_F1", "key_F2", "key_F3", "key_F4", "key_F5",
                                             "key_F6", "key_F7", "key_F8", "key_F9", "key_F10",
                                             "key_F11", "key_F12"});
    put_run(names, 70,
            std::array<std::string_view, 13>{"key_Print Scr", "key_Scroll Lock", "key_Pause",
                                             "key_Insert", "key_Home", "key_Page Up", "key_Delete",
                                             "key_End", "key_Page Down", "key_Right", "key_Left",
                                             "key_Down", "key_Up"});
    put_run(names, 83,
            std::array<std::string_view, 17>{
                "key_Num Lock", "key_Num_/", "key_Num_*", "key_Num_-", "key_Num_+", "key_Num_Enter",
                "key_Num_1", "key_Num_2", "key_Num_3", "key_Num_4", "key_Num_5", "key_Num_6",
                "key_Num_7", "key_Num_8", "key_Num_9", "key_Num_0", "key_Num_."});
    // The non-US backslash key carries the same label as the US one.
    names[100] = "key_Xiexian";
    names[101] = "key_App";
    names[130] = "Sleep";
    names[136] = "Kana/Roma";
    names[221] = "`";
    put_run(names, 224,
            std::array<std::string_view, 8>{"key_LCtrl", "key_LShift", "key_LAlt", "key_LWin",
                                            "key_RCtrl", "key_RShift", "key_RAlt", "key_RWin"});
    put_run(names, 240,
            std::array<std::string_view, 5>{"L_Button", "R_Button", "M_Button", "Backward_Button",
                                            "Forward_Button"});
    names[248] = "Scroll_Up";
    names[249] = "Scroll_Down";
    return names;
}

constexpr NameTable kNames = make_name_table();

const VirtualKeyRow* find_virtual_key(std::uint32_t virtual_key) {
    for (const VirtualKeyRow& row : kVirtualKeys) {
        if (row.virtual_key == virtual_key) {
            return &row;
        }
    }
    return nullptr;
}

} // namespace

std::span<const VirtualKeyRow> virtual_key_table() {
    return kVirtualKeys;
}

std::uint32_t TableKeyboardLayout::scan_code(std::uint32_t virtual_key) const {
    const VirtualKeyRow* row = find_virtual_key(virtual_key);
    return row == nullptr ? 0 : row->scan_code;
}

UsageLookup usage_from_virtual_key(std::uint32_t virtual_key, const KeyboardLayout& layout) {
    const VirtualKeyRow* row = find_virtual_key(virtual_key);
    if (row == nullptr) {
        return {};
    }
    std::uint32_t usage = row->usage;
    if (usage >= kFirstPositionalUsage && usage <= kLastPositionalUsage) {
        const std::uint32_t scan_code = layout.scan_code(virtual_key);
        // A scan code of 0 is the layout saying it has none. It must not match the rows whose
        // scan code column is 0, which marks "no scan code" too: that would turn a letter into
        // Print Screen. The key then keeps its own usage.
        if (scan_code != 0) {
            for (const VirtualKeyRow& candidate : kVirtualKeys) {
                if (candidate.scan_code == scan_code) {
                    usage = candidate.usage;
                    break;
                }
            }
        }
    }
    return {true, static_cast<std::uint8_t>(usage)};
}

std::string_view key_name_key(std::uint32_t usage) {
    return usage < kNames.size() ? kNames[usage] : std::string_view{};
}

} // namespace zemrak
