#include "fuzz_file.h"

#include <cstdlib>
#include <string>
#include <sys/mman.h>
#include <unistd.h>

namespace zemrak::fuzz {

MemoryFile::MemoryFile(const std::uint8_t* data, std::size_t size)
    : m_fd(::memfd_create("fuzz-input", MFD_CLOEXEC)) {
    if (m_fd < 0) {
        std::abort();
    }
    std::size_t done = 0;
    while (done < size) {
        const ssize_t n = ::write(m_fd, data + done, size - done);
        if (n <= 0) {
            std::abort();
        }
        done += static_cast<std::size_t>(n);
    }
}

MemoryFile::~MemoryFile() {
    ::close(m_fd);
}

std::filesystem::path MemoryFile::path() const {
    return "/proc/self/fd/" + std::to_string(m_fd);
}

namespace {

// A folder of this process's own, removed when the fuzzer ends.
class Scratch {
public:
    Scratch() {
        // Saves flush to disk: in memory they cost far less.
        std::error_code ignored;
        const std::filesystem::path parent = std::filesystem::is_directory("/dev/shm", ignored)
                                                 ? std::filesystem::path("/dev/shm")
                                                 : std::filesystem::temp_directory_path();
        std::string name = (parent / "zemrak-fuzz-XXXXXX").string();
        if (::mkdtemp(name.data()) == nullptr) {
            std::abort();
        }
        m_path = name;
    }
    ~Scratch() {
        std::error_code ignored;
        std::filesystem::remove_all(m_path, ignored);
    }
    Scratch(const Scratch&) = delete;
    Scratch& operator=(const Scratch&) = delete;

    [[nodiscard]] const std::filesystem::path& path() const { return m_path; }

private:
    std::filesystem::path m_path;
};

} // namespace

std::filesystem::path scratch_folder() {
    static const Scratch base;
    const std::filesystem::path run = base.path() / "run";
    std::filesystem::remove_all(run);
    std::filesystem::create_directories(run);
    return run;
}

} // namespace zemrak::fuzz
