#include "platform/autostart.h"

#include "platform/file_io.h"

#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

namespace zemrak {
namespace {

// The key that marks an entry as the program's own; desktops ignore keys starting with X-.
constexpr std::string_view kMarkKey = "X-Zemrak-Mouse-Autostart";
constexpr std::string_view kMainGroup = "[Desktop Entry]";

class AutostartErrorCategory final : public std::error_category {
public:
    [[nodiscard]] const char* name() const noexcept override { return "autostart"; }
    [[nodiscard]] std::string message(int condition) const override {
        switch (static_cast<AutostartError>(condition)) {
        case AutostartError::foreign_entry:
            return "an autostart entry of that name was not written by this program; it is "
                   "left as it is";
        }
        return "unknown autostart error";
    }
};

std::string env_or_empty(const char* name) {
    const char* value = std::getenv(name);
    return value != nullptr ? value : "";
}

std::string_view trimmed(std::string_view text) {
    const auto first = text.find_first_not_of(" \t\r");
    if (first == std::string_view::npos) {
        return {};
    }
    const auto last = text.find_last_not_of(" \t\r");
    return text.substr(first, last - first + 1);
}

// One argument of an Exec line: quoted when it holds anything the line would otherwise split
// or expand, with the characters that keep their meaning inside quotes escaped.
std::string exec_argument(std::string_view argument) {
    constexpr std::string_view kReserved = " \t\n\"'\\><~|&;$*?#()`";
    std::string out;
    const bool quote = argument.empty() || argument.find_first_of(kReserved) != std::string::npos;
    if (quote) {
        out += '"';
    }
    for (const char c : argument) {
        if (quote && (c == '"' || c == '`' || c == '$' || c == '\\')) {
            out += '\\';
        }
        if (c == '%') {
            out += '%'; // field codes start with %: a literal one is doubled
        }
        out += c;
    }
    if (quote) {
        out += '"';
    }
    return out;
}

// A value as the desktop entry's string escapes write it: the Exec line is read with them
// before it is split into arguments.
std::string escaped_value(std::string_view value) {
    std::string out;
    for (const char c : value) {
        switch (c) {
        case '\\':
            out += "\\\\";
            break;
        case '\n':
            out += "\\n";
            break;
        case '\t':
            out += "\\t";
            break;
        case '\r':
            out += "\\r";
            break;
        default:
            out += c;
        }
    }
    return out;
}

} // namespace

const std::error_category& autostart_error_category() {
    static const AutostartErrorCategory category;
    return category;
}

std::error_code make_error_code(AutostartError e) {
    return {static_cast<int>(e), autostart_error_category()};
}

XdgConfigEnvironment xdg_config_from_process_environment() {
    return {env_or_empty("XDG_CONFIG_HOME"), env_or_empty("HOME")};
}

std::filesystem::path autostart_entry_path(const XdgConfigEnvironment& xdg) {
    // Relative values of XDG_CONFIG_HOME are invalid and must be ignored.
    const std::filesystem::path config_home =
        !xdg.config_home.empty() && xdg.config_home.front() == '/'
            ? std::filesystem::path(xdg.config_home)
            : std::filesystem::path(xdg.home) / ".config";
    return config_home / "autostart" / kAutostartFileName;
}

std::string autostart_entry(const std::filesystem::path& executable, std::string_view name) {
    std::string text = "# Written by zemrak-mouse when \"Start with the desktop\" was chosen in "
                       "its menu;\n# choosing it again removes this file.\n";
    text += kMainGroup;
    text += "\nType=Application\nName=";
    text += escaped_value(name);
    text += "\nExec=";
    text += escaped_value(exec_argument(executable.string()) + " " + kStartHiddenArgument);
    text += "\nIcon=zemrak-mouse\nTerminal=false\nX-GNOME-Autostart-enabled=true\n";
    text += kMarkKey;
    text += "=true\n";
    return text;
}

AutostartStatus read_autostart(const std::filesystem::path& entry, std::error_code& error) {
    error.clear();
    std::vector<std::uint8_t> bytes;
    if (const std::error_code read_error = read_file(entry, bytes)) {
        if (file_missing(read_error)) {
            return {};
        }
        error = read_error;
        return {true, false, false};
    }
    AutostartStatus status{true, false, true};
    const std::string_view text(reinterpret_cast<const char*>(bytes.data()), bytes.size());
    bool in_main_group = false;
    std::size_t start = 0;
    while (start < text.size()) {
        const std::size_t end = std::min(text.find('\n', start), text.size());
        const std::string_view line = trimmed(text.substr(start, end - start));
        start = end + 1;
        if (line.starts_with('[')) {
            in_main_group = line == kMainGroup;
            continue;
        }
        const std::size_t equals = line.find('=');
        if (!in_main_group || line.starts_with('#') || equals == std::string_view::npos) {
            continue;
        }
        const std::string_view key = trimmed(line.substr(0, equals));
        const std::string_view value = trimmed(line.substr(equals + 1));
        if (key == kMarkKey && value == "true") {
            status.ours = true;
        } else if ((key == "Hidden" && value == "true") ||
                   (key == "X-GNOME-Autostart-enabled" && value == "false")) {
            status.enabled = false;
        }
    }
    return status;
}

std::error_code enable_autostart(const std::filesystem::path& entry,
                                 const std::filesystem::path& executable, std::string_view name) {
    std::error_code error;
    const AutostartStatus status = read_autostart(entry, error);
    if (status.present && !status.ours) {
        return error ? error : make_error_code(AutostartError::foreign_entry);
    }
    const std::string text = autostart_entry(executable, name);
    return write_file_atomically(
        entry, std::span(reinterpret_cast<const std::uint8_t*>(text.data()), text.size()));
}

std::error_code disable_autostart(const std::filesystem::path& entry) {
    std::error_code error;
    const AutostartStatus status = read_autostart(entry, error);
    if (!status.present) {
        return {};
    }
    if (!status.ours) {
        return error ? error : make_error_code(AutostartError::foreign_entry);
    }
    std::filesystem::remove(entry, error);
    return error;
}

} // namespace zemrak
