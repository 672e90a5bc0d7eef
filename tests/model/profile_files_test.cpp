#include "model/config_defaults.h"
#include "model/profile_files.h"
#include "test_support/temp_dir.h"

#include <gtest/gtest.h>

namespace zemrak {
namespace {

using test::read_bytes;
using test::TempDir;
using test::write_bytes;

// A profile whose every byte, reserved ones included, is set to something recognisable.
ConfigBlock patterned(std::uint8_t seed) {
    ConfigBlock block;
    auto bytes = block.bytes();
    for (std::size_t i = 0; i < bytes.size(); ++i) {
        bytes[i] = static_cast<std::uint8_t>((i * 31 + seed) & 0xFF);
    }
    return block;
}

std::vector<std::uint8_t> image_of(const ConfigBlock& block) {
    return {block.bytes().begin(), block.bytes().end()};
}

TEST(IndexFile, ReservedWordSurvivesLoadAndSave) {
    TempDir dir;
    write_bytes(dir / "Data.bin", {3, 0, 0, 0, 0xEF, 0xBE, 0xAD, 0xDE});
    IndexRecord record;
    ASSERT_TRUE(load_index_record(dir / "Data.bin", record));
    EXPECT_EQ(3, record.index);
    record.index = 1;
    ASSERT_FALSE(save_index_record(dir / "Data.bin", record));
    EXPECT_EQ((std::vector<std::uint8_t>{1, 0, 0, 0, 0xEF, 0xBE, 0xAD, 0xDE}),
              read_bytes(dir / "Data.bin"));
}

TEST(IndexFile, ShortFileLeavesTheUnreadBytesAsTheyWere) {
    TempDir dir;
    write_bytes(dir / "Data.bin", {2, 0, 0, 0, 0x11});
    IndexRecord record{7, 0x7F000000};
    ASSERT_TRUE(load_index_record(dir / "Data.bin", record));
    EXPECT_EQ(2, record.index);
    EXPECT_EQ(0x7F000011, record.reserved);

    write_bytes(dir / "Data.bin", {});
    IndexRecord untouched{5, 6};
    ASSERT_TRUE(load_index_record(dir / "Data.bin", untouched));
    EXPECT_EQ((IndexRecord{5, 6}), untouched);
    EXPECT_FALSE(load_index_record(dir / "missing.bin", untouched));
}

TEST(ProfilesFile, RoundTripsByteForByteInListOrder) {
    TempDir dir;
    ProfileList list;
    list.append(patterned(1));
    list.append(patterned(2));
    ASSERT_FALSE(save_profiles(dir / "profile.bin", list));
    const auto bytes = read_bytes(dir / "profile.bin");
    ASSERT_EQ(102'768u, bytes.size());

    ProfileList loaded;
    const ProfilesLoad load = load_profiles(dir / "profile.bin", loaded);
    EXPECT_TRUE(load.opened);
    EXPECT_TRUE(load.whole);
    ASSERT_EQ(2u, loaded.size());
    EXPECT_EQ(patterned(1), loaded.at(0));
    EXPECT_EQ(patterned(2), loaded.at(1));
}

TEST(ProfilesFile, SizesOfWrittenFiles) {
    TempDir dir;
    ProfileList list;
    ASSERT_FALSE(save_profiles(dir / "empty.bin", list));
    EXPECT_TRUE(read_bytes(dir / "empty.bin").empty());
    list.append(patterned(0));
    ASSERT_FALSE(save_profiles(dir / "one.bin", list));
    EXPECT_EQ(51'384u, read_bytes(dir / "one.bin").size());
}

TEST(ProfilesFile, PartialTrailingRecordIsNotLoaded) {
    TempDir dir;
    auto bytes = image_of(patterned(4));
    bytes.resize(51'384 + 1000, 0xCC);
    write_bytes(dir / "profile.bin", bytes);
    ProfileList loaded;
    const ProfilesLoad load = load_profiles(dir / "profile.bin", loaded);
    EXPECT_TRUE(load.opened);
    EXPECT_FALSE(load.whole);
    ASSERT_EQ(1u, loaded.size());
    EXPECT_EQ(patterned(4), loaded.at(0));
}

TEST(ProfilesFile, MissingAndEmptyFilesLoadNothing) {
    TempDir dir;
    ProfileList loaded;
    EXPECT_FALSE(load_profiles(dir / "profile.bin", loaded).opened);
    write_bytes(dir / "profile.bin", {});
    const ProfilesLoad load = load_profiles(dir / "profile.bin", loaded);
    EXPECT_TRUE(load.opened);
    EXPECT_TRUE(load.whole);
    EXPECT_TRUE(loaded.empty());
}

TEST(ProfileImage, OnlyFilesOfExactlyOneProfileAreAccepted) {
    TempDir dir;
    ASSERT_FALSE(save_profile_image(dir / "a.pbin", patterned(9)));
    ConfigBlock block;
    ASSERT_FALSE(load_profile_image(dir / "a.pbin", block));
    EXPECT_EQ(patterned(9), block);

    auto bytes = image_of(patterned(5));
    for (const std::size_t size : {std::size_t{0}, std::size_t{51'383}, std::size_t{51'385}}) {
        bytes.resize(size, 0);
        write_bytes(dir / "bad.pbin", bytes);
        EXPECT_EQ(make_error_code(ProfileFileError::wrong_size),
                  load_profile_image(dir / "bad.pbin", block))
            << size << " bytes";
        EXPECT_EQ(patterned(9), block) << "a refused file changes nothing";
    }
    EXPECT_TRUE(load_profile_image(dir / "missing.pbin", block));
}

TEST(AtomicSave, LeavesOnlyTheFinishedFile) {
    TempDir dir;
    ProfileList list;
    list.append(patterned(1));
    ASSERT_FALSE(save_profiles(dir / "sub" / "profile.bin", list)) << "the folder is created";
    std::size_t files = 0;
    for (const auto& entry : std::filesystem::directory_iterator(dir / "sub")) {
        EXPECT_EQ("profile.bin", entry.path().filename());
        ++files;
    }
    EXPECT_EQ(1u, files);
}

TEST(AtomicSave, FailureIsReportedAndTheOldFileKept) {
    TempDir dir;
    write_bytes(dir / "blocker", {1});
    ProfileList list;
    // A file where the folder should be: the save cannot happen.
    EXPECT_TRUE(save_profiles(dir / "blocker" / "profile.bin", list));

    // The rename over a non-empty folder fails: the error comes back and the temporary file
    // is removed again.
    write_bytes(dir / "taken" / "inside", {7});
    EXPECT_TRUE(save_profile_image(dir / "taken", patterned(4)));
    std::size_t entries = 0;
    for ([[maybe_unused]] const auto& entry : std::filesystem::directory_iterator(dir.path())) {
        ++entries;
    }
    EXPECT_EQ(2u, entries) << "only 'blocker' and 'taken'";
    EXPECT_EQ((std::vector<std::uint8_t>{7}), read_bytes(dir / "taken" / "inside"));
}

} // namespace
} // namespace zemrak
