#include "device/button_map.h"

#include <algorithm>
#include <array>
#include <cstddef>
#include <span>

namespace zemrak {
namespace {

struct MapEntry {
    std::uint8_t function;
    std::uint8_t key;
    std::uint8_t kind;
};

// Functions with a fixed button map entry; every code not listed (button off, the recoil
// functions, mode switch, unassigned codes) turns into 00 00.
constexpr auto kFixedEntries = std::to_array<MapEntry>({
    {1, 0xF0, 0x00},  {2, 0xF1, 0x00},  {3, 0xF2, 0x00},   {4, 0xF4, 0x00},   {5, 0xF3, 0x00},
    {6, 0x05, 0x03},  {7, 0x03, 0x03},  {8, 0x04, 0x03},   {9, 0xF0, 0x82},   {10, 0xF0, 0x80},
    {11, 0xE8, 0x00}, {12, 0xE9, 0x00}, {13, 0xEA, 0x00},  {14, 0xEB, 0x00},  {18, 0xF0, 0x83},
    {27, 0x0A, 0x03}, {28, 0x14, 0x02}, {29, 0x15, 0x02},  {32, 0x12, 0x02},  {33, 0x10, 0x02},
    {34, 0x11, 0x02}, {35, 0x01, 0x00}, {36, 0x15, 0x02},  {37, 0x14, 0x02},  {38, 0x16, 0x02},
    {39, 0x16, 0x02}, {40, 0x13, 0x02}, {41, 0x01, 0x00},  {42, 0x16, 0x02},  {43, 0x04, 0x00},
    {44, 0x13, 0x02}, {45, 0x08, 0x00}, {46, 0x08, 0x00},  {47, 0x01, 0x00},  {50, 0x09, 0x03},
    {64, 0x07, 0x02}, {65, 0x03, 0x02}, {66, 0x02, 0x02},  {67, 0x01, 0x02},  {68, 0x00, 0x02},
    {69, 0x05, 0x02}, {70, 0x06, 0x02}, {71, 0x04, 0x02},  {72, 0x0C, 0x02},  {73, 0x0F, 0x02},
    {74, 0x00, 0x03}, {75, 0x0D, 0x02}, {77, 0x0E, 0x02},  {78, 0x0B, 0x02},  {79, 0x08, 0x02},
    {80, 0x09, 0x02}, {81, 0x0A, 0x02}, {112, 0x02, 0x03}, {113, 0x00, 0x07},
});

constexpr bool entries_unique() {
    for (std::size_t i = 0; i < kFixedEntries.size(); ++i) {
        for (std::size_t j = i + 1; j < kFixedEntries.size(); ++j) {
            if (kFixedEntries[i].function == kFixedEntries[j].function) {
                return false;
            }
        }
        if (kFixedEntries[i].function == kShortcutFunction ||
            kFixedEntries[i].function == kMacroFunction) {
            return false;
        }
    }
    return true;
}
static_assert(entries_unique());

[[nodiscard]] MapEntry fixed_entry(std::uint8_t function) {
    const auto* found = std::ranges::find(kFixedEntries, function, &MapEntry::function);
    return found == kFixedEntries.end() ? MapEntry{function, 0x00, 0x00} : *found;
}

[[nodiscard]] constexpr std::uint8_t low_byte(std::uint32_t value) {
    return static_cast<std::uint8_t>(value & 0xFFu);
}

[[nodiscard]] constexpr std::uint8_t signed_byte(std::int32_t value) {
    return low_byte(static_cast<std::uint32_t>(value));
}

// Delays up to this many milliseconds fit the action's own time byte; longer ones are
// followed by a separate delay item.
constexpr std::uint16_t kLongestShortDelay = 254;
constexpr std::uint8_t kMoveMarker = 0xFA;
constexpr std::uint8_t kPressBit = 0x01;
constexpr std::uint8_t kReleaseBits = 0x81;
constexpr std::uint8_t kLongReleaseBit = 0x80;
constexpr std::size_t kLoopCountBytes = 2;

// The bytes of one action, at most eight.
struct ActionBytes {
    std::array<std::uint8_t, 8> bytes{};
    std::size_t size = 0;

    void push(std::uint8_t byte) { bytes[size++] = byte; }
};

[[nodiscard]] ActionBytes encode_action(const MacroAction& action) {
    const std::uint16_t delay = action.delay();
    const auto half = static_cast<std::uint16_t>(delay / 2);
    const std::uint8_t code = action.code();
    ActionBytes out;

    if (delay <= kLongestShortDelay) {
        const auto time = static_cast<std::uint8_t>(half);
        switch (action.kind()) {
        case MacroAction::Move:
            out.push(time);
            out.push(kMoveMarker);
            out.push(signed_byte(action.move_x()));
            out.push(signed_byte(action.move_y()));
            break;
        case MacroAction::Press:
            out.push(static_cast<std::uint8_t>(time | kPressBit));
            out.push(code);
            break;
        case MacroAction::Release:
            out.push(static_cast<std::uint8_t>(time | kReleaseBits));
            out.push(code);
            break;
        default:
            out.push(time);
            out.push(code);
            break;
        }
        return out;
    }

    const std::uint8_t coarse = low_byte(static_cast<std::uint32_t>(delay - half + 5) / 10);
    switch (action.kind()) {
    case MacroAction::Move:
        out.push(0x00);
        out.push(kMoveMarker);
        out.push(signed_byte(action.move_x()));
        out.push(signed_byte(action.move_y()));
        break;
    case MacroAction::Press:
        out.push(coarse);
        out.push(code);
        break;
    case MacroAction::Release:
        out.push(static_cast<std::uint8_t>(coarse | kLongReleaseBit));
        out.push(code);
        break;
    default:
        out.push(0x00);
        out.push(0x00);
        break;
    }
    // The delay item that follows: 00 01, then the half delay, high byte first.
    out.push(0x00);
    out.push(0x01);
    out.push(static_cast<std::uint8_t>(half >> 8));
    out.push(low_byte(half));
    return out;
}

} // namespace

Payload encode_macro_page(const ButtonRecord& record) {
    Payload page{};
    const std::size_t count =
        std::min<std::size_t>(record.action_count(), ButtonRecord::kMaxActions);
    if (count == 0) {
        return page;
    }
    const auto loops = static_cast<std::uint32_t>(record.loop_count());
    page[0] = low_byte(loops >> 8);
    page[1] = low_byte(loops);

    std::size_t position = kLoopCountBytes;
    for (std::size_t slot = 0; slot < count; ++slot) {
        const ActionBytes action = encode_action(record.action(slot));
        // Only whole actions go out; the mouse would misread a cut one.
        if (action.size > page.size() - position) {
            break;
        }
        std::ranges::copy(std::span(action.bytes).first(action.size),
                          page.begin() + static_cast<std::ptrdiff_t>(position));
        position += action.size;
    }
    return page;
}

ButtonMapEncoding encode_button_map(const ConfigBlock& block) {
    ButtonMapEncoding encoding;
    for (std::size_t n = 0; n < ConfigBlock::kButtonsPerMode; ++n) {
        const ButtonRecord& record = block.button(n);
        MapEntry entry = fixed_entry(record.function_code());
        if (record.function_code() == kShortcutFunction) {
            entry.key = record.shortcut_key();
        } else if (record.function_code() == kMacroFunction) {
            entry.key = low_byte(static_cast<std::uint32_t>(record.repeat_mode()));
            entry.kind = encoding.macro_pages.empty() ? kFirstMacroKind : kLaterMacroKind;
            encoding.macro_pages.push_back(encode_macro_page(record));
        }
        encoding.map[2 * n] = entry.key;
        encoding.map[2 * n + 1] = entry.kind;
    }
    return encoding;
}

} // namespace zemrak
