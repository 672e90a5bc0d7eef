#pragma once

#include "macros/macro_record.h"
#include "model/record_library.h"
#include "platform/folders.h"

#include <filesystem>

namespace zemrak {

// The user's macros: macro.bin in the data folder as an ordered list of folder entries and
// macros. Button records refer to a macro by its position and carry a copy of it: its action
// count, its 30 action slots, its loop count and its name (the folder name they copied at
// assignment stays). A button whose position has no macro gets its default function code. A
// new macro has no actions and plays once. Deleting a folder saves after each record removed.
class MacroLibrary : public TypedRecordLibrary<MacroRecord> {
public:
    // The library of `data_folder`/macro.bin, empty until load().
    explicit MacroLibrary(const std::filesystem::path& data_folder,
                          std::shared_ptr<DataFolderLock> lock = nullptr);
};

} // namespace zemrak
