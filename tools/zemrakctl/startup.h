#pragma once

#include "application/app_data.h"
#include "commands.h"

namespace zemrak::ctl {

// The program's own start-up load of the settings and the profiles; what it could not do is
// reported on the context's error stream.
struct Startup {
    explicit Startup(const Context& context);
    AppData data;
    StartupReport report;
};

} // namespace zemrak::ctl
