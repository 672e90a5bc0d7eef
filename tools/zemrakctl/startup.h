#pragma once

#include "application/app_data.h"
#include "commands.h"

#include <mutex>

namespace zemrak::ctl {

// The program's own start-up load of the settings and the profiles; what it could not do is
// reported on the context's error stream.
struct Startup {
    explicit Startup(const Context& context);
    // Data.bin or profile.bin exists but could not be read: the command must not go on with
    // the stand-ins, which would show or apply what the user does not keep.
    [[nodiscard]] bool unreadable() const {
        return report.index_read_error || report.profiles_read_error;
    }
    AppData data;
    // The data folder, held from the load to the end of the command so that a second writer
    // waits for this one's save instead of writing over it or having it written over.
    std::unique_lock<DataFolderLock> hold;
    StartupReport report;
};

} // namespace zemrak::ctl
