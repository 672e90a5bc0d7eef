#pragma once
// The virtual mouse's log and the reports an apply plans, in the same lines, for tests that
// compare what reached the mouse with what should have.

#include "model/config_block.h"
#include "model/device_params.h"

#include <filesystem>
#include <string>
#include <vector>

namespace zemrak::test {

// The reports the virtual mouse logged in `log`, a "cmd …" or "data …" line each (the time
// stamps left out); empty when there is no log.
[[nodiscard]] std::vector<std::string> received_reports(const std::filesystem::path& log);

// The reports an apply of `profile` writes, in the same lines.
[[nodiscard]] std::vector<std::string> planned_reports(const ConfigBlock& profile,
                                                       const DeviceParams& params);

} // namespace zemrak::test
