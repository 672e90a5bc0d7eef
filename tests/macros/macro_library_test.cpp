#include "macros/macro_library.h"
#include "model/button_functions.h"
#include "model/profile_list.h"
#include "model/sensors.h"
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

// A record whose every byte, reserved ones included, is recognisable; the action count stays
// within the 30 the library accepts so that nothing is bounded.
std::vector<std::uint8_t> patterned_record(std::uint8_t seed) {
    std::vector<std::uint8_t> bytes = test::patterned_bytes(MacroRecord::kSize, 7, seed);
    bytes[MacroRecord::kActionCountOffset] = 30;
    bytes[MacroRecord::kActionCountOffset + 1] = 0;
    return bytes;
}

MacroAction press(std::uint8_t code, std::uint16_t delay) {
    MacroAction action;
    action.set_code(code);
    action.set_kind(MacroAction::Press);
    action.set_delay(delay);
    return action;
}

using MacroLibraryTest = test::LibraryTest<test::MacroKind>;

TEST(MacroRecord, FieldsSitAtTheirStoredOffsets) {
    MacroRecord record = MacroRecord::make_macro(u"Ab", u"Cd");
    record.set_loop_count(0x0102);
    record.set_action_count(3);
    record.set_locked(true);
    record.set_action(2, press(0x04, 0x0506));
    const auto bytes = record.bytes();
    EXPECT_EQ('A', bytes[0]);
    EXPECT_EQ('C', bytes[100]);
    EXPECT_EQ(0x02, bytes[200]);
    EXPECT_EQ(0x01, bytes[201]);
    EXPECT_EQ(3, bytes[204]);
    EXPECT_EQ(1, bytes[208]);
    EXPECT_EQ(0, bytes[212]) << "a macro is not a folder entry";
    EXPECT_EQ(0x04, bytes[216 + 2 * 16 + 1]);
    EXPECT_EQ(MacroAction::Press, bytes[216 + 2 * 16 + 2]);
    EXPECT_EQ(0x06, bytes[216 + 2 * 16 + 4]);
    EXPECT_EQ(1, MacroRecord::make_folder(u"F").bytes()[212]);
    EXPECT_EQ(1, MacroRecord::make_macro(u"F", u"M").loop_count()) << "a new macro plays once";

    record.set_action_count(31);
    EXPECT_EQ(30, record.action_count());
    EXPECT_EQ(MacroAction{}, record.action(30)) << "no slot past the thirtieth";
}

TEST_F(MacroLibraryTest, NewMacroHasNoActionsAndPlaysOnce) {
    fill();
    std::vector<std::uint8_t> expected(MacroRecord::kSize);
    store_name(expected, 0, u"Fps");
    store_name(expected, 100, u"Burst");
    expected[200] = 1;
    EXPECT_EQ(expected, bytes_of(m_library.record_bytes(1)));
}

TEST_F(MacroLibraryTest, FileRoundTripsByteForByteInFileOrder) {
    std::vector<std::uint8_t> image;
    for (const int seed : {1, 2, 3}) {
        const auto record = patterned_record(static_cast<std::uint8_t>(seed));
        image.insert(image.end(), record.begin(), record.end());
    }
    write_bytes(file(), image);

    const LibraryLoad load = m_library.load();
    EXPECT_TRUE(load.opened);
    EXPECT_TRUE(load.whole);
    EXPECT_EQ(0u, load.bounded);
    ASSERT_EQ(3u, m_library.size());
    const auto second = m_library.record_at(1);
    ASSERT_TRUE(second);
    EXPECT_EQ(patterned_record(2),
              std::vector<std::uint8_t>(second->bytes().begin(), second->bytes().end()));

    std::filesystem::remove(file());
    ASSERT_FALSE(m_library.save());
    EXPECT_EQ(image, read_bytes(file()));
}

TEST_F(MacroLibraryTest, LoadBoundsCountsAndNames) {
    auto record = patterned_record(9);
    record[MacroRecord::kActionCountOffset] = 200;
    // A folder name of 50 units and no terminator.
    for (std::size_t unit = 0; unit < 50; ++unit) {
        record[2 * unit] = 'x';
        record[2 * unit + 1] = 0;
    }
    write_bytes(file(), record);

    const LibraryLoad load = m_library.load();
    EXPECT_EQ(1u, load.bounded);
    const auto loaded = m_library.record_at(0);
    ASSERT_TRUE(loaded);
    EXPECT_EQ(30, loaded->action_count());
    EXPECT_EQ(std::u16string(49, u'x'), loaded->folder_name());
    EXPECT_EQ(std::u16string(49, u'x'), m_library.folder_name_at(0));
    EXPECT_TRUE(m_library.folder_exists(std::u16string(49, u'X')));
    EXPECT_FALSE(m_library.folder_exists(std::u16string(48, u'x')));
    EXPECT_FALSE(m_library.folder_exists(std::u16string(50, u'x')));

    ASSERT_FALSE(m_library.save());
    const auto saved = read_bytes(file());
    EXPECT_EQ(30, saved[MacroRecord::kActionCountOffset]) << "the bounded count is what is kept";

    // Records that enter later are bounded the same way.
    MacroRecord oversized = MacroRecord::make_macro(u"Fps", u"Long");
    store_u16(oversized.bytes(), MacroRecord::kActionCountOffset, 500);
    write_bytes(m_dir / "long.mbin", bytes_of(oversized.bytes()));
    const LibraryResult imported = m_library.import_item(m_dir / "long.mbin");
    ASSERT_TRUE(imported.ok()) << imported.error.message();
    const std::int32_t at = imported.position;
    EXPECT_EQ(30, load_u16(m_library.record_bytes(at), MacroRecord::kActionCountOffset));
    ProfileList profiles = profiles_of(1);
    ASSERT_TRUE(m_library.update_item(at, oversized, profiles).ok());
    EXPECT_EQ(30, load_u16(m_library.record_bytes(at), MacroRecord::kActionCountOffset));
    EXPECT_EQ(30, read_bytes(file())[static_cast<std::size_t>(at) * MacroRecord::kSize +
                                     MacroRecord::kActionCountOffset]);
}

TEST_F(MacroLibraryTest, PartialTrailingRecordIsDroppedAndTheFileKeptAside) {
    auto image = patterned_record(1);
    const auto second = patterned_record(2);
    image.insert(image.end(), second.begin(), second.end());
    image.insert(image.end(), 100, 0xAB);
    write_bytes(file(), image);

    const LibraryLoad load = m_library.load();
    EXPECT_TRUE(load.opened);
    EXPECT_FALSE(load.whole);
    EXPECT_EQ(2u, load.loaded);
    EXPECT_FALSE(load.error);
    ASSERT_FALSE(load.damaged_copy.empty());
    EXPECT_EQ(image, read_bytes(load.damaged_copy));

    ASSERT_FALSE(m_library.save());
    EXPECT_EQ(2 * MacroRecord::kSize, read_bytes(file()).size());
    EXPECT_EQ(image, read_bytes(load.damaged_copy)) << "the copy survives the save";
}

TEST_F(MacroLibraryTest, MissingFileGivesAnEmptyLibraryAndAnEmptyFileOnSave) {
    fill();
    std::filesystem::remove_all(file().parent_path());
    EXPECT_FALSE(m_library.load().opened);
    EXPECT_TRUE(m_library.empty()) << "load replaces what the list held";
    EXPECT_FALSE(m_library.folder_name_at(0));
    ASSERT_FALSE(m_library.save()) << "the Data folder is created";
    EXPECT_TRUE(read_bytes(file()).empty());
}

TEST_F(MacroLibraryTest, FolderNameAtNeverReadsOutsideTheList) {
    fill();
    EXPECT_EQ(u"Moba", m_library.folder_name_at(3));
    EXPECT_FALSE(m_library.folder_name_at(-1));
    EXPECT_FALSE(m_library.folder_name_at(5));
    EXPECT_FALSE(m_library.record_at(5));
    ProfileList profiles = profiles_of(1);
    EXPECT_EQ(LibraryError::no_such_item, m_library.delete_item(5, profiles).error);
    EXPECT_EQ(LibraryError::no_such_item, m_library.update_item(-1, MacroRecord{}, profiles).error);
    EXPECT_EQ(5u, m_library.size());
}

TEST_F(MacroLibraryTest, FolderAndItemLookupsIgnoreCase) {
    fill();
    EXPECT_TRUE(m_library.folder_exists(u"fPS"));
    EXPECT_FALSE(m_library.folder_exists(u"Rts"));
    EXPECT_TRUE(m_library.item_exists(u"FPS", u"burst"));
    EXPECT_FALSE(m_library.item_exists(u"Moba", u"Burst")) << "the same name in another folder";

    // A folder that only its macros name, without a folder entry of its own.
    auto image = bytes_of(m_library.bytes());
    const MacroRecord lost = MacroRecord::make_macro(u"Orphans", u"Lost");
    image.insert(image.end(), lost.bytes().begin(), lost.bytes().end());
    write_bytes(file(), image);
    ASSERT_EQ(6u, m_library.load().loaded);
    EXPECT_TRUE(m_library.folder_exists(u"orphans"));
    EXPECT_TRUE(m_library.is_folder_entry(2));
    EXPECT_FALSE(m_library.is_folder_entry(5));
}

TEST_F(MacroLibraryTest, DeleteFolderRemovesTheEntryAndItsMacrosAndSaves) {
    fill();
    ProfileList profiles = profiles_of(2);
    profiles.at(1).button(3).set_macro_index(1); // Fps/Burst
    profiles.at(1).button(3).set_function_code(40);
    profiles.at(0).button(5).set_macro_index(3); // Moba/Combo, moves to position 1

    const LibraryResult deleted = m_library.delete_folder(u"fps", profiles);
    EXPECT_EQ(3u, deleted.removed);
    EXPECT_FALSE(deleted.error);
    EXPECT_EQ(u"Fps", deleted.name);
    EXPECT_FALSE(deleted.current_profile_touched) << "only another profile used Fps";
    ASSERT_EQ(2u, m_library.size());
    EXPECT_EQ(u"Moba", m_library.folder_name_at(0));
    EXPECT_EQ(u"Combo", m_library.record_at(1)->item_name());
    EXPECT_FALSE(m_library.folder_exists(u"Fps"));
    EXPECT_EQ(std::vector<std::uint8_t>(m_library.bytes().begin(), m_library.bytes().end()),
              read_bytes(file()));

    EXPECT_EQ(default_function_code(3), profiles.at(1).button(3).function_code());
    EXPECT_EQ(-1, profiles.at(1).button(3).macro_index());
    EXPECT_EQ(1, profiles.at(0).button(5).macro_index()) << "still names Combo";

    const LibraryResult again = m_library.delete_folder(u"Fps", profiles);
    EXPECT_EQ(0u, again.removed);
    EXPECT_EQ(LibraryError::no_such_folder, again.error);
}

TEST_F(MacroLibraryTest, UpdateCopiesAChangeIntoEveryProfile) {
    fill();
    ProfileList profiles = profiles_of(3);
    for (std::size_t p : {std::size_t{0}, std::size_t{2}}) {
        ButtonRecord& button = profiles.at(p).button(4);
        button.set_macro_index(1);
        button.set_folder_name(u"Fps");
        button.set_function_code(40);
    }
    profiles.at(1).button(4).set_macro_index(3);

    ASSERT_TRUE(m_library.rename_item(1, u"Burst fire", profiles).ok());
    MacroRecord burst = *m_library.record_at(1);
    burst.set_loop_count(7);
    burst.set_action_count(2);
    burst.set_action(0, press(0x04, 10));
    burst.set_action(1, press(0x05, 20));

    const LibraryResult updated = m_library.update_item(1, burst, profiles);
    EXPECT_TRUE(updated.ok());
    EXPECT_TRUE(updated.current_profile_touched);
    EXPECT_EQ(bytes_of(burst.bytes()), bytes_of(m_library.record_bytes(1)));
    EXPECT_EQ(bytes_of(m_library.bytes()), read_bytes(file()));
    for (std::size_t p : {std::size_t{0}, std::size_t{2}}) {
        const ButtonRecord& button = profiles.at(p).button(4);
        EXPECT_EQ(2, button.action_count());
        EXPECT_EQ(7, button.loop_count());
        EXPECT_EQ(press(0x05, 20), button.action(1));
        EXPECT_EQ(u"Burst fire", button.item_name());
        EXPECT_EQ(u"Fps", button.folder_name());
        EXPECT_EQ(40, button.function_code());
    }
    EXPECT_EQ(0, profiles.at(1).button(4).action_count()) << "refers to another macro";

    ASSERT_TRUE(profiles.select(1));
    EXPECT_FALSE(m_library.update_item(1, burst, profiles).current_profile_touched)
        << "the current profile does not use the macro";
}

TEST_F(MacroLibraryTest, DeletionGivesDefaultCodesAndRenumbersLaterMacros) {
    fill();
    ProfileList profiles = profiles_of(2);
    ConfigBlock& current = profiles.at(0);
    current.button(16).set_macro_index(1);
    current.button(16).set_function_code(40);
    current.button(2).set_macro_index(0);
    current.button(6).set_macro_index(4);
    profiles.at(1).button(1).set_macro_index(1);
    profiles.at(1).button(1).set_function_code(40);

    const LibraryResult deleted = m_library.delete_item(1, profiles);
    EXPECT_TRUE(deleted.ok());
    EXPECT_TRUE(deleted.current_profile_touched);
    EXPECT_EQ(25, current.button(16).function_code()) << "the default of game-mode record 16";
    EXPECT_EQ(2, profiles.at(1).button(1).function_code());
    EXPECT_EQ(-1, profiles.at(1).button(1).macro_index());
    EXPECT_EQ(0, current.button(2).macro_index());
    EXPECT_EQ(3, current.button(6).macro_index());
    EXPECT_EQ(u"Reload", m_library.record_at(current.button(6).macro_index())->item_name());
}

TEST_F(MacroLibraryTest, RefreshOfAMissingMacroResetsOnlyItsButtons) {
    ProfileList profiles = profiles_of(1);
    ConfigBlock& current = profiles.at(0);
    current.button(0).set_function_code(40);
    current.button(0).set_macro_index(7);
    current.button(1).set_function_code(41); // no macro: index -1

    EXPECT_TRUE(m_library.refresh_references(7, profiles)) << "empty library";
    EXPECT_EQ(1, current.button(0).function_code());

    fill();
    current.button(0).set_function_code(40);
    EXPECT_TRUE(m_library.refresh_references(7, profiles)) << "past the end";
    EXPECT_EQ(1, current.button(0).function_code());

    EXPECT_FALSE(m_library.refresh_references(-1, profiles));
    EXPECT_EQ(LibraryError::no_such_item, m_library.delete_item(-1, profiles).error);
    EXPECT_EQ(41, current.button(1).function_code()) << "unassigned buttons keep their function";
}

} // namespace
} // namespace zemrak
