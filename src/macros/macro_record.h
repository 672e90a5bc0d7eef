#pragma once

#include "model/byte_io.h"
#include "model/library_record.h"
#include "model/macro_action.h"

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
class MacroRecord : public LibraryRecord<MacroRecord, 696, 208, 212> {
public:
    static constexpr std::size_t kMaxActions = 30;
    static constexpr std::uint16_t kMaxActionCount = kMaxActions;
    static constexpr std::uint16_t kMaxLoopCount = 255;
    static constexpr std::size_t kActionsSize = kMaxActions * MacroAction::kSize;

    static constexpr std::size_t kLoopCountOffset = 200;
    static constexpr std::size_t kActionCountOffset = 204;
    static constexpr std::size_t kActionsOffset = 216;

    // A new, empty macro: no actions, played once.
    [[nodiscard]] static MacroRecord make_macro(std::u16string_view folder,
                                                std::u16string_view name) {
        MacroRecord record;
        record.set_folder_name(folder);
        record.set_item_name(name);
        record.set_loop_count(1);
        return record;
    }

    // How many times the macro plays, 1..255 as the page sets it (a file may hold more, which
    // is kept as it is); 0 in a folder entry.
    [[nodiscard]] std::uint16_t loop_count() const { return load_u16(m_bytes, kLoopCountOffset); }
    void set_loop_count(std::uint16_t count) { store_u16(m_bytes, kLoopCountOffset, count); }
    // Actions in use, 0..30; a larger stored count reads as 30 and is stored as 30.
    [[nodiscard]] std::uint16_t action_count() const {
        return std::min(load_u16(m_bytes, kActionCountOffset), kMaxActionCount);
    }
    void set_action_count(std::uint16_t count) {
        store_u16(m_bytes, kActionCountOffset, std::min(count, kMaxActionCount));
    }

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

    // Limits the action count of a stored image to 30; true when it was larger.
    static bool bound_image(std::span<std::uint8_t> image) {
        if (load_u16(image, kActionCountOffset) <= kMaxActionCount) {
            return false;
        }
        store_u16(image, kActionCountOffset, kMaxActionCount);
        return true;
    }

    friend bool operator==(const MacroRecord&, const MacroRecord&) = default;
};

static_assert(sizeof(MacroRecord) == MacroRecord::kSize);
static_assert(MacroRecord::kLoopCountOffset == MacroRecord::kItemNameOffset + 2 * kNameUnits);
static_assert(MacroRecord::kActionCountOffset == MacroRecord::kLoopCountOffset + 4);
static_assert(MacroRecord::kLockedOffset == MacroRecord::kActionCountOffset + 4);
static_assert(MacroRecord::kFolderEntryOffset == MacroRecord::kLockedOffset + 4);
static_assert(MacroRecord::kActionsOffset == MacroRecord::kFolderEntryOffset + 4);
static_assert(MacroRecord::kActionsOffset + MacroRecord::kActionsSize == MacroRecord::kSize);

} // namespace zemrak
