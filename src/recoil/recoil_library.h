#pragma once

#include "model/record_library.h"
#include "platform/folders.h"
#include "recoil/recoil_record.h"

#include <cstdint>
#include <filesystem>
#include <string_view>

namespace zemrak {

class ProfileList;

// The user's recoil patterns: gun.bin in the data folder as an ordered list of folder
// entries and patterns. Button records refer to a pattern by its position and carry a copy
// of it; the library keeps those copies up to date.
class RecoilLibrary : public TypedRecordLibrary<RecoilRecord> {
public:
    // The library of `data_folder`/gun.bin, empty until load().
    explicit RecoilLibrary(const std::filesystem::path& data_folder);

    // Removes the folder entry and every pattern filed under `name` (case ignored), brings
    // the button records up to date as propagate() does for a removal, then saves once.
    FolderDeletion delete_folder(std::u16string_view name, ProfileList& profiles);

    // Brings the button records of every profile that refer to `position` up to date:
    //  - changed: each takes the pattern's bullet count as its action count, its second
    //    parameter byte as its loop count, its 30 bullet slots as its recoil data and its
    //    name (its folder name stays). With no pattern at `position` nothing changes.
    //  - removed: call after the pattern at `position` was removed; see update_references().
    // A negative position names no pattern (every unassigned button holds -1): nothing changes.
    // Returns true when a button record of the current profile refers to `position`, whether
    // or not anything changed: the button page must then show the profile again.
    [[nodiscard]] bool propagate(std::int32_t position, ProfileList& profiles,
                                 LibraryChange change) const;
};

} // namespace zemrak
