#include "model/synced_file.h"

#include <utility>

namespace zemrak {

SyncedFile::SyncedFile(std::filesystem::path file, std::shared_ptr<DataFolderLock> lock)
    : m_file(std::move(file)), m_lock(std::move(lock)) {}

void SyncedFile::note_read(std::vector<std::uint64_t> content) {
    const std::lock_guard mine(m_mutex);
    m_known = file_stamp(m_file);
    m_content = std::move(content);
}

std::error_code SyncedFile::write(const std::function<std::error_code()>& write,
                                  std::vector<std::uint64_t> content) {
    const std::lock_guard mine(m_mutex);
    if (holds_another_version_locked()) {
        return make_error_code(FileError::changed_outside);
    }
    const std::error_code error = write();
    if (!error) {
        m_known = file_stamp(m_file);
        m_content = std::move(content);
    }
    return error;
}

bool SyncedFile::holds_another_version() const {
    const std::lock_guard mine(m_mutex);
    return holds_another_version_locked();
}

bool SyncedFile::holds_another_version_locked() const {
    // A file removed since holds nothing that a write could destroy.
    const FileStamp now = file_stamp(m_file);
    return now.exists && now != m_known;
}

bool SyncedFile::changed_outside() const {
    const std::lock_guard mine(m_mutex);
    return file_stamp(m_file) != m_known;
}

std::vector<std::uint64_t> SyncedFile::content() const {
    const std::lock_guard mine(m_mutex);
    return m_content;
}

std::uint64_t fingerprint(std::span<const std::uint8_t> bytes) {
    std::uint64_t hash = 0xcbf29ce484222325u;
    for (const std::uint8_t byte : bytes) {
        hash = (hash ^ byte) * 0x100000001b3u;
    }
    return hash;
}

} // namespace zemrak
