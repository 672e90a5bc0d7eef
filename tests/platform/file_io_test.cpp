#include "platform/file_io.h"
#include "test_support/named_pipe.h"
#include "test_support/temp_dir.h"
#include "test_support/unreadable_file.h"

#include <array>
#include <cstdint>
#include <iterator>
#include <string>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

#include <gtest/gtest.h>

namespace zemrak {
namespace {

using test::Unreadable;

TEST(AtomicWrite, NeverRenamesOverAFileThatExistsButCannotBeRead) {
    const std::array<std::uint8_t, 3> bytes{1, 2, 3};
    for (const Unreadable way : test::unreadable_ways()) {
        SCOPED_TRACE(test::describe(way));
        const test::TempDir dir;
        const std::filesystem::path file = dir / "profile.bin";
        test::make_unreadable(file, way);
        EXPECT_EQ(test::unreadable_reason(way), write_file_atomically(file, bytes));
        EXPECT_TRUE(test::left_as_made(file, way));
        EXPECT_EQ(1, std::distance(std::filesystem::directory_iterator(dir.path()),
                                   std::filesystem::directory_iterator()))
            << "no temporary file is left behind";
    }
}

TEST(ReadingFiles, OnlyARegularFileIsReadAndAPipeHoldsNothing) {
    const test::TempDir dir;
    const std::filesystem::path pipe = dir / "pipe";
    test::make_pipe(pipe);
    std::vector<std::uint8_t> bytes{1};
    std::error_code error;
    EXPECT_TRUE(test::returns_without_waiting(pipe, [&] { error = read_file(pipe, bytes); }));
    EXPECT_EQ(make_error_code(FileError::not_regular), error);
    EXPECT_TRUE(bytes.empty());

    // A device reached through a link would give endless or no bytes in place of the file.
    for (const char* device : {"/dev/zero", "/dev/null"}) {
        const std::filesystem::path link = dir / std::filesystem::path(device).filename();
        std::filesystem::create_symlink(device, link);
        EXPECT_EQ(make_error_code(FileError::not_regular), read_file(link, bytes)) << device;
    }
    EXPECT_EQ(std::make_error_code(std::errc::is_a_directory), read_file(dir.path(), bytes));

    test::write_bytes(dir / "plain", {4, 5});
    const std::filesystem::path to_plain = dir / "to-plain";
    std::filesystem::create_symlink("plain", to_plain);
    EXPECT_FALSE(read_file(to_plain, bytes));
    EXPECT_EQ((std::vector<std::uint8_t>{4, 5}), bytes);
}

TEST(AtomicWrite, KeepsTheModeAndWritesThroughALinkToItsTarget) {
    namespace fs = std::filesystem;
    const test::TempDir dir;
    const std::array<std::uint8_t, 2> bytes{7, 8};

    const fs::path private_file = dir / "private.bin";
    test::write_bytes(private_file, {1});
    const auto mode = fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read;
    fs::permissions(private_file, mode);
    ASSERT_FALSE(write_file_atomically(private_file, bytes));
    EXPECT_EQ(mode, fs::status(private_file).permissions());

    // profile.bin -> elsewhere/link.bin -> kept.bin, both links relative to their folders.
    fs::create_directories(dir / "elsewhere");
    test::write_bytes(dir / "elsewhere" / "kept.bin", {1});
    fs::create_symlink("kept.bin", dir / "elsewhere" / "link.bin");
    fs::create_symlink(fs::path("elsewhere") / "link.bin", dir / "profile.bin");
    ASSERT_FALSE(write_file_atomically(dir / "profile.bin", bytes));
    EXPECT_TRUE(fs::is_symlink(dir / "profile.bin"));
    EXPECT_TRUE(fs::is_symlink(dir / "elsewhere" / "link.bin"));
    EXPECT_EQ((std::vector<std::uint8_t>{7, 8}), test::read_bytes(dir / "elsewhere" / "kept.bin"));

    // A link to a file not made yet makes it.
    fs::create_symlink("later.bin", dir / "new.bin");
    ASSERT_FALSE(write_file_atomically(dir / "new.bin", bytes));
    EXPECT_TRUE(fs::is_symlink(dir / "new.bin"));
    EXPECT_EQ((std::vector<std::uint8_t>{7, 8}), test::read_bytes(dir / "later.bin"));
}

// The id of a process that has ended.
pid_t ended_process() {
    const pid_t child = ::fork();
    if (child == 0) {
        ::_exit(0);
    }
    ::waitpid(child, nullptr, 0);
    return child;
}

TEST(AtomicWrite, RemovesTheTemporariesThatKilledSavesOfTheFileLeft) {
    const test::TempDir dir;
    const std::string dead = std::to_string(ended_process());
    const std::string alive = std::to_string(::getppid());
    const std::vector<std::string> stale{"profile.bin.tmp-" + dead + "-0",
                                         "profile.bin.tmp-" + dead + "-12"};
    const std::vector<std::string> kept{
        "profile.bin.tmp-" + alive + "-0",    // a save in progress in another program
        "macro.bin.tmp-" + dead + "-0",       // another file's, removed at its own save
        "profile.bin.tmp-" + dead + "-0.bak", // not a name the program makes
        "profile.bin.tmp-notes",
    };
    for (const auto& names : {stale, kept}) {
        for (const std::string& name : names) {
            test::write_bytes(dir / name, {1, 2, 3});
        }
    }
    ASSERT_FALSE(write_file_atomically(dir / "profile.bin", std::array<std::uint8_t, 1>{9}));
    for (const std::string& name : stale) {
        EXPECT_FALSE(std::filesystem::exists(dir / name)) << name;
    }
    for (const std::string& name : kept) {
        EXPECT_TRUE(std::filesystem::exists(dir / name)) << name;
    }
}

} // namespace
} // namespace zemrak
