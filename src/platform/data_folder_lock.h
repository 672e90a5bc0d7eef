#pragma once
// One writer at a time in a data folder, across every process of the program.

#include "platform/unique_fd.h"

#include <filesystem>
#include <mutex>

namespace zemrak {

// An exclusive advisory lock (flock) on the data folder itself, so no lock file is left in
// it. Whoever loads, changes and saves a data file holds it from the load to the save; a
// second writer, in this process or another, waits until the first is done instead of
// failing. It is recursive within a thread: a command that holds the folder may call saves
// that take it again. Use it as a BasicLockable (std::lock_guard, std::unique_lock).
//
// A folder that cannot be opened (it does not exist yet and cannot be made, or it is not
// searchable) is not locked: the writes that follow fail on their own or no one else can
// reach it either.
class DataFolderLock {
public:
    explicit DataFolderLock(std::filesystem::path folder);
    DataFolderLock(const DataFolderLock&) = delete;
    DataFolderLock& operator=(const DataFolderLock&) = delete;

    // Blocks until this thread holds the folder; any thread.
    void lock();
    void unlock();

private:
    std::filesystem::path m_folder;
    std::recursive_mutex m_mutex;
    int m_depth = 0; // guarded by m_mutex
    UniqueFd m_fd;   // open while held
};

} // namespace zemrak
