#pragma once
// A data file as this process last read or wrote it.

#include "platform/data_folder_lock.h"
#include "platform/file_io.h"

#include <cstdint>
#include <filesystem>
#include <functional>
#include <memory>
#include <mutex>
#include <span>
#include <system_error>
#include <vector>

namespace zemrak {

// The window keeps its data in memory for the whole run, while zemrakctl or another copy of
// the program may change the same files. A save that would write over a version this process
// has not read is refused, and whoever watches the folder asks changed_outside() to read the
// file again. The version is told by its stamp; `content` holds fingerprints of the records
// of that version, so a reader can tell its own unsaved changes from the ones it reads.
class SyncedFile {
public:
    // `lock` is the data folder's lock of this process, shared by every file in the folder;
    // null leaves saves without it (they still compare stamps).
    SyncedFile(std::filesystem::path file, std::shared_ptr<DataFolderLock> lock);

    [[nodiscard]] const std::filesystem::path& file() const { return m_file; }

    // Takes the file as it is now as the version this process knows, read with `content`.
    // Call right after the read, with the folder held, so no other writer comes in between.
    void note_read(std::vector<std::uint64_t> content);

    // The data folder's lock of this process (null when saves take none). Every writer holds
    // it (FolderHold) around write() and whatever it takes before: the folder is always taken
    // first, so two writers never wait for each other's locks.
    [[nodiscard]] DataFolderLock* folder() const { return m_lock.get(); }

    // With the folder held: runs `write` unless the file is there but no longer the version
    // this process knows, which gives FileError::changed_outside and writes nothing. After a
    // successful write the new file and `content` are the version known. Returns what `write`
    // returned. Any thread.
    [[nodiscard]] std::error_code write(const std::function<std::error_code()>& write,
                                        std::vector<std::uint64_t> content);

    // True when the file is not the version this process last read or wrote. Any thread.
    [[nodiscard]] bool changed_outside() const;
    // True when the file is there but another version than the one known: what write()
    // refuses to write over. Any thread.
    [[nodiscard]] bool holds_another_version() const;
    // The fingerprints given with that version.
    [[nodiscard]] std::vector<std::uint64_t> content() const;

private:
    [[nodiscard]] bool holds_another_version_locked() const;

    std::filesystem::path m_file;
    std::shared_ptr<DataFolderLock> m_lock;
    mutable std::mutex m_mutex; // taken after the folder, never before it
    FileStamp m_known;
    std::vector<std::uint64_t> m_content;
};

// Holds a data folder for a scope; null holds nothing.
class FolderHold {
public:
    explicit FolderHold(DataFolderLock* lock) : m_lock(lock) {
        if (m_lock != nullptr) {
            m_lock->lock();
        }
    }
    ~FolderHold() {
        if (m_lock != nullptr) {
            m_lock->unlock();
        }
    }
    FolderHold(const FolderHold&) = delete;
    FolderHold& operator=(const FolderHold&) = delete;

private:
    DataFolderLock* m_lock;
};

// A 64-bit fingerprint of a record's bytes (FNV-1a): equal bytes give equal fingerprints, and
// different ones almost never do.
[[nodiscard]] std::uint64_t fingerprint(std::span<const std::uint8_t> bytes);

} // namespace zemrak
