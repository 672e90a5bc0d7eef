#pragma once

#include "macros/macro_record.h"
#include "model/record_library.h"
#include "platform/folders.h"

#include <cstdint>
#include <filesystem>
#include <string_view>

namespace zemrak {

class ProfileList;

// The user's macros: macro.bin in the data folder as an ordered list of folder entries and
// macros. Button records refer to a macro by its position and carry a copy of it; the
// library keeps those copies up to date.
class MacroLibrary : public TypedRecordLibrary<MacroRecord> {
public:
    // The library of `data_folder`/macro.bin, empty until load().
    explicit MacroLibrary(const std::filesystem::path& data_folder);

    // Removes the folder entry and every macro filed under `name` (case ignored), saving the
    // file after each removal and bringing the button records up to date as propagate()
    // does for a removal.
    FolderDeletion delete_folder(std::u16string_view name, ProfileList& profiles);

    // Brings the button records of every profile that refer to `position` up to date:
    //  - changed: each takes the macro's action count, its 30 action slots, its loop count
    //    and its name (its folder name stays); when there is no macro at `position` (a
    //    stale position, an empty library) each gets its default function code instead.
    //  - removed: call after the macro at `position` was removed; see update_references().
    // A negative position names no macro (every unassigned button holds -1): nothing changes.
    // Returns true when a button record of the current profile refers to `position`: the
    // button page must then show the profile again.
    [[nodiscard]] bool propagate(std::int32_t position, ProfileList& profiles,
                                 LibraryChange change) const;
};

} // namespace zemrak
