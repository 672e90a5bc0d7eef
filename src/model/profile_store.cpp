#include "model/profile_store.h"

#include "model/config_defaults.h"
#include "platform/file_io.h"

#include <utility>

namespace zemrak {

ProfileStore::ProfileStore(Folders folders, std::shared_ptr<DataFolderLock> lock)
    : m_folders(std::move(folders)),
      m_profilesSync(std::make_shared<SyncedFile>(profiles_file(), std::move(lock))) {}

std::vector<std::uint64_t> profile_fingerprints(const ProfileList& list) {
    std::vector<std::uint64_t> content;
    content.reserve(list.size());
    for (const auto image : list.images()) {
        content.push_back(fingerprint(image));
    }
    return content;
}

std::filesystem::path ProfileStore::index_file() const {
    return m_folders.data / kIndexFileName;
}

std::filesystem::path ProfileStore::profiles_file() const {
    return m_folders.data / kProfilesFileName;
}

std::filesystem::path ProfileStore::factory_profile_file() const {
    const std::filesystem::path own = m_folders.data / kFactoryProfileFileName;
    std::error_code ignored;
    return std::filesystem::is_regular_file(own, ignored)
               ? own
               : m_folders.program / kFactoryProfileFileName;
}

bool ProfileStore::load_factory_image(std::int32_t sensor) {
    ConfigBlock& factory = m_profiles.factory_image();
    if (!load_profile_image(factory_profile_file(), factory)) {
        return true;
    }
    factory = ConfigBlock{};
    fill_defaults(factory, sensor);
    return false;
}

StartupReport ProfileStore::load_all(std::int32_t sensor, std::u16string_view base_text) {
    StartupReport report;
    auto note_error = [&report](std::error_code error) {
        if (error && !report.save_error) {
            report.save_error = error;
        }
    };

    IndexRecord record;
    std::error_code index_error;
    m_indexReadError.clear();
    if (!load_index_record(index_file(), record, index_error)) {
        record = IndexRecord{};
        if (file_missing(index_error)) {
            report.index_file_created = true;
            note_error(save_index_record(index_file(), record));
        } else {
            m_indexReadError = report.index_read_error = index_error;
        }
    }
    m_indexReserved = record.reserved;

    m_profiles.clear();
    const ProfilesLoad load = load_profiles(profiles_file(), m_profiles);
    m_profilesReadError = report.profiles_read_error = load.error;
    if (load.error) {
        // What came before a read error is not the file the user keeps: work on a default
        // profile, as for a missing file, and leave the file alone.
        m_profiles.clear();
    } else {
        m_profilesSync->note_read(profile_fingerprints(m_profiles));
    }
    if (!load.error && load.opened && !load.whole) {
        std::error_code error;
        report.damaged_copy = keep_aside(profiles_file(), error);
        note_error(error);
    }
    if (m_profiles.empty()) {
        m_profiles.add_default_profile(sensor, base_text);
        if (!load.error) {
            report.default_profile_created = true;
            note_error(save_profiles());
        }
    }

    if (!m_profiles.select(record.index)) {
        report.index_out_of_range = true;
        static_cast<void>(m_profiles.select(0));
    }
    m_profiles.take_last_applied();
    return report;
}

std::error_code ProfileStore::save_profiles() const {
    if (m_profilesReadError) {
        return m_profilesReadError;
    }
    const FolderHold folder(m_profilesSync->folder());
    const std::uint64_t state = m_saveOrder->take();
    const auto write = [this] {
        return m_profilesSync->write(
            [this] { return zemrak::save_profiles(profiles_file(), m_profiles); },
            profile_fingerprints(m_profiles));
    };
    return m_saveOrder->write_in_order(state, write).value_or(std::error_code());
}

IndexRecord ProfileStore::index_record() const {
    return {m_profiles.current_index(), m_indexReserved};
}

std::error_code ProfileStore::save_current_index() const {
    if (m_indexReadError) {
        return m_indexReadError;
    }
    return save_index_record(index_file(), index_record());
}

} // namespace zemrak
