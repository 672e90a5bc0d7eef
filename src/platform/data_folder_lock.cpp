#include "platform/data_folder_lock.h"

#include <cerrno>
#include <fcntl.h>
#include <sys/file.h>

namespace zemrak {
namespace {

UniqueFd open_folder(const std::filesystem::path& folder) {
    UniqueFd fd(::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (!fd && errno == ENOENT) {
        // The first start of two programs at once: both make the folder, then wait in turn.
        std::error_code ignored;
        std::filesystem::create_directories(folder, ignored);
        fd = UniqueFd(::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    }
    return fd;
}

} // namespace

DataFolderLock::DataFolderLock(std::filesystem::path folder) : m_folder(std::move(folder)) {}

void DataFolderLock::lock() {
    m_mutex.lock();
    if (m_depth++ > 0) {
        return;
    }
    m_fd = open_folder(m_folder);
    if (m_fd) {
        while (::flock(m_fd.get(), LOCK_EX) != 0 && errno == EINTR) {
        }
    }
}

void DataFolderLock::unlock() {
    if (--m_depth == 0) {
        // Closing the only descriptor of the open folder releases the lock.
        m_fd.reset();
    }
    m_mutex.unlock();
}

} // namespace zemrak
