#include "test_support/malformed_files.h"

#include "macros/macro_record.h"
#include "model/config_block.h"
#include "model/profile_files.h"
#include "model/record_library.h"
#include "platform/file_io.h"
#include "recoil/recoil_record.h"
#include "test_support/named_pipe.h"
#include "test_support/unreadable_file.h"

#include <fstream>
#include <random>
#include <system_error>

namespace zemrak::test {
namespace {

constexpr std::uint64_t kMaxImageBytes = 1024 * 1024;

void write(const std::filesystem::path& file, const std::string& bytes) {
    std::ofstream(file, std::ios::binary | std::ios::trunc) << bytes;
}

std::string random_bytes(std::size_t count) {
    std::mt19937 generator(20261209); // the same bytes on every run
    std::string bytes(count, '\0');
    for (char& byte : bytes) {
        byte = static_cast<char>(generator() & 0xFF);
    }
    return bytes;
}

} // namespace

std::vector<DataFileKind> data_file_kinds() {
    return {
        {"Data.ini", "device-params", kMaxTextFileBytes, 0},
        {"Language/lan.xml", "profiles", kMaxTextFileBytes, 0},
        {"Data/Data.bin", "profiles", 0, kIndexRecordSize},
        {"Data/profile.bin", "profiles", kMaxProfiles * ConfigBlock::kSize, ConfigBlock::kSize},
        {"Data/macro.bin", "macros", kMaxLibraryRecords * MacroRecord::kSize, MacroRecord::kSize},
        {"Data/gun.bin", "recoils", kMaxLibraryRecords * RecoilRecord::kSize, RecoilRecord::kSize}};
}

std::vector<Malformed> malformed_ways() {
    return {Malformed::empty,  Malformed::truncated, Malformed::random,   Malformed::oversized,
            Malformed::folder, Malformed::pipe,      Malformed::link_loop};
}

std::string describe(Malformed way) {
    switch (way) {
    case Malformed::empty:
        return "empty";
    case Malformed::truncated:
        return "truncated";
    case Malformed::random:
        return "random bytes";
    case Malformed::oversized:
        return "oversized";
    case Malformed::folder:
        return "a folder";
    case Malformed::pipe:
        return "a named pipe";
    case Malformed::link_loop:
        return "a link loop";
    }
    return "?";
}

void make_malformed(const std::filesystem::path& file, const DataFileKind& kind, Malformed way) {
    std::error_code ignored;
    std::filesystem::remove_all(file, ignored);
    std::filesystem::create_directories(file.parent_path());
    switch (way) {
    case Malformed::empty:
        write(file, "");
        break;
    case Malformed::truncated:
        write(file, kind.record == 0 ? std::string("[Mouse]\nVid=0x1\n<Language><Text key=\"a")
                                     : random_bytes(kind.record + kind.record / 2));
        break;
    case Malformed::random:
        write(file, random_bytes(4096));
        break;
    case Malformed::oversized:
        write(file, "");
        std::filesystem::resize_file(file, (kind.limit == 0 ? 1u << 30 : kind.limit) + 1);
        break;
    case Malformed::folder:
        make_unreadable(file, Unreadable::folder);
        break;
    case Malformed::pipe:
        make_pipe(file);
        break;
    case Malformed::link_loop:
        make_unreadable(file, Unreadable::link_loop);
        break;
    }
}

bool refused(const DataFileKind& kind, Malformed way) {
    switch (way) {
    case Malformed::folder:
    case Malformed::pipe:
    case Malformed::link_loop:
        return true;
    case Malformed::oversized:
        return kind.limit != 0;
    default:
        return false;
    }
}

FileImage image_of(const std::filesystem::path& file) {
    FileImage image;
    std::error_code error;
    image.type = std::filesystem::symlink_status(file, error).type();
    if (image.type != std::filesystem::file_type::regular) {
        return image;
    }
    image.size = std::filesystem::file_size(file, error);
    if (image.size <= kMaxImageBytes) {
        std::ifstream in(file, std::ios::binary);
        image.bytes.assign(std::istreambuf_iterator<char>(in), {});
    }
    return image;
}

bool original_kept(const std::filesystem::path& file, const FileImage& before) {
    if (image_of(file) == before) {
        return true;
    }
    if (before.type == std::filesystem::file_type::regular && before.size == 0) {
        return true;
    }
    std::error_code error;
    for (const auto& entry : std::filesystem::directory_iterator(file.parent_path(), error)) {
        const std::string name = entry.path().filename().string();
        if (name.starts_with(file.filename().string() + ".damaged") &&
            image_of(entry.path()) == before) {
            return true;
        }
    }
    return false;
}

} // namespace zemrak::test
