#pragma once
// Where the program finds its shipped files and keeps its data files.

#include <filesystem>
#include <string>
#include <system_error>

namespace zemrak {

// The program's own files, each named here and nowhere else.
// In the program folder:
inline constexpr const char* kSettingsFileName = "Data.ini";
inline constexpr const char* kLanguageFileName = "Language/lan.xml";
inline constexpr const char* kLogoFileName = "logo.png";
inline constexpr const char* kMenuFolderName = "res/menus";
// The udev rule that lets the user at the seat write to the mouse:
inline constexpr const char* kUdevRuleFileName = "70-zemrak-mouse.rules";
// In the data folder (Default.pbin may be in either; the data folder's copy wins):
inline constexpr const char* kIndexFileName = "Data.bin";
inline constexpr const char* kProfilesFileName = "profile.bin";
inline constexpr const char* kFactoryProfileFileName = "Default.pbin";
inline constexpr const char* kMacroFileName = "macro.bin";
inline constexpr const char* kRecoilFileName = "gun.bin";

struct Folders {
    // Holds Data.ini, Language/, Default.pbin and the other shipped files.
    std::filesystem::path program;
    // Holds Data.bin, profile.bin, macro.bin and gun.bin.
    std::filesystem::path data;
    // Holds the HID access libraries: the program folder, or `<prefix>/lib/zemrak-mouse` for
    // an installed program.
    std::filesystem::path libraries;
};

// The parts of the environment that decide the per-user data folder.
struct XdgEnvironment {
    std::string data_home; // $XDG_DATA_HOME, may be empty
    std::string home;      // $HOME, may be empty
};

[[nodiscard]] XdgEnvironment xdg_from_process_environment();

// The running executable; empty with `error` set when it cannot be found. An executable
// replaced on disk while it runs (an upgrade) is named by the path it was started from.
[[nodiscard]] std::filesystem::path executable_path(std::error_code& error);

// The folder of the running executable; empty with `error` set when it cannot be found.
[[nodiscard]] std::filesystem::path executable_folder(std::error_code& error);

// The program folder for an executable in `exe_folder`: the folder itself when it holds
// Data.ini (portable use and the build tree), else `<exe_folder>/../share/zemrak-mouse` when
// that holds Data.ini (an installed program), else the executable's folder.
[[nodiscard]] std::filesystem::path find_program_folder(const std::filesystem::path& exe_folder);

// `<program>/Data` when it is, or can be made, a writable folder, or when it holds the user's
// data files even though it cannot be written (the data is there: a folder elsewhere would
// look as if it were gone); otherwise the per-user folder `$XDG_DATA_HOME/zemrak-mouse/Data`
// (default `~/.local/share/zemrak-mouse/Data`).
[[nodiscard]] std::filesystem::path choose_data_folder(const std::filesystem::path& program,
                                                       const XdgEnvironment& xdg);

// Why files cannot be made or replaced in `folder`, which exists; empty when they can, or
// when there is no such folder yet.
[[nodiscard]] std::error_code folder_write_error(const std::filesystem::path& folder);

// `$XDG_DATA_HOME/zemrak-mouse/Data`, or `$HOME/.local/share/zemrak-mouse/Data` when
// XDG_DATA_HOME is unset or not an absolute path.
[[nodiscard]] std::filesystem::path per_user_data_folder(const XdgEnvironment& xdg);

// Both folders for the running executable: a portable program keeps its data beside it as
// choose_data_folder() says, an installed one (found through its share folder) per user.
[[nodiscard]] Folders default_folders(std::error_code& error);

// True when `file` is one of the files the program keeps in `data_folder` (Data.bin,
// profile.bin, Default.pbin, macro.bin, gun.bin), however the path reaches it: exports and
// saves of the user's choosing must never write over the data itself.
[[nodiscard]] bool is_data_file(const std::filesystem::path& data_folder,
                                const std::filesystem::path& file);

// Both folders when the caller names the program folder: its Data subfolder holds the data.
[[nodiscard]] Folders folders_in(const std::filesystem::path& program);

} // namespace zemrak
