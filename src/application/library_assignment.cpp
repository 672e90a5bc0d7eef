#include "application/library_assignment.h"

#include "macros/macro_library.h"
#include "model/button_assignment.h"
#include "model/button_functions.h"
#include "model/config_block.h"
#include "recoil/recoil_library.h"

#include <algorithm>
#include <optional>

namespace zemrak {
namespace {

// The record falls back to what it does out of the box.
PickOutcome go_default(ConfigBlock& profile, std::size_t record) {
    ButtonRecord& button = profile.button(record);
    button.set_function_code(default_function_code(record));
    settle_references(button);
    return PickOutcome::defaulted;
}

// An item of the library at `position`: not a folder entry.
template <class Record, class Library>
std::optional<Record> item_at(const Library& library, std::int32_t position) {
    if (library.is_folder_entry(position)) {
        return std::nullopt;
    }
    return library.record_at(position);
}

} // namespace

PickOutcome assign_macro(ConfigBlock& profile, std::size_t record, std::int32_t position,
                         std::int32_t repeat_mode, const MacroLibrary& library) {
    const std::optional<MacroRecord> macro = item_at<MacroRecord>(library, position);
    if (!macro) {
        return go_default(profile, record);
    }
    // A macro without actions would make the button do nothing at all.
    if (macro->action_count() == 0) {
        return PickOutcome::unchanged;
    }
    ButtonRecord& button = profile.button(record);
    button.set_macro_index(position);
    button.set_repeat_mode(repeat_mode);
    button.set_action_count(macro->action_count());
    button.set_folder_name(macro->folder_name());
    button.set_item_name(macro->item_name());
    const auto actions = macro->actions();
    std::copy(actions.begin(), actions.end(),
              button.bytes().subspan<ButtonRecord::kActionsOffset>().begin());
    button.set_loop_count(macro->loop_count());
    button.set_function_code(kMacroFunction);
    settle_references(button);
    return PickOutcome::assigned;
}

PickOutcome assign_recoil(ConfigBlock& profile, std::size_t record, std::int32_t position,
                          std::int32_t repeat_mode, Colour colour, const RecoilLibrary& library) {
    const std::optional<RecoilRecord> pattern = item_at<RecoilRecord>(library, position);
    if (!pattern) {
        return go_default(profile, record);
    }
    ButtonRecord& button = profile.button(record);
    button.set_recoil_index(position);
    button.set_repeat_mode(repeat_mode);
    button.set_recoil_colour(colour);
    button.set_action_count(pattern->bullet_count());
    button.set_folder_name(pattern->folder_name());
    button.set_item_name(pattern->item_name());
    const auto bullets = pattern->bullets();
    std::copy(bullets.begin(), bullets.end(), button.recoil_data().begin());
    button.set_loop_count(pattern->second_parameter());
    button.set_function_code(kRecoilFunction);
    settle_references(button);
    return PickOutcome::assigned;
}

} // namespace zemrak
