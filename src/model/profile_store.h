#pragma once

#include "model/profile_files.h"
#include "model/profile_list.h"
#include "model/save_order.h"
#include "model/synced_file.h"
#include "platform/folders.h"

#include <cstdint>
#include <filesystem>
#include <memory>
#include <string_view>
#include <system_error>
#include <vector>

namespace zemrak {

// What the start-up load found and did, for the caller to report.
struct StartupReport {
    bool index_file_created = false; // Data.bin was missing and has been written with index 0
    // profile.bin was missing or empty and has been written with one default profile.
    bool default_profile_created = false;
    bool index_out_of_range = false;    // the stored index selected no profile; 0 is current
    std::filesystem::path damaged_copy; // where an incomplete profile.bin was kept
    std::error_code save_error;         // the first save of the load that failed
    // Why Data.bin or profile.bin, which exists, could not be read (no permission, a folder in
    // its place, an I/O error). The load went on with index 0 or one default profile, but the
    // file is not written in this run: every save of it returns this error.
    std::error_code index_read_error;
    std::error_code profiles_read_error;
};

// The profile list bound to its files: loads them as start-up does and saves them.
class ProfileStore {
public:
    // `lock`: the data folder's lock of this process (null: saves do not take it).
    explicit ProfileStore(Folders folders, std::shared_ptr<DataFolderLock> lock = nullptr);

    [[nodiscard]] ProfileList& profiles() { return m_profiles; }
    [[nodiscard]] const ProfileList& profiles() const { return m_profiles; }
    [[nodiscard]] const Folders& folders() const { return m_folders; }

    [[nodiscard]] std::filesystem::path index_file() const;
    [[nodiscard]] std::filesystem::path profiles_file() const;
    // Default.pbin in the data folder when there is one there (a user's own factory
    // profile), else the one shipped in the program folder.
    [[nodiscard]] std::filesystem::path factory_profile_file() const;

    // Reads the factory image. A missing file or one that is not a single profile gives the
    // defaults of `sensor` (with an empty name) instead of an image that would leave the new
    // profiles without a working button. Returns true when the file was used.
    bool load_factory_image(std::int32_t sensor);

    // The start-up load: the current profile index (Data.bin, created when missing), then the
    // profiles (profile.bin; one default profile when the file is missing or holds none),
    // then the current profile is chosen by index (0 when out of range) and the last-applied
    // copy is taken. `base_text` is the text that default profile names start with. A file
    // that exists but cannot be read is used as a missing one would be, but never written
    // until the next load has read it.
    StartupReport load_all(std::int32_t sensor, std::u16string_view base_text);

    // Why Data.bin or profile.bin may not be written: what kept the last load from reading
    // it; empty when it may be written.
    [[nodiscard]] std::error_code index_read_error() const { return m_indexReadError; }
    [[nodiscard]] std::error_code profiles_read_error() const { return m_profilesReadError; }

    // Writes profile.bin from the list as it is now. Every other writer of the file (the apply
    // worker) goes through save_order(), so this state is never overwritten by an older one,
    // and through profiles_sync(), so no version written by another program since the last
    // load is overwritten either (FileError::changed_outside). Returns profiles_read_error(),
    // writing nothing, when it is set.
    [[nodiscard]] std::error_code save_profiles() const;
    // The order of the writes of profile.bin; shared with the copies an apply takes.
    [[nodiscard]] const std::shared_ptr<SaveOrder>& save_order() const { return m_saveOrder; }
    // profile.bin as this process last read or wrote it; shared with the copies an apply
    // takes. Its content holds one fingerprint per profile (profile_fingerprints()).
    [[nodiscard]] const std::shared_ptr<SyncedFile>& profiles_sync() const {
        return m_profilesSync;
    }
    // Data.bin as it is to be saved: the current index and the reserved word as read.
    [[nodiscard]] IndexRecord index_record() const;
    // Writes index_record() to Data.bin; returns index_read_error(), writing nothing, when it
    // is set.
    [[nodiscard]] std::error_code save_current_index() const;

private:
    Folders m_folders;
    ProfileList m_profiles;
    std::int32_t m_indexReserved = 0;
    std::error_code m_indexReadError;
    std::error_code m_profilesReadError;
    std::shared_ptr<SaveOrder> m_saveOrder = std::make_shared<SaveOrder>();
    std::shared_ptr<SyncedFile> m_profilesSync;
};

// One fingerprint per profile of `list`, in list order.
[[nodiscard]] std::vector<std::uint64_t> profile_fingerprints(const ProfileList& list);

} // namespace zemrak
