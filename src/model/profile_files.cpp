#include "model/profile_files.h"

#include "model/byte_io.h"
#include "platform/file_io.h"

#include <array>
#include <string>

namespace zemrak {
namespace {

class ProfileFileCategory final : public std::error_category {
public:
    [[nodiscard]] const char* name() const noexcept override { return "profile file"; }
    [[nodiscard]] std::string message(int condition) const override {
        switch (static_cast<ProfileFileError>(condition)) {
        case ProfileFileError::wrong_size:
            return "the file does not hold exactly one profile (" +
                   std::to_string(ConfigBlock::kSize) + " bytes)";
        case ProfileFileError::list_full:
            return "the list already holds the most profiles it may keep (" +
                   std::to_string(kMaxProfiles) + ")";
        }
        return "unknown profile file error";
    }
};

} // namespace

const std::error_category& profile_file_category() {
    static const ProfileFileCategory category;
    return category;
}

std::error_code make_error_code(ProfileFileError e) {
    return {static_cast<int>(e), profile_file_category()};
}

bool load_index_record(const std::filesystem::path& file, IndexRecord& record) {
    std::error_code ignored;
    return load_index_record(file, record, ignored);
}

bool load_index_record(const std::filesystem::path& file, IndexRecord& record,
                       std::error_code& error) {
    error.clear();
    const UniqueFd fd = open_for_reading(file, error);
    if (error) {
        return false;
    }
    // Reading over the current values keeps whatever a short file does not reach.
    std::array<std::uint8_t, kIndexRecordSize> bytes{};
    store_i32(bytes, 0, record.index);
    store_i32(bytes, 4, record.reserved);
    static_cast<void>(read_fully(fd.get(), bytes, error));
    if (error) {
        return false;
    }
    record.index = load_i32(bytes, 0);
    record.reserved = load_i32(bytes, 4);
    return true;
}

std::error_code save_index_record(const std::filesystem::path& file, const IndexRecord& record) {
    std::array<std::uint8_t, kIndexRecordSize> bytes{};
    store_i32(bytes, 0, record.index);
    store_i32(bytes, 4, record.reserved);
    return write_file_atomically(file, bytes);
}

ProfilesLoad load_profiles(const std::filesystem::path& file, ProfileList& list) {
    ProfilesLoad result;
    std::error_code error;
    const UniqueFd fd = open_for_reading(file, error);
    if (error) {
        if (!file_missing(error)) {
            result.error = error;
        }
        return result;
    }
    // A partial record after the last whole one is still read, to be kept aside.
    constexpr std::uint64_t kMaxBytes =
        static_cast<std::uint64_t>(kMaxProfiles + 1) * ConfigBlock::kSize - 1;
    error = check_size(fd.get(), kMaxBytes);
    if (error) {
        result.error = error;
        return result;
    }
    result.opened = true;
    while (result.loaded < kMaxProfiles) {
        // Each record is read straight into its own heap block: no staging copy.
        auto block = std::make_unique_for_overwrite<ConfigBlock>();
        const std::size_t read = read_fully(fd.get(), block->bytes(), error);
        if (read == ConfigBlock::kSize) {
            list.append(std::move(block));
            ++result.loaded;
            continue;
        }
        result.whole = read == 0 && !error;
        result.error = error;
        return result;
    }
    // The file grew while it was read.
    std::array<std::uint8_t, 1> more{};
    if (read_fully(fd.get(), more, error) != 0 || error) {
        result.error = error ? error : make_error_code(FileError::too_large);
    }
    return result;
}

std::error_code save_profiles(const std::filesystem::path& file, const ProfileList& list) {
    const auto images = list.images();
    return write_file_atomically(file, images);
}

std::error_code load_profile_image(const std::filesystem::path& file, ConfigBlock& block) {
    std::error_code error;
    const UniqueFd fd = open_for_reading(file, error);
    if (error) {
        return error;
    }
    if (file_size(fd.get(), error) != ConfigBlock::kSize) {
        return error ? error : make_error_code(ProfileFileError::wrong_size);
    }
    ConfigBlock loaded;
    if (read_fully(fd.get(), loaded.bytes(), error) != ConfigBlock::kSize) {
        return error ? error : make_error_code(ProfileFileError::wrong_size);
    }
    block = loaded;
    return {};
}

std::error_code save_profile_image(const std::filesystem::path& file, const ConfigBlock& block) {
    return write_file_atomically(file, block.bytes());
}

} // namespace zemrak
