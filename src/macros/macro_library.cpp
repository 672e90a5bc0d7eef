#include "macros/macro_library.h"

#include "model/button_functions.h"
#include "model/button_record.h"
#include "model/profile_list.h"

#include <algorithm>
#include <optional>

namespace zemrak {
namespace {

constexpr ReferenceField kMacroReference{&ButtonRecord::macro_index,
                                         &ButtonRecord::set_macro_index};

static_assert(MacroRecord::kActionsSize == ButtonRecord::kMaxActions * MacroAction::kSize,
              "a button record holds every action slot of a macro");

} // namespace

MacroLibrary::MacroLibrary(const std::filesystem::path& data_folder)
    : TypedRecordLibrary(data_folder / kMacroFileName) {}

FolderDeletion MacroLibrary::delete_folder(std::u16string_view name, ProfileList& profiles) {
    return RecordLibrary::delete_folder(
        name, SavePolicy::after_each_removal, [this, &profiles](std::int32_t position) {
            return propagate(position, profiles, LibraryChange::removed);
        });
}

bool MacroLibrary::propagate(std::int32_t position, ProfileList& profiles,
                             LibraryChange change) const {
    const std::optional<MacroRecord> macro = record_at(position);
    return update_references(
        profiles, kMacroReference, position, change,
        [&macro](ButtonRecord& button, std::size_t slot) {
            if (!macro) {
                button.set_function_code(default_function_code(slot));
                return;
            }
            button.set_action_count(macro->action_count());
            const auto actions = macro->actions();
            std::copy(actions.begin(), actions.end(),
                      button.bytes().subspan<ButtonRecord::kActionsOffset>().begin());
            button.set_loop_count(macro->loop_count());
            button.set_item_name(macro->item_name());
        });
}

} // namespace zemrak
