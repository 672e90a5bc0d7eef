#include "platform/folders.h"

#include <cerrno>
#include <cstdlib>
#include <string_view>
#include <unistd.h>

namespace zemrak {
namespace {

constexpr const char* kDataFolderName = "Data";
constexpr const char* kAppFolderName = "zemrak-mouse";

bool holds_settings(const std::filesystem::path& folder) {
    std::error_code ignored;
    return std::filesystem::is_regular_file(folder / kSettingsFileName, ignored);
}

bool writable(const std::filesystem::path& folder) {
    return ::access(folder.c_str(), W_OK | X_OK) == 0;
}

bool holds_data(const std::filesystem::path& folder) {
    std::error_code ignored;
    for (const char* name : {kIndexFileName, kProfilesFileName, kMacroFileName, kRecoilFileName}) {
        if (std::filesystem::exists(std::filesystem::symlink_status(folder / name, ignored))) {
            return true;
        }
    }
    return false;
}

std::string env_or_empty(const char* name) {
    const char* value = std::getenv(name);
    return value != nullptr ? value : "";
}

} // namespace

XdgEnvironment xdg_from_process_environment() {
    return {env_or_empty("XDG_DATA_HOME"), env_or_empty("HOME")};
}

std::filesystem::path executable_path(std::error_code& error) {
    const std::filesystem::path exe = std::filesystem::read_symlink("/proc/self/exe", error);
    if (error) {
        return {};
    }
    // The kernel names a replaced executable "<path> (deleted)".
    constexpr std::string_view kReplaced = " (deleted)";
    const std::string& text = exe.native();
    if (text.ends_with(kReplaced) && !std::filesystem::exists(exe, error)) {
        error.clear();
        return text.substr(0, text.size() - kReplaced.size());
    }
    return exe;
}

std::filesystem::path executable_folder(std::error_code& error) {
    const std::filesystem::path exe = executable_path(error);
    return error ? std::filesystem::path() : exe.parent_path();
}

std::filesystem::path find_program_folder(const std::filesystem::path& exe_folder) {
    if (holds_settings(exe_folder)) {
        return exe_folder;
    }
    const std::filesystem::path installed =
        (exe_folder / ".." / "share" / kAppFolderName).lexically_normal();
    return holds_settings(installed) ? installed : exe_folder;
}

std::filesystem::path choose_data_folder(const std::filesystem::path& program,
                                         const XdgEnvironment& xdg) {
    const std::filesystem::path beside = program / kDataFolderName;
    std::error_code ignored;
    const bool usable = std::filesystem::is_directory(beside, ignored)
                            ? writable(beside) || holds_data(beside)
                            : !std::filesystem::exists(beside, ignored) && writable(program);
    return usable ? beside : per_user_data_folder(xdg);
}

std::error_code folder_write_error(const std::filesystem::path& folder) {
    if (::access(folder.c_str(), W_OK | X_OK) == 0 || errno == ENOENT) {
        return {};
    }
    return {errno, std::generic_category()};
}

std::filesystem::path per_user_data_folder(const XdgEnvironment& xdg) {
    // Relative values of XDG_DATA_HOME are invalid and must be ignored.
    const std::filesystem::path data_home =
        !xdg.data_home.empty() && xdg.data_home.front() == '/'
            ? std::filesystem::path(xdg.data_home)
            : std::filesystem::path(xdg.home) / ".local" / "share";
    return data_home / kAppFolderName / kDataFolderName;
}

Folders default_folders(std::error_code& error) {
    const std::filesystem::path exe = executable_folder(error);
    if (error) {
        return {};
    }
    const std::filesystem::path program = find_program_folder(exe);
    const XdgEnvironment xdg = xdg_from_process_environment();
    // An installed program keeps its data per user, even when run by someone who could
    // write into the shared folder.
    const bool installed = program != exe;
    if (installed) {
        return {program, per_user_data_folder(xdg),
                (exe / ".." / "lib" / kAppFolderName).lexically_normal()};
    }
    return {program, choose_data_folder(program, xdg), program};
}

bool is_data_file(const std::filesystem::path& data_folder, const std::filesystem::path& file) {
    std::error_code error;
    // Through links and "..": the names must lead to the same place, not just read alike.
    const std::filesystem::path target = std::filesystem::weakly_canonical(file, error);
    if (error) {
        return false;
    }
    const std::filesystem::path folder = std::filesystem::weakly_canonical(data_folder, error);
    if (error || target.parent_path() != folder) {
        return false;
    }
    const std::string name = target.filename().string();
    for (const char* kept : {kIndexFileName, kProfilesFileName, kFactoryProfileFileName,
                             kMacroFileName, kRecoilFileName}) {
        if (name == kept) {
            return true;
        }
    }
    return false;
}

Folders folders_in(const std::filesystem::path& program) {
    return {program, program / kDataFolderName, program};
}

} // namespace zemrak
