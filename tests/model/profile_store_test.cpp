#include "model/config_defaults.h"
#include "model/profile_store.h"
#include "test_support/temp_dir.h"
#include "test_support/unreadable_file.h"

#include <gtest/gtest.h>

namespace zemrak {
namespace {

using test::read_bytes;
using test::TempDir;
using test::Unreadable;
using test::write_bytes;

std::vector<std::uint8_t> image_of(const ConfigBlock& block) {
    return {block.bytes().begin(), block.bytes().end()};
}

ConfigBlock profile_named(std::u16string_view name, std::int32_t speed) {
    ConfigBlock block;
    fill_defaults(block, 3327);
    block.set_name(name);
    block.set_pointer_speed(speed);
    return block;
}

std::vector<std::uint8_t> concat(std::initializer_list<ConfigBlock> blocks) {
    std::vector<std::uint8_t> bytes;
    for (const ConfigBlock& block : blocks) {
        const auto image = image_of(block);
        bytes.insert(bytes.end(), image.begin(), image.end());
    }
    return bytes;
}

class ProfileStoreTest : public ::testing::Test {
protected:
    TempDir m_dir;
    ProfileStore m_store{folders_in(m_dir.path())};
    std::filesystem::path data(const char* name) const { return m_dir / "Data" / name; }
};

TEST_F(ProfileStoreTest, FirstStartInAnEmptyFolderCreatesTheDataFiles) {
    const StartupReport report = m_store.load_all(3050, u"Profile");
    EXPECT_TRUE(report.index_file_created);
    EXPECT_TRUE(report.default_profile_created);
    EXPECT_FALSE(report.save_error);
    EXPECT_EQ(std::vector<std::uint8_t>(8, 0), read_bytes(data("Data.bin")));

    const auto stored = read_bytes(data("profile.bin"));
    ASSERT_EQ(51'384u, stored.size());
    const ProfileList& profiles = m_store.profiles();
    ASSERT_EQ(1u, profiles.size());
    EXPECT_EQ(0, profiles.current_index());
    EXPECT_EQ(u"Profile1", profiles.at(0).name());
    EXPECT_EQ(2, profiles.at(0).stage_dpi_code(0));
    EXPECT_EQ(image_of(profiles.at(0)), stored);
    EXPECT_EQ(profiles.at(0), profiles.last_applied());
}

TEST_F(ProfileStoreTest, StoredIndexChoosesTheCurrentProfile) {
    write_bytes(data("Data.bin"), {1, 0, 0, 0, 9, 9, 9, 9});
    write_bytes(data("profile.bin"), concat({profile_named(u"A", 1), profile_named(u"B", 2)}));
    const StartupReport report = m_store.load_all(3327, u"Profile");
    EXPECT_FALSE(report.index_file_created);
    EXPECT_FALSE(report.default_profile_created);
    EXPECT_FALSE(report.index_out_of_range);
    ASSERT_EQ(2u, m_store.profiles().size());
    EXPECT_EQ(u"B", m_store.profiles().current()->name());
    EXPECT_EQ(2, m_store.profiles().last_applied().pointer_speed());

    ASSERT_FALSE(m_store.save_current_index());
    EXPECT_EQ((std::vector<std::uint8_t>{1, 0, 0, 0, 9, 9, 9, 9}), read_bytes(data("Data.bin")));
}

TEST_F(ProfileStoreTest, IndexOutsideTheListSelectsTheFirstProfile) {
    for (const std::uint8_t stored : {std::uint8_t{2}, std::uint8_t{0xFF}}) {
        write_bytes(data("Data.bin"), {stored, stored, stored, stored, 0, 0, 0, 0});
        write_bytes(data("profile.bin"), concat({profile_named(u"A", 1), profile_named(u"B", 2)}));
        const StartupReport report = m_store.load_all(3327, u"Profile");
        EXPECT_TRUE(report.index_out_of_range);
        EXPECT_EQ(0, m_store.profiles().current_index());
        ASSERT_NE(nullptr, m_store.profiles().current());
        EXPECT_EQ(u"A", m_store.profiles().current()->name());
    }
}

TEST_F(ProfileStoreTest, EmptyProfileFileIsTreatedLikeAMissingOne) {
    write_bytes(data("profile.bin"), {});
    const StartupReport report = m_store.load_all(3212, u"Set");
    EXPECT_TRUE(report.default_profile_created);
    ASSERT_EQ(1u, m_store.profiles().size());
    EXPECT_EQ(u"Set1", m_store.profiles().at(0).name());
    EXPECT_EQ(51'384u, read_bytes(data("profile.bin")).size());
}

TEST_F(ProfileStoreTest, IncompleteProfileFileIsKeptAsideBeforeItIsReplaced) {
    auto bytes = concat({profile_named(u"A", 1)});
    bytes.resize(bytes.size() + 100, 0xCC);
    write_bytes(data("profile.bin"), bytes);
    const StartupReport report = m_store.load_all(3327, u"Profile");
    EXPECT_EQ(data("profile.bin.damaged"), report.damaged_copy);
    EXPECT_EQ(bytes, read_bytes(data("profile.bin.damaged")));
    ASSERT_EQ(1u, m_store.profiles().size());
    EXPECT_EQ(u"A", m_store.profiles().at(0).name());

    ASSERT_FALSE(m_store.save_profiles());
    EXPECT_EQ(51'384u, read_bytes(data("profile.bin")).size());
    EXPECT_EQ(bytes, read_bytes(data("profile.bin.damaged")));

    // A second incomplete file does not overwrite the first copy.
    write_bytes(data("profile.bin"), {1, 2, 3});
    const StartupReport again = m_store.load_all(3327, u"Profile");
    EXPECT_EQ(data("profile.bin.damaged.1"), again.damaged_copy);
    EXPECT_TRUE(again.default_profile_created) << "no whole record was left";
}

TEST_F(ProfileStoreTest, AFileThatStaysIncompleteIsKeptAsideOnce) {
    // A file the program cannot replace stays as it is from one start to the next.
    auto bytes = concat({profile_named(u"A", 1)});
    bytes.resize(bytes.size() + 100, 0xCC);
    write_bytes(data("profile.bin"), bytes);
    const std::filesystem::path first = m_store.load_all(3327, u"Profile").damaged_copy;
    for (int start = 0; start < 3; ++start) {
        ProfileStore store(m_store.folders());
        EXPECT_EQ(first, store.load_all(3327, u"Profile").damaged_copy);
    }
    EXPECT_FALSE(std::filesystem::exists(data("profile.bin.damaged.1")));
    EXPECT_EQ(bytes, read_bytes(first));
}

TEST_F(ProfileStoreTest, FactoryImageComesFromTheShippedFileOrFromDefaults) {
    EXPECT_FALSE(m_store.load_factory_image(3050)) << "no Default.pbin anywhere";
    ConfigBlock defaults;
    fill_defaults(defaults, 3050);
    EXPECT_EQ(defaults, m_store.profiles().factory_image());

    write_bytes(m_dir / "Default.pbin", image_of(profile_named(u"Shipped", 4)));
    EXPECT_TRUE(m_store.load_factory_image(3050));
    EXPECT_EQ(u"Shipped", m_store.profiles().factory_image().name());

    write_bytes(data("Default.pbin"), image_of(profile_named(u"Own", 5)));
    EXPECT_TRUE(m_store.load_factory_image(3050));
    EXPECT_EQ(u"Own", m_store.profiles().factory_image().name()) << "the data folder's wins";

    write_bytes(data("Default.pbin"), {1, 2, 3});
    EXPECT_FALSE(m_store.load_factory_image(3050));
    EXPECT_EQ(defaults, m_store.profiles().factory_image()) << "a short image is not used";
}

TEST_F(ProfileStoreTest, SaveFailureIsReported) {
    write_bytes(m_dir / "Data", {0}); // a file where the data folder should be
    const StartupReport report = m_store.load_all(3327, u"Profile");
    EXPECT_TRUE(report.save_error);
    EXPECT_EQ(1u, m_store.profiles().size()) << "the program still has a profile to work on";
}

TEST_F(ProfileStoreTest, AFileThatExistsButCannotBeReadIsNeverWrittenInThatRun) {
    for (const Unreadable way : test::unreadable_ways()) {
        SCOPED_TRACE(test::describe(way));
        const std::error_code reason = test::unreadable_reason(way);

        // Data.bin: the stored profiles are used, the index is taken as 0 and not written.
        test::make_unreadable(data("Data.bin"), way);
        write_bytes(data("profile.bin"), concat({profile_named(u"A", 1), profile_named(u"B", 2)}));
        const StartupReport index = m_store.load_all(3327, u"Profile");
        EXPECT_EQ(reason, index.index_read_error);
        EXPECT_FALSE(index.profiles_read_error);
        EXPECT_FALSE(index.index_file_created);
        EXPECT_FALSE(index.save_error);
        ASSERT_EQ(2u, m_store.profiles().size());
        EXPECT_EQ(u"A", m_store.profiles().current()->name());
        ASSERT_TRUE(m_store.profiles().select(1));
        EXPECT_EQ(reason, m_store.save_current_index());
        EXPECT_FALSE(m_store.save_profiles()) << "the readable file is saved as before";
        EXPECT_TRUE(test::left_as_made(data("Data.bin"), way));

        // profile.bin: one default profile to work on, which is never saved over the file.
        std::filesystem::remove_all(data("Data.bin"));
        write_bytes(data("Data.bin"), {0, 0, 0, 0, 0, 0, 0, 0});
        test::make_unreadable(data("profile.bin"), way);
        const StartupReport profiles = m_store.load_all(3327, u"Profile");
        EXPECT_EQ(reason, profiles.profiles_read_error);
        EXPECT_FALSE(profiles.index_read_error);
        EXPECT_FALSE(profiles.default_profile_created) << "nothing was written";
        EXPECT_TRUE(profiles.damaged_copy.empty());
        EXPECT_FALSE(profiles.save_error);
        ASSERT_EQ(1u, m_store.profiles().size());
        EXPECT_EQ(u"Profile1", m_store.profiles().current()->name());
        m_store.profiles().append(m_store.profiles().factory_image());
        EXPECT_EQ(reason, m_store.save_profiles());
        EXPECT_TRUE(test::left_as_made(data("profile.bin"), way));
        EXPECT_FALSE(m_store.save_current_index());
        std::filesystem::remove_all(data("profile.bin"));
    }
}

} // namespace
} // namespace zemrak
