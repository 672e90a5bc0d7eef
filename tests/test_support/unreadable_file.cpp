#include "test_support/unreadable_file.h"

#include "test_support/temp_dir.h"

#include <cstdint>
#include <unistd.h>

namespace zemrak::test {
namespace {

namespace fs = std::filesystem;

const std::vector<std::uint8_t> kContent{'k', 'e', 'p', 't', 0, 1, 2, 3};
constexpr const char* kInside = "inside";

} // namespace

std::vector<Unreadable> unreadable_ways() {
    if (::geteuid() == 0) {
        return {Unreadable::folder, Unreadable::link_loop};
    }
    return {Unreadable::folder, Unreadable::link_loop, Unreadable::no_permission};
}

std::string describe(Unreadable way) {
    switch (way) {
    case Unreadable::folder:
        return "a folder";
    case Unreadable::link_loop:
        return "a link loop";
    case Unreadable::no_permission:
        return "mode 000";
    }
    return "?";
}

void make_unreadable(const fs::path& file, Unreadable way) {
    fs::remove_all(file);
    fs::create_directories(file.parent_path());
    switch (way) {
    case Unreadable::folder:
        write_bytes(file / kInside, kContent);
        break;
    case Unreadable::link_loop:
        fs::create_symlink(file.filename(), file);
        break;
    case Unreadable::no_permission:
        write_bytes(file, kContent);
        fs::permissions(file, fs::perms::none);
        break;
    }
}

std::error_code unreadable_reason(Unreadable way) {
    switch (way) {
    case Unreadable::folder:
        return std::make_error_code(std::errc::is_a_directory);
    case Unreadable::link_loop:
        return std::make_error_code(std::errc::too_many_symbolic_link_levels);
    case Unreadable::no_permission:
        return std::make_error_code(std::errc::permission_denied);
    }
    return {};
}

bool left_as_made(const fs::path& file, Unreadable way) {
    std::error_code error;
    const fs::file_status status = fs::symlink_status(file, error);
    if (error) {
        return false;
    }
    switch (way) {
    case Unreadable::folder: {
        std::size_t entries = 0;
        for (const auto& entry : fs::directory_iterator(file, error)) {
            static_cast<void>(entry);
            ++entries;
        }
        return fs::is_directory(status) && !error && entries == 1 &&
               read_bytes(file / kInside) == kContent;
    }
    case Unreadable::link_loop:
        return fs::is_symlink(status) && fs::read_symlink(file, error) == file.filename();
    case Unreadable::no_permission: {
        if (!fs::is_regular_file(status) || status.permissions() != fs::perms::none) {
            return false;
        }
        fs::permissions(file, fs::perms::owner_read);
        const bool same = read_bytes(file) == kContent;
        fs::permissions(file, fs::perms::none);
        return same;
    }
    }
    return false;
}

} // namespace zemrak::test
