#include "macros/macro_library.h"
#include "model/button_functions.h"
#include "model/profile_list.h"
#include "model/sensors.h"
#include "test_support/temp_dir.h"

#include <filesystem>

#include <gtest/gtest.h>

namespace zemrak {
namespace {

using test::read_bytes;
using test::TempDir;
using test::write_bytes;

// A record whose every byte, reserved ones included, is recognisable; the action count stays
// within the 30 the library accepts so that nothing is bounded.
std::vector<std::uint8_t> patterned_record(std::uint8_t seed) {
    std::vector<std::uint8_t> bytes(MacroRecord::kSize);
    for (std::size_t i = 0; i < bytes.size(); ++i) {
        bytes[i] = static_cast<std::uint8_t>((i * 7 + seed) & 0xFF);
    }
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

// Profiles with default button records, the first one current.
ProfileList profiles_of(std::size_t count) {
    ProfileList profiles;
    for (std::size_t i = 0; i < count; ++i) {
        profiles.add_default_profile(kSensor3327, u"Profile");
    }
    EXPECT_TRUE(profiles.select(0));
    return profiles;
}

class MacroLibraryTest : public ::testing::Test {
protected:
    [[nodiscard]] std::filesystem::path file() const { return m_dir / "Data" / "macro.bin"; }

    // Folder "Fps" with macros "Burst" and "Reload", folder "Moba" with "Combo".
    void fill() {
        m_library.append_record(MacroRecord::make_folder(u"Fps"));
        m_library.append_record(MacroRecord::make_macro(u"Fps", u"Burst"));
        m_library.append_record(MacroRecord::make_folder(u"Moba"));
        m_library.append_record(MacroRecord::make_macro(u"Moba", u"Combo"));
        m_library.append_record(MacroRecord::make_macro(u"Fps", u"Reload"));
    }

    TempDir m_dir;
    MacroLibrary m_library{m_dir.path() / "Data"};
};

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
    MacroRecord oversized;
    store_u16(oversized.bytes(), MacroRecord::kActionCountOffset, 500);
    const std::int32_t at = m_library.append_record(oversized);
    EXPECT_EQ(30, load_u16(m_library.record_bytes(at), MacroRecord::kActionCountOffset));
    ASSERT_TRUE(m_library.set_record(0, oversized));
    EXPECT_EQ(30, load_u16(m_library.record_bytes(0), MacroRecord::kActionCountOffset));
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
    EXPECT_FALSE(m_library.remove(5));
    EXPECT_FALSE(m_library.set_record(-1, MacroRecord{}));
    EXPECT_EQ(5u, m_library.size());
}

TEST_F(MacroLibraryTest, FolderAndItemLookupsIgnoreCase) {
    fill();
    EXPECT_TRUE(m_library.folder_exists(u"fPS"));
    EXPECT_FALSE(m_library.folder_exists(u"Rts"));
    EXPECT_TRUE(m_library.item_exists(u"FPS", u"burst"));
    EXPECT_FALSE(m_library.item_exists(u"Moba", u"Burst")) << "the same name in another folder";

    // A folder that only its macros name, without a folder entry of its own.
    m_library.append_record(MacroRecord::make_macro(u"Orphans", u"Lost"));
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

    const FolderDeletion deleted = m_library.delete_folder(u"fps", profiles);
    EXPECT_EQ(3u, deleted.removed);
    EXPECT_FALSE(deleted.save_error);
    EXPECT_FALSE(deleted.current_profile_changed) << "only another profile used Fps";
    ASSERT_EQ(2u, m_library.size());
    EXPECT_EQ(u"Moba", m_library.folder_name_at(0));
    EXPECT_EQ(u"Combo", m_library.record_at(1)->item_name());
    EXPECT_FALSE(m_library.folder_exists(u"Fps"));
    EXPECT_EQ(std::vector<std::uint8_t>(m_library.bytes().begin(), m_library.bytes().end()),
              read_bytes(file()));

    EXPECT_EQ(default_function_code(3), profiles.at(1).button(3).function_code());
    EXPECT_EQ(-1, profiles.at(1).button(3).macro_index());
    EXPECT_EQ(1, profiles.at(0).button(5).macro_index()) << "still names Combo";

    EXPECT_EQ(0u, m_library.delete_folder(u"Fps", profiles).removed);
}

TEST_F(MacroLibraryTest, PropagateCopiesAChangeIntoEveryProfile) {
    fill();
    ProfileList profiles = profiles_of(3);
    for (std::size_t p : {std::size_t{0}, std::size_t{2}}) {
        ButtonRecord& button = profiles.at(p).button(4);
        button.set_macro_index(1);
        button.set_folder_name(u"Fps");
        button.set_function_code(40);
    }
    profiles.at(1).button(4).set_macro_index(3);

    MacroRecord burst = *m_library.record_at(1);
    burst.set_item_name(u"Burst fire");
    burst.set_loop_count(7);
    burst.set_action_count(2);
    burst.set_action(0, press(0x04, 10));
    burst.set_action(1, press(0x05, 20));
    ASSERT_TRUE(m_library.set_record(1, burst));

    EXPECT_TRUE(m_library.propagate(1, profiles, LibraryChange::changed));
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
    EXPECT_FALSE(m_library.propagate(1, profiles, LibraryChange::changed))
        << "the current profile does not use the macro";
}

TEST_F(MacroLibraryTest, PropagateRemovalGivesDefaultCodesAndRenumbersLaterMacros) {
    fill();
    ProfileList profiles = profiles_of(2);
    ConfigBlock& current = profiles.at(0);
    current.button(16).set_macro_index(1);
    current.button(16).set_function_code(40);
    current.button(2).set_macro_index(0);
    current.button(6).set_macro_index(4);
    profiles.at(1).button(1).set_macro_index(1);
    profiles.at(1).button(1).set_function_code(40);

    ASSERT_TRUE(m_library.remove(1));
    EXPECT_TRUE(m_library.propagate(1, profiles, LibraryChange::removed));
    EXPECT_EQ(25, current.button(16).function_code()) << "the default of game-mode record 16";
    EXPECT_EQ(2, profiles.at(1).button(1).function_code());
    EXPECT_EQ(-1, profiles.at(1).button(1).macro_index());
    EXPECT_EQ(0, current.button(2).macro_index());
    EXPECT_EQ(3, current.button(6).macro_index());
    EXPECT_EQ(u"Reload", m_library.record_at(current.button(6).macro_index())->item_name());
}

TEST_F(MacroLibraryTest, PropagateOfAMissingMacroResetsOnlyItsButtons) {
    ProfileList profiles = profiles_of(1);
    ConfigBlock& current = profiles.at(0);
    current.button(0).set_function_code(40);
    current.button(0).set_macro_index(7);
    current.button(1).set_function_code(41); // no macro: index -1

    EXPECT_TRUE(m_library.propagate(7, profiles, LibraryChange::changed)) << "empty library";
    EXPECT_EQ(1, current.button(0).function_code());

    fill();
    current.button(0).set_function_code(40);
    EXPECT_TRUE(m_library.propagate(7, profiles, LibraryChange::changed)) << "past the end";
    EXPECT_EQ(1, current.button(0).function_code());

    EXPECT_FALSE(m_library.propagate(-1, profiles, LibraryChange::changed));
    EXPECT_FALSE(m_library.propagate(-1, profiles, LibraryChange::removed));
    EXPECT_EQ(41, current.button(1).function_code()) << "unassigned buttons keep their function";
}

} // namespace
} // namespace zemrak
