// zemrakctl: the command-line tool of zemrak-mouse. It works on the same program and data
// folders as the program, so scripts can inspect and share profiles.

#include "command_line.h"
#include "commands.h"
#include "printable.h"
#include "zemrak_version.h"

#include <iostream>
#include <string>
#include <vector>

namespace {

using namespace zemrak;
using namespace zemrak::ctl;

void print_help(std::ostream& out) {
    out << "Usage: zemrakctl [--program-folder DIR] COMMAND [ARGS]\n"
           "\n"
           "Inspect and change the settings of the zemrak-mouse program.\n"
           "\n"
           "Options:\n"
           "  --program-folder DIR  use DIR as the program folder (Data.ini, Language/,\n"
           "                        Default.pbin) and DIR/Data as the data folder;\n"
           "                        without it the program's own folders are used\n"
           "  -h, --help            show this help\n"
           "  --version             print the version and exit\n"
           "\n"
           "Commands:\n";
    for (const Command& command : commands()) {
        out << "  " << command.name;
        if (!command.operands.empty()) {
            out << ' ' << command.operands;
        }
        out << '\n';
        std::string_view text = command.description;
        while (!text.empty()) {
            const auto end = text.find('\n');
            out << "      " << text.substr(0, end) << '\n';
            text = end == std::string_view::npos ? std::string_view() : text.substr(end + 1);
        }
    }
    out << "\nA data file that exists but cannot be read is named on standard error and left\n"
           "as it is; every command that loads it fails.\n"
           "\nExit status: 0 on success, 1 when the command failed, 2 on a usage error.\n";
}

int usage_error(const std::string& message) {
    std::cerr << "zemrakctl: " << message << '\n';
    return kExitUsage;
}

} // namespace

int main(int argc, char** argv) {
    std::string error;
    const auto line = parse_command_line(std::vector<std::string>(argv + 1, argv + argc), error);
    if (!line) {
        return usage_error(error);
    }
    if (line->help) {
        print_help(std::cout);
        return kExitOk;
    }
    if (line->version) {
        std::cout << "zemrakctl " << kVersion << '\n';
        return kExitOk;
    }
    const Command* command = find_command(line->command);
    if (command == nullptr) {
        return usage_error("unknown command '" + printable(std::string_view(line->command)) +
                           "' (try --help)");
    }
    if (line->arguments.size() < command->operand_count ||
        line->arguments.size() > command->operand_count + command->optional_count) {
        std::string expected =
            command->operands.empty() ? "no arguments" : std::string(command->operands);
        return usage_error(std::string(command->name) + " takes " + expected);
    }

    Folders folders;
    if (line->program_folder) {
        folders = folders_in(*line->program_folder);
    } else {
        std::error_code folder_error;
        folders = default_folders(folder_error);
        if (folder_error) {
            std::cerr << "zemrakctl: cannot find the program folder: " << folder_error.message()
                      << '\n';
            return kExitFailure;
        }
    }
    const Context context{folders, std::cout, std::cerr};
    return command->run(context, line->arguments);
}
