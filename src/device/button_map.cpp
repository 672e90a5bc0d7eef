#include "device/button_map.h"

#include <algorithm>
#include <array>
#include <cstddef>
#include <span>

namespace zemrak {
namespace {

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
        ButtonMapBytes entry = function_map_bytes(record.function_code());
        if (record.function_code() == kShortcutFunction) {
            entry.key = record.shortcut_key();
        } else if (record.function_code() == kMacroFunction &&
                   encoding.macro_pages.size() == kMaxMacroPages) {
            entry = function_map_bytes(default_function_code(n));
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
