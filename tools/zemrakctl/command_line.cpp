#include "command_line.h"

#include "printable.h"

#include <charconv>

namespace zemrak::ctl {

std::optional<CommandLine> parse_command_line(const std::vector<std::string>& args,
                                              std::string& error) {
    CommandLine line;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& arg = args[i];
        if (!line.command.empty()) {
            line.arguments.push_back(arg);
        } else if (arg == "--help" || arg == "-h") {
            line.help = true;
        } else if (arg == "--version") {
            line.version = true;
        } else if (arg == "--program-folder" || arg.starts_with("--program-folder=")) {
            std::string value;
            if (arg == "--program-folder") {
                if (i + 1 >= args.size()) {
                    error = "--program-folder needs a folder";
                    return std::nullopt;
                }
                value = args[++i];
            } else {
                value = arg.substr(std::string("--program-folder=").size());
            }
            if (value.empty()) {
                error = "--program-folder needs a folder";
                return std::nullopt;
            }
            line.program_folder = value;
        } else if (arg.starts_with("-") && arg != "-") {
            error = "unknown option '" + printable(std::string_view(arg)) + "'";
            return std::nullopt;
        } else {
            line.command = arg;
        }
    }
    if (line.command.empty() && !line.help && !line.version) {
        error = "no command given (try --help)";
        return std::nullopt;
    }
    return line;
}

std::optional<std::size_t> parse_index(const std::string& text) {
    std::size_t value = 0;
    const char* end = text.data() + text.size();
    const auto [stop, error] = std::from_chars(text.data(), end, value);
    if (text.empty() || error != std::errc() || stop != end) {
        return std::nullopt;
    }
    return value;
}

} // namespace zemrak::ctl
