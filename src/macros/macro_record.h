#pragma once

#include "model/byte_io.h"
#include "model/macro_action.h"
#include "model/record_library.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>

namespace zemrak {

// One entry of the macro library: a folder entry or a macro of up to 30 actions. A 696-byte
// image, the same in memory, in macro.bin and in macro export files; reserved bytes are
// carried unchanged.
class MacroRecord {
public:
    static constexpr std::size_t kSize = 696;
    static constexpr std::size_t kMaxActions = 30;
    static constexpr std::uint16_t kMaxActionCount = kMaxActions;
    static constexpr std::size_t kActionsSize = kMaxActions * MacroAction::kSize;

    static constexpr std::size_t kFolderNameOffset = kRecordFolderNameOffset;
    static constexpr std::size_t kItemNameOffset = kRecordItemNameOffset;
    static constexpr std::size_t kLoopCountOffset = 200;
    static constexpr std::size_t kActionCountOffset = 204;
    static constexpr std::size_t kLockedOffset = 208;
    static constexpr std::size_t kFolderEntryOffset = 212;
    static constexpr std::size_t kActionsOffset = 216;

    // A folder entry: only the folder name is set.
    [[nodiscard]] static MacroRecord make_folder(std::u16string_view folder) {
        MacroRecord record;
        record.set_folder_name(folder);
        record.set_folder_entry(true);
        return record;
    }
    // A new, empty macro: no actions, played once.
    [[nodiscard]] static MacroRecord make_macro(std::u16string_view folder,
                                                std::u16string_view name) {
        MacroRecord record;
        record.set_folder_name(folder);
        record.set_item_name(name);
        record.set_loop_count(1);
        return record;
    }

    // Names of at most 49 UTF-16 units; longer ones are cut when stored.
    [[nodiscard]] std::u16string folder_name() const {
        return load_name(m_bytes, kFolderNameOffset);
    }
    void set_folder_name(std::u16string_view name) { store_name(m_bytes, kFolderNameOffset, name); }
    // The macro name; empty in a folder entry.
    [[nodiscard]] std::u16string item_name() const { return load_name(m_bytes, kItemNameOffset); }
    void set_item_name(std::u16string_view name) { store_name(m_bytes, kItemNameOffset, name); }

    // How many times the macro plays, 1..255; 0 in a folder entry.
    [[nodiscard]] std::uint16_t loop_count() const { return load_u16(m_bytes, kLoopCountOffset); }
    void set_loop_count(std::uint16_t count) { store_u16(m_bytes, kLoopCountOffset, count); }
    // Actions in use, 0..30; a larger stored count reads as 30 and is stored as 30.
    [[nodiscard]] std::uint16_t action_count() const {
        return std::min(load_u16(m_bytes, kActionCountOffset), kMaxActionCount);
    }
    void set_action_count(std::uint16_t count) {
        store_u16(m_bytes, kActionCountOffset, std::min(count, kMaxActionCount));
    }
    // A locked macro can be assigned, but its actions are neither shown nor changed.
    [[nodiscard]] bool locked() const { return load_i32(m_bytes, kLockedOffset) != 0; }
    void set_locked(bool locked) { store_i32(m_bytes, kLockedOffset, locked ? 1 : 0); }
    [[nodiscard]] bool is_folder_entry() const {
        return load_i32(m_bytes, kFolderEntryOffset) != 0;
    }
    void set_folder_entry(bool entry) { store_i32(m_bytes, kFolderEntryOffset, entry ? 1 : 0); }

    // Action slots 0..29; a slot outside that range reads as an empty action and ignores
    // writes.
    [[nodiscard]] MacroAction action(std::size_t slot) const {
        MacroAction action;
        if (slot < kMaxActions) {
            const auto from = actions().subspan(slot * MacroAction::kSize, MacroAction::kSize);
            std::copy(from.begin(), from.end(), action.bytes().begin());
        }
        return action;
    }
    void set_action(std::size_t slot, const MacroAction& action) {
        if (slot < kMaxActions) {
            std::copy(action.bytes().begin(), action.bytes().end(),
                      actions().subspan(slot * MacroAction::kSize).begin());
        }
    }
    // All 30 slots as button records copy them.
    [[nodiscard]] std::span<std::uint8_t, kActionsSize> actions() {
        return std::span(m_bytes).subspan<kActionsOffset, kActionsSize>();
    }
    [[nodiscard]] std::span<const std::uint8_t, kActionsSize> actions() const {
        return std::span(m_bytes).subspan<kActionsOffset, kActionsSize>();
    }

    [[nodiscard]] std::span<std::uint8_t, kSize> bytes() { return m_bytes; }
    [[nodiscard]] std::span<const std::uint8_t, kSize> bytes() const { return m_bytes; }

    // Limits the action count of a stored image to 30; true when it was larger.
    static bool bound_image(std::span<std::uint8_t> image) {
        if (load_u16(image, kActionCountOffset) <= kMaxActionCount) {
            return false;
        }
        store_u16(image, kActionCountOffset, kMaxActionCount);
        return true;
    }

    friend bool operator==(const MacroRecord&, const MacroRecord&) = default;

private:
    std::array<std::uint8_t, kSize> m_bytes{};
};

static_assert(sizeof(MacroRecord) == MacroRecord::kSize);
static_assert(MacroRecord::kLoopCountOffset == MacroRecord::kItemNameOffset + 2 * kNameUnits);
static_assert(MacroRecord::kActionCountOffset == MacroRecord::kLoopCountOffset + 4);
static_assert(MacroRecord::kLockedOffset == MacroRecord::kActionCountOffset + 4);
static_assert(MacroRecord::kFolderEntryOffset == MacroRecord::kLockedOffset + 4);
static_assert(MacroRecord::kActionsOffset == MacroRecord::kFolderEntryOffset + 4);
static_assert(MacroRecord::kActionsOffset + MacroRecord::kActionsSize == MacroRecord::kSize);

} // namespace zemrak
