#pragma once

#include "platform/folders.h"

#include <ostream>
#include <span>
#include <string>
#include <string_view>

namespace zemrak::ctl {

// Exit statuses of zemrakctl.
inline constexpr int kExitOk = 0;
inline constexpr int kExitFailure = 1; // the command ran but something it had to do failed
inline constexpr int kExitUsage = 2;   // the command line was wrong

struct Context {
    Folders folders;
    std::ostream& out;
    std::ostream& err;
};

struct Command {
    std::string_view name;
    std::string_view operands; // as shown in the help, e.g. "INDEX FILE"
    std::size_t operand_count; // operands always given
    std::string_view description;
    int (*run)(const Context& context, std::span<const std::string> operands);
    std::size_t optional_count = 0; // operands that may follow them
};

// Every command, in the order the help lists them.
[[nodiscard]] std::span<const Command> commands();
[[nodiscard]] const Command* find_command(std::string_view name);

} // namespace zemrak::ctl
