#include "platform/file_io.h"

#include <algorithm>
#include <array>
#include <cerrno>
#include <charconv>
#include <csignal>
#include <fcntl.h>
#include <optional>
#include <string>
#include <string_view>
#include <sys/stat.h>
#include <unistd.h>

namespace zemrak {
namespace {

class FileErrorCategory final : public std::error_category {
public:
    [[nodiscard]] const char* name() const noexcept override { return "file"; }
    [[nodiscard]] std::string message(int condition) const override {
        switch (static_cast<FileError>(condition)) {
        case FileError::not_regular:
            return "not a regular file (a pipe, a device or a socket); it is not read";
        case FileError::too_large:
            return "larger than any such file the program writes; it is not read";
        case FileError::changed_outside:
            return "changed by another program since it was read; it is read again first";
        case FileError::data_file:
            return "one of the program's own data files; choose another name";
        }
        return "unknown file error";
    }
};

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

constexpr std::string_view kTemporaryMark = ".tmp-";

// Creates a new temporary file beside `file`. The name carries the process id and a try
// counter so that two programs saving into the same folder never share a temporary file.
UniqueFd create_temporary(const std::filesystem::path& file, std::filesystem::path& temp,
                          std::error_code& error) {
    constexpr int kTries = 100;
    for (int attempt = 0; attempt < kTries; ++attempt) {
        temp = file;
        temp += std::string(kTemporaryMark) + std::to_string(::getpid()) + "-" +
                std::to_string(attempt);
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

// The file a save replaces: `file` itself, or the file its chain of symbolic links ends in
// (which need not exist yet), so that a data file the user keeps elsewhere through a link
// stays there and the link stays a link.
std::filesystem::path link_target(const std::filesystem::path& file, std::error_code& error) {
    constexpr int kMaxLinks = 40; // as the kernel allows
    std::filesystem::path current = file;
    for (int link = 0; link < kMaxLinks; ++link) {
        struct stat info {};
        if (::lstat(current.c_str(), &info) != 0 || !S_ISLNK(info.st_mode)) {
            return current;
        }
        const std::filesystem::path target = std::filesystem::read_symlink(current, error);
        if (error) {
            return {};
        }
        current = target.is_absolute() ? target : current.parent_path() / target;
    }
    error = std::make_error_code(std::errc::too_many_symbolic_link_levels);
    return {};
}

// Gives the new file the permission bits of the one it replaces (a file the user made
// private stays private); a new file keeps what the process's umask gives it.
std::error_code keep_mode(int fd, const std::filesystem::path& file) {
    struct stat info {};
    if (::stat(file.c_str(), &info) != 0 || !S_ISREG(info.st_mode)) {
        return {};
    }
    if (::fchmod(fd, info.st_mode & 07777) != 0) {
        return last_error();
    }
    return {};
}

// The process id in the name of a temporary file that create_temporary() made for `file`,
// or nothing for any other name.
std::optional<pid_t> temporary_owner(std::string_view name, std::string_view file) {
    if (!name.starts_with(file) || !name.substr(file.size()).starts_with(kTemporaryMark)) {
        return std::nullopt;
    }
    name.remove_prefix(file.size() + kTemporaryMark.size());
    pid_t pid = 0;
    const auto [after_pid, pid_error] =
        std::from_chars(name.data(), name.data() + name.size(), pid);
    if (pid_error != std::errc() || pid <= 0 || after_pid == name.data() + name.size() ||
        *after_pid != '-') {
        return std::nullopt;
    }
    const std::string_view attempt =
        name.substr(static_cast<std::size_t>(after_pid - name.data()) + 1);
    if (attempt.empty() ||
        !std::ranges::all_of(attempt, [](char c) { return c >= '0' && c <= '9'; })) {
        return std::nullopt;
    }
    return pid;
}

// Removes the temporary files of `file` left by saves that were killed before their rename:
// those of processes that no longer run. A live process may be in the middle of its own save.
void remove_stale_temporaries(const std::filesystem::path& file) {
    const std::filesystem::path folder =
        file.parent_path().empty() ? std::filesystem::path(".") : file.parent_path();
    const std::string name = file.filename().string();
    std::error_code error;
    for (const auto& entry : std::filesystem::directory_iterator(folder, error)) {
        const std::optional<pid_t> owner = temporary_owner(entry.path().filename().native(), name);
        if (owner && *owner != ::getpid() && ::kill(*owner, 0) != 0 && errno == ESRCH) {
            ::unlink(entry.path().c_str());
        }
    }
}

// True when both files can be read and hold the same bytes.
bool same_content(const std::filesystem::path& a, const std::filesystem::path& b) {
    std::error_code error;
    const UniqueFd first = open_for_reading(a, error);
    const UniqueFd second = error ? UniqueFd() : open_for_reading(b, error);
    if (error || file_size(first.get(), error) != file_size(second.get(), error) || error) {
        return false;
    }
    constexpr std::size_t kChunk = 64 * 1024;
    std::vector<std::uint8_t> left(kChunk);
    std::vector<std::uint8_t> right(kChunk);
    for (;;) {
        const std::size_t n = read_fully(first.get(), left, error);
        if (read_fully(second.get(), right, error) != n || error ||
            !std::equal(left.begin(), left.begin() + static_cast<std::ptrdiff_t>(n),
                        right.begin())) {
            return false;
        }
        if (n < kChunk) {
            return true;
        }
    }
}

// Makes a completed rename survive a power cut.
void sync_folder(const std::filesystem::path& folder) {
    const UniqueFd dir(::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (dir) {
        ::fsync(dir.get());
    }
}

} // namespace

const std::error_category& file_error_category() {
    static const FileErrorCategory category;
    return category;
}

std::error_code make_error_code(FileError e) {
    return {static_cast<int>(e), file_error_category()};
}

UniqueFd open_for_reading(const std::filesystem::path& file, std::error_code& error) {
    UniqueFd fd(::open(file.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK | O_NOCTTY));
    if (!fd) {
        error = last_error();
        return fd;
    }
    struct stat info {};
    if (::fstat(fd.get(), &info) != 0) {
        error = last_error();
        return {};
    }
    if (S_ISDIR(info.st_mode)) {
        error = std::make_error_code(std::errc::is_a_directory);
        return {};
    }
    if (!S_ISREG(info.st_mode)) {
        error = FileError::not_regular;
        return {};
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

FileStamp file_stamp(const std::filesystem::path& file) {
    struct stat info {};
    if (::stat(file.c_str(), &info) != 0) {
        return {};
    }
    return {true, static_cast<std::uint64_t>(info.st_dev), static_cast<std::uint64_t>(info.st_ino),
            static_cast<std::uint64_t>(info.st_size),
            static_cast<std::int64_t>(info.st_mtim.tv_sec) * 1'000'000'000 + info.st_mtim.tv_nsec};
}

std::error_code check_size(int fd, std::uint64_t max_bytes) {
    std::error_code error;
    const std::uint64_t size = file_size(fd, error);
    if (!error && size > max_bytes) {
        error = FileError::too_large;
    }
    return error;
}

std::error_code read_file(const std::filesystem::path& file, std::vector<std::uint8_t>& out,
                          std::uint64_t max_bytes) {
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
    // A file that grows while it is read is read up to the size it had here.
    if (size > max_bytes) {
        return FileError::too_large;
    }
    out.resize(static_cast<std::size_t>(size));
    out.resize(read_fully(fd.get(), out, error));
    if (error) {
        out.clear();
    }
    return error;
}

namespace {

// Reserves the whole size at once: the file system then allocates one run of blocks instead
// of finding them page by page as the data arrives, which takes a library of thousands of
// records about a quarter less CPU to save. Where that cannot be done the writes allocate as
// usual.
void reserve_space(int fd, std::span<const std::span<const std::uint8_t>> pieces) {
    std::size_t total = 0;
    for (const auto piece : pieces) {
        total += piece.size();
    }
    if (total > 0) {
        static_cast<void>(::fallocate(fd, 0, 0, static_cast<off_t>(total)));
    }
}

} // namespace

std::error_code write_file_atomically(const std::filesystem::path& file,
                                      std::span<const std::uint8_t> bytes) {
    const std::array pieces{bytes};
    return write_file_atomically(file, std::span<const std::span<const std::uint8_t>>(pieces));
}

std::error_code write_file_atomically(const std::filesystem::path& named,
                                      std::span<const std::span<const std::uint8_t>> pieces) {
    std::error_code error;
    const std::filesystem::path file = link_target(named, error);
    if (error) {
        return error;
    }
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
    error = keep_mode(fd.get(), file);
    reserve_space(fd.get(), pieces);
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
    remove_stale_temporaries(file);
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
            // A file that stays damaged is met again at every start: one copy of it is enough.
            if (same_content(file, copy)) {
                return copy;
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
