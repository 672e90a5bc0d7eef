#pragma once
// The desktop's autostart entry of the program: the file in the user's autostart folder that
// makes the desktop start the program, hidden in the tray, when the user logs in.

#include <filesystem>
#include <string>
#include <string_view>
#include <system_error>

namespace zemrak {

// The program starts hidden in the tray when it is given any argument; the autostart entry
// gives this one, which says why.
inline constexpr const char* kStartHiddenArgument = "--hidden";
inline constexpr const char* kAutostartFileName = "zemrak-mouse.desktop";

// The parts of the environment that decide the user's configuration folder.
struct XdgConfigEnvironment {
    std::string config_home; // $XDG_CONFIG_HOME, may be empty
    std::string home;        // $HOME, may be empty
};

[[nodiscard]] XdgConfigEnvironment xdg_config_from_process_environment();

// `$XDG_CONFIG_HOME/autostart/zemrak-mouse.desktop`, or `$HOME/.config/autostart/...` when
// XDG_CONFIG_HOME is unset or not an absolute path.
[[nodiscard]] std::filesystem::path autostart_entry_path(const XdgConfigEnvironment& xdg);

// The text of the entry that starts `executable` (an absolute path) with
// kStartHiddenArgument, listed by the desktop under `name`. The path is quoted and escaped
// as desktop entries require, whatever characters it holds.
[[nodiscard]] std::string autostart_entry(const std::filesystem::path& executable,
                                          std::string_view name);

// What stands at the entry's path.
struct AutostartStatus {
    bool present = false; // a file of that name exists (readable or not)
    bool ours = false;    // it carries the mark of the entries this program writes
    bool enabled = false; // the desktop starts it: present, and not switched off in the file
                          // (Hidden=true or X-GNOME-Autostart-enabled=false)
};

// Reads the entry. A file that exists but cannot be read is present, not ours and not
// enabled, with `error` set.
[[nodiscard]] AutostartStatus read_autostart(const std::filesystem::path& entry,
                                             std::error_code& error);

// Errors of our own.
enum class AutostartError {
    // A file of the entry's name that this program did not write (the user's own, or a copy
    // of the program's menu entry made by the desktop's start-up settings): it is never
    // replaced or removed, since it may say more than the program knows.
    foreign_entry = 1,
};
[[nodiscard]] const std::error_category& autostart_error_category();
[[nodiscard]] std::error_code make_error_code(AutostartError e);

// Writes the program's entry atomically (creating the autostart folder when missing), over
// an entry of its own; a foreign one is left as it is (AutostartError::foreign_entry).
[[nodiscard]] std::error_code enable_autostart(const std::filesystem::path& entry,
                                               const std::filesystem::path& executable,
                                               std::string_view name);

// Removes the program's entry; no entry is no error. A foreign one is left as it is
// (AutostartError::foreign_entry).
[[nodiscard]] std::error_code disable_autostart(const std::filesystem::path& entry);

} // namespace zemrak

template <>
struct std::is_error_code_enum<zemrak::AutostartError> : std::true_type {};
