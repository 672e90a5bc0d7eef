#include "model/button_functions.h"
#include "model/profile_list.h"
#include "model/sensors.h"
#include "recoil/recoil_library.h"
#include "test_support/library_support.h"
#include "test_support/temp_dir.h"

#include <filesystem>

#include <gtest/gtest.h>

namespace zemrak {
namespace {

using test::bytes_of;
using test::profiles_of;
using test::read_bytes;
using test::write_bytes;

// A record whose every byte is recognisable, the second parameter byte and the reserved
// bytes included; the bullet count stays within the 30 the library accepts.
std::vector<std::uint8_t> patterned_record(std::uint8_t seed) {
    std::vector<std::uint8_t> bytes = test::patterned_bytes(RecoilRecord::kSize, 13, seed);
    bytes[RecoilRecord::kBulletCountOffset] = 17;
    return bytes;
}

// Folder "Rifles" with "Ak" and "M4", folder "Smg" with "Mp5".
class RecoilLibraryTest : public test::LibraryTest<test::RecoilKind> {
protected:
    void fill() { LibraryTest::fill(u"Rifles", u"Ak", u"Smg", u"Mp5", u"M4"); }
};

TEST(RecoilRecord, FieldsSitAtTheirStoredOffsets) {
    RecoilRecord record = RecoilRecord::make_pattern(u"Ab", u"Cd");
    EXPECT_EQ(30, record.bullet_count()) << "a new pattern uses every bullet";
    EXPECT_EQ((Bullet{0, 0, 10}), record.bullet(29));
    record.set_second_parameter(0x5A);
    record.set_locked(true);
    record.bytes()[216 + 12 + 8] = 0xEE; // reserved bytes of bullet 1
    record.set_bullet(1, Bullet{-2, 0x0304, 0x0506});
    const auto bytes = record.bytes();
    EXPECT_EQ('A', bytes[0]);
    EXPECT_EQ('C', bytes[100]);
    EXPECT_EQ(30, bytes[200]);
    EXPECT_EQ(0x5A, bytes[202]);
    EXPECT_EQ(1, bytes[204]);
    EXPECT_EQ(0, bytes[208]);
    EXPECT_EQ(0xFE, bytes[216 + 12]);
    EXPECT_EQ(0x04, bytes[216 + 12 + 4]);
    EXPECT_EQ(0xEE, bytes[216 + 12 + 8]) << "writing a bullet keeps its reserved bytes";
    EXPECT_EQ(0x06, bytes[216 + 12 + 10]);
    EXPECT_EQ(1, RecoilRecord::make_folder(u"F").bytes()[208]);

    record.set_bullet_count(40);
    EXPECT_EQ(30, record.bullet_count());
    EXPECT_EQ(Bullet{}, record.bullet(30));
}

TEST_F(RecoilLibraryTest, NewPatternUsesEveryBulletWithTheShortestDelay) {
    fill();
    std::vector<std::uint8_t> expected(RecoilRecord::kSize);
    store_name(expected, 0, u"Rifles");
    store_name(expected, 100, u"Ak");
    expected[200] = 30;
    for (std::size_t slot = 0; slot < 30; ++slot) {
        expected[216 + 12 * slot + 10] = 10;
    }
    EXPECT_EQ(expected, bytes_of(m_library.record_bytes(1)));
}

TEST_F(RecoilLibraryTest, FileRoundTripsByteForByteReservedBytesIncluded) {
    std::vector<std::uint8_t> image;
    for (const int seed : {5, 6, 7, 8}) {
        const auto record = patterned_record(static_cast<std::uint8_t>(seed));
        image.insert(image.end(), record.begin(), record.end());
    }
    write_bytes(file(), image);

    const LibraryLoad load = m_library.load();
    EXPECT_TRUE(load.whole);
    ASSERT_EQ(4u, m_library.size());
    const auto third = m_library.record_at(2);
    ASSERT_TRUE(third);
    EXPECT_EQ(patterned_record(7)[202], third->second_parameter());

    std::filesystem::remove(file());
    ASSERT_FALSE(m_library.save());
    EXPECT_EQ(image, read_bytes(file()));
}

TEST_F(RecoilLibraryTest, LoadBoundsBulletCountsAndDropsAPartialRecord) {
    auto image = patterned_record(1);
    image[RecoilRecord::kBulletCountOffset] = 255;
    image.insert(image.end(), 575, 0x11);
    write_bytes(file(), image);

    const LibraryLoad load = m_library.load();
    EXPECT_FALSE(load.whole);
    EXPECT_EQ(1u, load.loaded);
    EXPECT_EQ(1u, load.bounded);
    EXPECT_EQ(30, m_library.record_at(0)->bullet_count());
    ASSERT_FALSE(load.damaged_copy.empty());
    EXPECT_EQ(image, read_bytes(load.damaged_copy));
}

TEST_F(RecoilLibraryTest, DeleteFolderRemovesTheEntryAndItsPatternsThenSaves) {
    fill();
    auto image = bytes_of(m_library.bytes());
    const RecoilRecord deagle = RecoilRecord::make_pattern(u"Pistols", u"Deagle");
    image.insert(image.end(), deagle.bytes().begin(), deagle.bytes().end());
    write_bytes(file(), image);
    ASSERT_EQ(6u, m_library.load().loaded);
    EXPECT_TRUE(m_library.folder_exists(u"pistols")) << "named only by a pattern";
    ProfileList profiles = profiles_of(2);
    profiles.at(0).button(20).set_recoil_index(4); // Rifles/M4
    profiles.at(0).button(20).set_function_code(60);
    profiles.at(1).button(7).set_recoil_index(3); // Smg/Mp5, moves to position 1

    const LibraryResult deleted = m_library.delete_folder(u"RIFLES", profiles);
    EXPECT_TRUE(deleted.ok());
    EXPECT_EQ(3u, deleted.removed);
    EXPECT_TRUE(deleted.current_profile_touched);
    ASSERT_EQ(3u, m_library.size());
    EXPECT_EQ(u"Mp5", m_library.record_at(1)->item_name());
    EXPECT_EQ(3 * RecoilRecord::kSize, read_bytes(file()).size());
    EXPECT_EQ(default_function_code(20), profiles.at(0).button(20).function_code());
    EXPECT_EQ(1, profiles.at(1).button(7).recoil_index());
}

TEST_F(RecoilLibraryTest, UpdateCopiesAChangeIntoEveryProfile) {
    fill();
    ProfileList profiles = profiles_of(3);
    for (std::size_t p = 0; p < 3; ++p) {
        ButtonRecord& button = profiles.at(p).button(9);
        button.set_recoil_index(3);
        button.set_folder_name(u"Smg");
        button.set_function_code(60);
    }
    ASSERT_TRUE(m_library.rename_item(3, u"Mp5 SD", profiles).ok());
    RecoilRecord mp5 = *m_library.record_at(3);
    mp5.set_bullet_count(12);
    mp5.set_second_parameter(9);
    mp5.set_bullet(11, Bullet{3, -4, 50});

    ASSERT_TRUE(profiles.select(2));
    const LibraryResult updated = m_library.update_item(3, mp5, profiles);
    EXPECT_TRUE(updated.ok());
    EXPECT_TRUE(updated.current_profile_touched);
    EXPECT_EQ(bytes_of(m_library.bytes()), read_bytes(file()));
    for (std::size_t p = 0; p < 3; ++p) {
        const ButtonRecord& button = profiles.at(p).button(9);
        EXPECT_EQ(12, button.action_count());
        EXPECT_EQ(9, button.loop_count());
        EXPECT_TRUE(
            std::equal(mp5.bullets().begin(), mp5.bullets().end(), button.recoil_data().begin()));
        EXPECT_EQ(u"Mp5 SD", button.item_name());
        EXPECT_EQ(u"Smg", button.folder_name());
        EXPECT_EQ(60, button.function_code());
    }
    EXPECT_FALSE(
        m_library.update_item(1, *m_library.record_at(1), profiles).current_profile_touched)
        << "nobody uses Ak";
}

TEST_F(RecoilLibraryTest, DeletionGivesDefaultCodesOnlyTheCurrentProfileCounts) {
    fill();
    ProfileList profiles = profiles_of(2);
    profiles.at(1).button(0).set_recoil_index(1);
    profiles.at(1).button(0).set_function_code(60);
    profiles.at(1).button(2).set_recoil_index(2);

    const LibraryResult deleted = m_library.delete_item(1, profiles);
    EXPECT_TRUE(deleted.ok());
    EXPECT_FALSE(deleted.current_profile_touched);
    EXPECT_EQ(1, profiles.at(1).button(0).function_code());
    EXPECT_EQ(-1, profiles.at(1).button(0).recoil_index());
    EXPECT_EQ(1, profiles.at(1).button(2).recoil_index());
}

TEST_F(RecoilLibraryTest, RefreshOfAMissingPatternChangesNothing) {
    ProfileList profiles = profiles_of(1);
    ButtonRecord& button = profiles.at(0).button(3);
    button.set_recoil_index(2);
    button.set_function_code(60);
    button.set_action_count(5);
    const ConfigBlock before = profiles.at(0);

    EXPECT_TRUE(m_library.refresh_references(2, profiles))
        << "the current profile refers to the position";
    fill();
    button.set_recoil_index(9);
    EXPECT_TRUE(m_library.refresh_references(9, profiles)) << "past the end";
    button.set_recoil_index(2);
    EXPECT_EQ(before, profiles.at(0));
}

} // namespace
} // namespace zemrak
