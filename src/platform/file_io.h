#pragma once
// Whole-file reads and atomic writes of the program's data files.

#include "platform/unique_fd.h"

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <span>
#include <system_error>
#include <vector>

namespace zemrak {

// Errors of our own for files the program refuses to read.
enum class FileError {
    not_regular = 1, // a named pipe, a device or a socket stands where a file should be
    too_large,       // larger than any file of its kind that the program writes
    // changed by another program since this one last read or wrote it: not written over
    changed_outside,
    // one of the files the program keeps its data in: an export never writes over it
    data_file,
};
[[nodiscard]] const std::error_category& file_error_category();
[[nodiscard]] std::error_code make_error_code(FileError e);

// What tells one version of a file from another without reading it: a save replaces the
// file (a new inode), and an edit in place changes its size or modification time.
struct FileStamp {
    bool exists = false;
    std::uint64_t device = 0;
    std::uint64_t inode = 0;
    std::uint64_t size = 0;
    std::int64_t modified_ns = 0;

    friend bool operator==(const FileStamp&, const FileStamp&) = default;
};

// The stamp of the file `file` leads to (through symbolic links); `exists` is false when it
// cannot be looked at.
[[nodiscard]] FileStamp file_stamp(const std::filesystem::path& file);

// Opens a file for reading. The open never waits (a named pipe without a writer would hold
// the program forever), and only a regular file is accepted: a folder gives
// std::errc::is_a_directory, any other kind FileError::not_regular. An invalid descriptor and
// the error come back on failure.
[[nodiscard]] UniqueFd open_for_reading(const std::filesystem::path& file, std::error_code& error);

// True for the failures to open a file that mean it is not there: no such file, or a file
// where one of its folders should be (so none can be inside). Any other (no permission, a
// folder in its place, an I/O error) is a file that exists but cannot be read: it must not
// be taken for a missing one and replaced.
[[nodiscard]] bool file_missing(const std::error_code& error);

// Reads up to buffer.size() bytes, retrying short reads until end of file. Returns the number
// of bytes read; on a read error sets `error` and returns what was read before it.
[[nodiscard]] std::size_t read_fully(int fd, std::span<std::uint8_t> buffer,
                                     std::error_code& error);

// Size of an open file in bytes, or 0 with `error` set.
[[nodiscard]] std::uint64_t file_size(int fd, std::error_code& error);

// The most the program reads of a text file (settings, language, menus), in bytes.
inline constexpr std::uint64_t kMaxTextFileBytes = 16 * 1024 * 1024;

// FileError::too_large when the open file holds more than `max_bytes` bytes: what a reader
// asks before it takes memory for the file.
[[nodiscard]] std::error_code check_size(int fd, std::uint64_t max_bytes);

// Reads the whole file into `out`, as open_for_reading() opens it. A file of more than
// `max_bytes` bytes is refused with FileError::too_large before anything is read. On failure
// `out` is empty and the error is returned.
[[nodiscard]] std::error_code read_file(const std::filesystem::path& file,
                                        std::vector<std::uint8_t>& out,
                                        std::uint64_t max_bytes = kMaxTextFileBytes);

// Replaces `file` with exactly `bytes`: a temporary file in the same folder is written,
// flushed to disk and renamed over the old one, so a crash or a full disk never leaves a
// half-written file behind. The folder is created when missing. A `file` that exists but
// cannot be read is not replaced: the error that stops reading it is returned. The new file
// keeps the permission bits of the old one, and a `file` that is a symbolic link keeps being
// one: the file it leads to is replaced. After a save, the temporary files of `file` that
// saves killed on the way left behind are removed. Returns the first error.
[[nodiscard]] std::error_code write_file_atomically(const std::filesystem::path& file,
                                                    std::span<const std::uint8_t> bytes);

// The same for content given in pieces (for example one profile after another).
[[nodiscard]] std::error_code
write_file_atomically(const std::filesystem::path& file,
                      std::span<const std::span<const std::uint8_t>> pieces);

// Copies a file that could not be read whole to a free name beside it
// ("<name>.damaged", "<name>.damaged.1", ...) so that the next save cannot destroy what it
// held. A copy already there with the same content is used instead of a new one. Returns
// the copy's path, or an empty path with `error` set.
[[nodiscard]] std::filesystem::path keep_aside(const std::filesystem::path& file,
                                               std::error_code& error);

} // namespace zemrak

template <>
struct std::is_error_code_enum<zemrak::FileError> : std::true_type {};
