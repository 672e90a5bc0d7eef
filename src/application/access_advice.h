#pragma once
// What to tell a user whom the system keeps from writing to the mouse. The window and
// zemrakctl say the same, so it is written here once.

#include "platform/hid_nodes.h"

#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

namespace zemrak {

// The shell commands that install the udev rule kept in `program_folder` (the portable
// folder, or the share folder of an installed program) and make udev apply it to a mouse
// that is already plugged in. The path is quoted for the shell.
[[nodiscard]] std::vector<std::string>
udev_rule_commands(const std::filesystem::path& program_folder);

// `lead` with %1 replaced by the node and %2 by the system's reason, then the commands, one
// per line, each indented by four spaces. An empty lead (a language file without the text)
// gets an English one, so the commands never come without a word of why.
[[nodiscard]] std::string access_advice(std::string_view lead, const HidNodeAccess& denied,
                                        const std::filesystem::path& program_folder);

} // namespace zemrak
