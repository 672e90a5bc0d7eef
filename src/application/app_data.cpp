#include "application/app_data.h"

#include "model/profile_files.h"
#include "model/unicode.h"
#include "platform/file_io.h"

#include <algorithm>
#include <optional>
#include <utility>

namespace zemrak {

AppData::AppData(Folders folders)
    : m_folderLock(std::make_shared<DataFolderLock>(folders.data)),
      m_store(std::move(folders), m_folderLock), m_macros(m_store.folders().data, m_folderLock),
      m_recoils(m_store.folders().data, m_folderLock) {}

void AppData::load_settings(std::string_view language) {
    const std::filesystem::path& program = folders().program;
    m_settingsProblems.clear();
    const auto note = [this](const std::filesystem::path& file, std::error_code error) {
        if (error) {
            m_settingsProblems.push_back({file, error});
        }
    };
    std::error_code error;
    m_params = read_device_params(program / kSettingsFileName, error);
    note(program / kSettingsFileName, error);
    m_texts = TextTable::load(program / kLanguageFileName, error);
    note(program / kLanguageFileName, error);
    if (language != kEnglish) {
        const std::filesystem::path translation = program / language_file_name(language);
        m_texts.overlay(TextTable::load(translation, error));
        note(translation, error);
    }
    m_store.load_factory_image(m_params.sensor);
}

StartupLoad AppData::load_data() {
    const std::lock_guard hold(*m_folderLock);
    StartupLoad load;
    load.data_folder_error = folder_write_error(folders().data);
    load.profiles = load_profiles();
    load.macros = m_macros.load();
    load.recoils = m_recoils.load();
    return load;
}

StartupReport AppData::load_profiles() {
    const std::lock_guard hold(*m_folderLock);
    return m_store.load_all(m_params.sensor, profile_base_name());
}

OutsideChanges AppData::changed_outside() const {
    return {m_store.profiles_sync()->changed_outside(), m_macros.changed_outside(),
            m_recoils.changed_outside()};
}

namespace {

// The position of the profile called `name` (ignoring case) in `list`, or nothing.
std::optional<std::size_t> find_profile(const ProfileList& list, std::u16string_view name) {
    for (std::size_t i = 0; i < list.size(); ++i) {
        if (equal_ignoring_case(list.at(i).name(), name)) {
            return i;
        }
    }
    return std::nullopt;
}

} // namespace

ProfileReload AppData::reload_profiles() {
    const std::lock_guard hold(*m_folderLock);
    ProfileReload result;
    ProfileList disk;
    const ProfilesLoad load = zemrak::load_profiles(m_store.profiles_file(), disk);
    if (load.error) {
        result.error = load.error;
        return result;
    }
    SyncedFile& sync = *m_store.profiles_sync();
    std::vector<std::uint64_t> saved = sync.content();
    std::sort(saved.begin(), saved.end());
    sync.note_read(profile_fingerprints(disk));

    // A profile whose bytes match no profile of the version last read or written here holds
    // changes of this window that no save has written yet.
    ProfileList& mine = profiles();
    for (std::size_t i = 0; i < mine.size(); ++i) {
        const ConfigBlock& profile = mine.at(i);
        if (std::binary_search(saved.begin(), saved.end(), fingerprint(profile.bytes()))) {
            continue;
        }
        if (const auto same = find_profile(disk, profile.name())) {
            disk.at(*same) = profile;
        } else if (disk.size() < kMaxProfiles) {
            disk.append(profile);
        } else {
            continue;
        }
        result.kept.push_back(profile.name());
    }

    const ConfigBlock* current = mine.current();
    const std::u16string current_name = current != nullptr ? current->name() : std::u16string();
    const std::int32_t current_index = mine.current_index();
    mine.clear();
    for (std::size_t i = 0; i < disk.size(); ++i) {
        mine.append(disk.at(i));
    }
    if (mine.empty()) {
        mine.add_default_profile(m_params.sensor, profile_base_name());
    }
    const auto same = find_profile(mine, current_name);
    const std::int32_t last = static_cast<std::int32_t>(mine.size()) - 1;
    static_cast<void>(
        mine.select(same ? static_cast<std::int32_t>(*same) : std::min(current_index, last)));
    return result;
}

std::u16string AppData::profile_base_name() const {
    return to_utf16(m_texts.text("profile_text"));
}

ProfileImport AppData::import_profile(const std::filesystem::path& file) {
    ProfileImport result;
    if (profiles().size() >= kMaxProfiles) {
        result.error = make_error_code(ProfileFileError::list_full);
        return result;
    }
    ConfigBlock block;
    if (const std::error_code error = load_profile_image(file, block)) {
        result.error = error;
        return result;
    }
    ProfileList& list = profiles();
    block.set_name(list.unique_name(block.name()));
    list.append(block);
    result.added = true;
    result.index = list.size() - 1;
    result.name = block.name();
    result.error = m_store.save_profiles();
    return result;
}

std::error_code AppData::export_profile(std::size_t index,
                                        const std::filesystem::path& file) const {
    if (index >= profiles().size()) {
        return std::make_error_code(std::errc::invalid_argument);
    }
    if (is_data_file(folders().data, file)) {
        return FileError::data_file;
    }
    return save_profile_image(file, profiles().at(index));
}

} // namespace zemrak
