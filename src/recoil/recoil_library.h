#pragma once

#include "model/record_library.h"
#include "platform/folders.h"
#include "recoil/recoil_record.h"

#include <filesystem>

namespace zemrak {

// The user's recoil patterns: gun.bin in the data folder as an ordered list of folder
// entries and patterns. Button records refer to a pattern by its position and carry a copy
// of it: its bullet count as their action count, its second parameter byte as their loop
// count, its 30 bullet slots as their recoil data and its name (the folder name they copied
// at assignment stays). A button whose position has no pattern is left as it is. A new
// pattern uses all 30 bullets, without movement, with the shortest delay. Deleting a folder
// saves once at the end.
class RecoilLibrary : public TypedRecordLibrary<RecoilRecord> {
public:
    // The library of `data_folder`/gun.bin, empty until load().
    explicit RecoilLibrary(const std::filesystem::path& data_folder,
                           std::shared_ptr<DataFolderLock> lock = nullptr);
};

} // namespace zemrak
