#pragma once
// The program's data and the rules that load it at start-up and move profiles in and out of
// it. The window and zemrakctl both work through this, so a rule is written once.

#include "macros/macro_library.h"
#include "model/device_params.h"
#include "model/profile_store.h"
#include "model/text_table.h"
#include "platform/folders.h"
#include "platform/language_choice.h"
#include "recoil/recoil_library.h"

#include <cstddef>
#include <filesystem>
#include <memory>
#include <string>
#include <string_view>
#include <system_error>
#include <vector>

namespace zemrak {

// What the start-up load of the stored data found, for the caller to report.
struct StartupLoad {
    // Why the data folder, which exists, cannot be written: what is loaded is shown, but no
    // change can be kept.
    std::error_code data_folder_error;
    StartupReport profiles;
    LibraryLoad macros;
    LibraryLoad recoils;
};

// A file that exists but was not read, and why.
struct FileProblem {
    std::filesystem::path file;
    std::error_code error;
};

// Which data files another program changed since this one last read or wrote them.
struct OutsideChanges {
    bool profiles = false;
    bool macros = false;
    bool recoils = false;

    [[nodiscard]] bool any() const { return profiles || macros || recoils; }
};

// What reading profile.bin again did.
struct ProfileReload {
    // The file could not be read: the list is as it was.
    std::error_code error;
    // Profiles changed here but not yet saved, by name: they are kept over what the file holds
    // (or added to it when it no longer has them), so the next save writes them.
    std::vector<std::u16string> kept;
};

// What importing a profile did.
struct ProfileImport {
    // Set when the file was refused (unreadable, not exactly one profile) or when profile.bin
    // could not be saved afterwards; `added` tells the two apart.
    std::error_code error;
    bool added = false;    // the profile is in the list, under `name`
    std::size_t index = 0; // its position in the list
    std::u16string name;
};

class AppData {
public:
    explicit AppData(Folders folders);
    AppData(const AppData&) = delete;
    AppData& operator=(const AppData&) = delete;

    // The first step of start-up: the device settings (Data.ini), the language texts and the
    // factory image for the sensor the settings name. Nothing here fails: missing files give
    // defaults, and so do files that exist but are refused (settings_problems() names them).
    // The texts are the English ones with those of `language` (a code such as "de") laid over
    // them, so that a key the language's file lacks, or a language without a file, shows
    // English.
    void load_settings(std::string_view language = kEnglish);
    // The settings or language files that the last load_settings() found but could not read.
    [[nodiscard]] const std::vector<FileProblem>& settings_problems() const {
        return m_settingsProblems;
    }
    // The second step: Data.bin and profile.bin (created on a first start), then macro.bin
    // and gun.bin. Call after load_settings().
    [[nodiscard]] StartupLoad load_data();
    // The profiles alone, as load_data() loads them, for work that needs no library.
    [[nodiscard]] StartupReport load_profiles();

    // The data folder's lock of this process: held from a load to the save that follows it,
    // so that writers in other processes wait for each other (see DataFolderLock).
    [[nodiscard]] DataFolderLock& folder_lock() { return *m_folderLock; }

    // The data files that another program changed since this one last read or wrote them.
    [[nodiscard]] OutsideChanges changed_outside() const;
    // Reads profile.bin again after another program changed it. Changes made here and not yet
    // saved are kept (see ProfileReload); the current profile stays the one of the same name,
    // else the one at the same position (the last one when the list is now shorter). A file
    // that holds no profile gives one default profile, which is not saved.
    [[nodiscard]] ProfileReload reload_profiles();

    [[nodiscard]] const Folders& folders() const { return m_store.folders(); }
    [[nodiscard]] const DeviceParams& params() const { return m_params; }
    [[nodiscard]] const TextTable& texts() const { return m_texts; }
    // The language text that the names of new profiles start with.
    [[nodiscard]] std::u16string profile_base_name() const;

    [[nodiscard]] ProfileStore& store() { return m_store; }
    [[nodiscard]] const ProfileStore& store() const { return m_store; }
    [[nodiscard]] ProfileList& profiles() { return m_store.profiles(); }
    [[nodiscard]] const ProfileList& profiles() const { return m_store.profiles(); }
    [[nodiscard]] MacroLibrary& macros() { return m_macros; }
    [[nodiscard]] const MacroLibrary& macros() const { return m_macros; }
    [[nodiscard]] RecoilLibrary& recoils() { return m_recoils; }
    [[nodiscard]] const RecoilLibrary& recoils() const { return m_recoils; }

    // Adds the profile held in `file` (a .pbin of exactly one profile) at the end of the list,
    // its name made unique ignoring case with _1, _2, ..., and saves profile.bin at once so
    // that it survives an exit before the next apply. The current profile does not change.
    // Refused with ProfileFileError::list_full when the list holds kMaxProfiles profiles.
    [[nodiscard]] ProfileImport import_profile(const std::filesystem::path& file);
    // Writes profile `index` to `file` as a .pbin; std::errc::invalid_argument when there is
    // no such profile, FileError::data_file when `file` is one of the data files.
    [[nodiscard]] std::error_code export_profile(std::size_t index,
                                                 const std::filesystem::path& file) const;

private:
    DeviceParams m_params;
    TextTable m_texts;
    std::vector<FileProblem> m_settingsProblems;
    std::shared_ptr<DataFolderLock> m_folderLock;
    ProfileStore m_store;
    MacroLibrary m_macros;
    RecoilLibrary m_recoils;
};

} // namespace zemrak
