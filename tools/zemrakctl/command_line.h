#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <vector>

namespace zemrak::ctl {

// The parsed command line of zemrakctl.
struct CommandLine {
    std::optional<std::filesystem::path> program_folder; // --program-folder DIR
    bool help = false;                                   // --help or -h
    bool version = false;                                // --version
    std::string command;                                 // empty with help or version alone
    std::vector<std::string> arguments;                  // after the command
};

// Parses the arguments after the program name. On a usage error returns nothing and sets
// `error` to a one-line message.
[[nodiscard]] std::optional<CommandLine> parse_command_line(const std::vector<std::string>& args,
                                                            std::string& error);

// An index or position as typed: decimal digits only; nothing for anything else.
[[nodiscard]] std::optional<std::size_t> parse_index(const std::string& text);

} // namespace zemrak::ctl
