#include "model/button_record.h"

#include <algorithm>

namespace zemrak {

std::u16string ButtonRecord::folder_name() const {
    return load_name(m_bytes, kFolderNameOffset);
}
void ButtonRecord::set_folder_name(std::u16string_view name) {
    store_name(m_bytes, kFolderNameOffset, name);
}
std::u16string ButtonRecord::item_name() const {
    return load_name(m_bytes, kItemNameOffset);
}
void ButtonRecord::set_item_name(std::u16string_view name) {
    store_name(m_bytes, kItemNameOffset, name);
}

std::int32_t ButtonRecord::recoil_index() const {
    return load_i32(m_bytes, kRecoilIndexOffset);
}
void ButtonRecord::set_recoil_index(std::int32_t position) {
    store_i32(m_bytes, kRecoilIndexOffset, position);
}
std::int32_t ButtonRecord::macro_index() const {
    return load_i32(m_bytes, kMacroIndexOffset);
}
void ButtonRecord::set_macro_index(std::int32_t position) {
    store_i32(m_bytes, kMacroIndexOffset, position);
}
std::int32_t ButtonRecord::repeat_mode() const {
    return load_i32(m_bytes, kRepeatModeOffset);
}
void ButtonRecord::set_repeat_mode(std::int32_t mode) {
    store_i32(m_bytes, kRepeatModeOffset, mode);
}

std::uint16_t ButtonRecord::action_count() const {
    return load_u16(m_bytes, kActionCountOffset);
}
void ButtonRecord::set_action_count(std::uint16_t count) {
    store_u16(m_bytes, kActionCountOffset, count);
}
std::int32_t ButtonRecord::loop_count() const {
    return load_i32(m_bytes, kLoopCountOffset);
}
void ButtonRecord::set_loop_count(std::int32_t count) {
    store_i32(m_bytes, kLoopCountOffset, count);
}

std::span<std::uint8_t, ButtonRecord::kRecoilDataSize> ButtonRecord::recoil_data() {
    return std::span(m_bytes).subspan<kRecoilDataOffset, kRecoilDataSize>();
}
std::span<const std::uint8_t, ButtonRecord::kRecoilDataSize> ButtonRecord::recoil_data() const {
    return std::span(m_bytes).subspan<kRecoilDataOffset, kRecoilDataSize>();
}
Colour ButtonRecord::recoil_colour() const {
    return load_u32(m_bytes, kRecoilColourOffset);
}
void ButtonRecord::set_recoil_colour(Colour colour) {
    store_u32(m_bytes, kRecoilColourOffset, colour);
}

MacroAction ButtonRecord::action(std::size_t slot) const {
    MacroAction action;
    if (slot < kMaxActions) {
        const auto from = std::span(m_bytes).subspan(kActionsOffset + slot * MacroAction::kSize,
                                                     MacroAction::kSize);
        std::copy(from.begin(), from.end(), action.bytes().begin());
    }
    return action;
}

void ButtonRecord::set_action(std::size_t slot, const MacroAction& action) {
    if (slot >= kMaxActions) {
        return;
    }
    const auto bytes = action.bytes();
    std::copy(bytes.begin(), bytes.end(),
              m_bytes.begin() +
                  static_cast<std::ptrdiff_t>(kActionsOffset + slot * MacroAction::kSize));
}

} // namespace zemrak
