#pragma once
// The files that hold the profiles: Data.bin (current profile index), profile.bin (every
// profile, back to back), Default.pbin and exported .pbin files (one profile each). They are
// raw images without header, version or checksum.

#include "model/config_block.h"
#include "model/profile_list.h"

#include <cstdint>
#include <filesystem>
#include <system_error>

namespace zemrak {

// Errors of our own for profile files.
enum class ProfileFileError {
    wrong_size = 1, // the file does not hold exactly one profile image
    list_full,      // the list holds kMaxProfiles profiles: one more could never be read back
};
[[nodiscard]] const std::error_category& profile_file_category();
[[nodiscard]] std::error_code make_error_code(ProfileFileError e);

// Data.bin: the current profile index and a reserved word that is written back as read.
struct IndexRecord {
    std::int32_t index = 0;
    std::int32_t reserved = 0;
    friend bool operator==(const IndexRecord&, const IndexRecord&) = default;
};
inline constexpr std::size_t kIndexRecordSize = 8;

// Reads Data.bin over `record`. Returns false when the file cannot be opened or read, and
// `record` is left as it was; `error` says why (see file_missing() for a missing file). A
// shorter file leaves the fields it does not reach as they were.
[[nodiscard]] bool load_index_record(const std::filesystem::path& file, IndexRecord& record,
                                     std::error_code& error);
[[nodiscard]] bool load_index_record(const std::filesystem::path& file, IndexRecord& record);
[[nodiscard]] std::error_code save_index_record(const std::filesystem::path& file,
                                                const IndexRecord& record);

// The most profiles profile.bin may hold: a longer file is refused, not read.
inline constexpr std::size_t kMaxProfiles = 10'000;

// What reading profile.bin found.
struct ProfilesLoad {
    bool opened = false;    // false: the file does not exist or cannot be opened
    bool whole = true;      // false: a partial record at the end or a read error
    std::size_t loaded = 0; // whole records appended to the list
    // The file exists but could not be opened, holds more than kMaxProfiles profiles, or a
    // read failed: never a missing file.
    std::error_code error;
};

// Appends every whole record of profile.bin to `list`, in file order. A partial record at
// the end is not loaded.
[[nodiscard]] ProfilesLoad load_profiles(const std::filesystem::path& file, ProfileList& list);
// Writes every profile of the list, in order; an empty list gives an empty file.
[[nodiscard]] std::error_code save_profiles(const std::filesystem::path& file,
                                            const ProfileList& list);

// Reads a file that holds exactly one profile (Default.pbin, an exported .pbin). A file of
// another size is refused with ProfileFileError::wrong_size and `block` is left unchanged.
[[nodiscard]] std::error_code load_profile_image(const std::filesystem::path& file,
                                                 ConfigBlock& block);
[[nodiscard]] std::error_code save_profile_image(const std::filesystem::path& file,
                                                 const ConfigBlock& block);

} // namespace zemrak

template <>
struct std::is_error_code_enum<zemrak::ProfileFileError> : std::true_type {};
