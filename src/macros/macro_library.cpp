#include "macros/macro_library.h"

#include "model/button_functions.h"
#include "model/button_record.h"
#include "model/profile_list.h"

#include <algorithm>

namespace zemrak {
namespace {

static_assert(MacroRecord::kActionsSize == ButtonRecord::kMaxActions * MacroAction::kSize,
              "a button record holds every action slot of a macro");

void copy_macro(std::span<const std::uint8_t> item, ButtonRecord& button, std::size_t slot) {
    const std::optional<MacroRecord> macro = record_from<MacroRecord>(item);
    if (!macro) {
        // Nothing left to play: the button falls back to what it does out of the box.
        button.set_function_code(default_function_code(slot));
        return;
    }
    button.set_action_count(macro->action_count());
    const auto actions = macro->actions();
    std::copy(actions.begin(), actions.end(),
              button.bytes().subspan<ButtonRecord::kActionsOffset>().begin());
    button.set_loop_count(macro->loop_count());
}

constexpr RecordKind kMacroKind = record_kind<MacroRecord, &MacroRecord::make_macro>(
    &copy_macro, {&ButtonRecord::macro_index, &ButtonRecord::set_macro_index});

} // namespace

MacroLibrary::MacroLibrary(const std::filesystem::path& data_folder,
                           std::shared_ptr<DataFolderLock> lock)
    : TypedRecordLibrary(kMacroKind, data_folder / kMacroFileName, std::move(lock)) {}

} // namespace zemrak
