#pragma once

#include "model/byte_io.h"
#include "model/colour.h"
#include "model/macro_action.h"

#include <array>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>

namespace zemrak {

// The function of one button in one mode, with copies of an assigned macro or recoil
// pattern: a 1,596-byte image, stored as is in profile files. Reserved bytes are carried
// unchanged.
class ButtonRecord {
public:
    static constexpr std::size_t kSize = 1596;
    static constexpr std::size_t kMaxActions = 30;
    static constexpr std::size_t kRecoilDataSize = 360;

    static constexpr std::size_t kFolderNameOffset = 0;
    static constexpr std::size_t kItemNameOffset = 100;
    static constexpr std::size_t kIndexOffset = 200;
    static constexpr std::size_t kFunctionOffset = 201;
    static constexpr std::size_t kFunctionBOffset = 202;
    static constexpr std::size_t kRecoilIndexOffset = 204;
    static constexpr std::size_t kMacroIndexOffset = 208;
    static constexpr std::size_t kRepeatModeOffset = 212;
    static constexpr std::size_t kModifiersOffset = 220;
    static constexpr std::size_t kShortcutKeyOffset = 221;
    static constexpr std::size_t kActionCountOffset = 226;
    static constexpr std::size_t kLoopCountOffset = 228;
    static constexpr std::size_t kRecoilDataOffset = 752;
    static constexpr std::size_t kRecoilColourOffset = 1112;
    static constexpr std::size_t kActionsOffset = 1116;

    // Shortcut modifier bits.
    static constexpr std::uint8_t kCtrl = 1u << 0;
    static constexpr std::uint8_t kShift = 1u << 1;
    static constexpr std::uint8_t kAlt = 1u << 2;
    static constexpr std::uint8_t kWin = 1u << 3;

    [[nodiscard]] std::u16string folder_name() const;
    void set_folder_name(std::u16string_view name);
    [[nodiscard]] std::u16string item_name() const;
    void set_item_name(std::u16string_view name);

    // The record's own position 0..31 in its profile.
    [[nodiscard]] std::uint8_t index() const { return m_bytes[kIndexOffset]; }
    void set_index(std::uint8_t index) { m_bytes[kIndexOffset] = index; }
    [[nodiscard]] std::uint8_t function_code() const { return m_bytes[kFunctionOffset]; }
    void set_function_code(std::uint8_t code) { m_bytes[kFunctionOffset] = code; }
    [[nodiscard]] std::uint8_t function_code_b() const { return m_bytes[kFunctionBOffset]; }
    void set_function_code_b(std::uint8_t code) { m_bytes[kFunctionBOffset] = code; }

    // Library positions; -1 means none assigned.
    [[nodiscard]] std::int32_t recoil_index() const;
    void set_recoil_index(std::int32_t position);
    [[nodiscard]] std::int32_t macro_index() const;
    void set_macro_index(std::int32_t position);
    // 0..2, the repeat option chosen with a macro or recoil pattern.
    [[nodiscard]] std::int32_t repeat_mode() const;
    void set_repeat_mode(std::int32_t mode);

    [[nodiscard]] std::uint8_t shortcut_modifiers() const { return m_bytes[kModifiersOffset]; }
    void set_shortcut_modifiers(std::uint8_t bits) { m_bytes[kModifiersOffset] = bits; }
    // HID keyboard usage code of the shortcut key.
    [[nodiscard]] std::uint8_t shortcut_key() const { return m_bytes[kShortcutKeyOffset]; }
    void set_shortcut_key(std::uint8_t usage) { m_bytes[kShortcutKeyOffset] = usage; }

    // Number of macro actions in use as stored (readers bound it by kMaxActions), or the
    // count byte of a recoil pattern.
    [[nodiscard]] std::uint16_t action_count() const;
    void set_action_count(std::uint16_t count);
    // Macro repetitions, or the second parameter byte of a recoil pattern.
    [[nodiscard]] std::int32_t loop_count() const;
    void set_loop_count(std::int32_t count);

    [[nodiscard]] std::span<std::uint8_t, kRecoilDataSize> recoil_data();
    [[nodiscard]] std::span<const std::uint8_t, kRecoilDataSize> recoil_data() const;
    [[nodiscard]] Colour recoil_colour() const;
    void set_recoil_colour(Colour colour);

    // Action slots 0..29; a slot outside that range reads as an empty action and ignores
    // writes.
    [[nodiscard]] MacroAction action(std::size_t slot) const;
    void set_action(std::size_t slot, const MacroAction& action);

    [[nodiscard]] std::span<std::uint8_t, kSize> bytes() { return m_bytes; }
    [[nodiscard]] std::span<const std::uint8_t, kSize> bytes() const { return m_bytes; }

    friend bool operator==(const ButtonRecord&, const ButtonRecord&) = default;

private:
    std::array<std::uint8_t, kSize> m_bytes{};
};

static_assert(sizeof(ButtonRecord) == ButtonRecord::kSize);
static_assert(ButtonRecord::kItemNameOffset == ButtonRecord::kFolderNameOffset + 2 * kNameUnits);
static_assert(ButtonRecord::kIndexOffset == ButtonRecord::kItemNameOffset + 2 * kNameUnits);
static_assert(ButtonRecord::kRecoilColourOffset ==
              ButtonRecord::kRecoilDataOffset + ButtonRecord::kRecoilDataSize);
static_assert(ButtonRecord::kActionsOffset + ButtonRecord::kMaxActions * MacroAction::kSize ==
              ButtonRecord::kSize);

} // namespace zemrak
