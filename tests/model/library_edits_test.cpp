// The operations that edit a library, on both the macro and the recoil library: the records
// after each, the references held by every profile, the saved file and the current-profile
// flag.

#include "model/button_functions.h"
#include "model/unicode.h"
#include "test_support/library_support.h"
#include "test_support/unreadable_file.h"

#include <initializer_list>
#include <iterator>
#include <string>
#include <vector>

#include <gtest/gtest.h>

namespace zemrak {
namespace {

using test::bytes_of;

// A name and what an operation given it says.
struct Refusal {
    std::u16string name;
    LibraryError error;
};

// `operation(name)` refuses each name as the case says.
template <class Operation>
void expect_refused(std::initializer_list<Refusal> refusals, Operation operation) {
    for (const Refusal& refusal : refusals) {
        EXPECT_EQ(refusal.error, operation(refusal.name).error) << to_utf8(refusal.name);
    }
}

template <class Kind>
class LibraryEdits : public test::LibraryTest<Kind> {
protected:
    // `button` of profile `profile` refers to `position` and does something else than its
    // default, so that a reset shows.
    void assign(std::size_t profile, std::size_t button, std::int32_t position) {
        ButtonRecord& record = this->m_profiles.at(profile).button(button);
        Kind::refer(record, position);
        record.set_function_code(40);
    }
    [[nodiscard]] const ButtonRecord& button(std::size_t profile, std::size_t button) const {
        return this->m_profiles.at(profile).button(button);
    }
    // No refused operation may leave a trace in the list or the file.
    void expect_unchanged(const std::vector<std::uint8_t>& before) const {
        EXPECT_EQ(before, bytes_of(this->m_library.bytes()));
        this->expect_saved();
    }
};
TYPED_TEST_SUITE(LibraryEdits, test::LibraryKinds, test::KindNames);

TYPED_TEST(LibraryEdits, AddFolderAppendsItsEntryAndSaves) {
    this->fill();
    const LibraryResult added = this->m_library.add_folder(u"Ab");
    ASSERT_TRUE(added.ok()) << added.error.message();
    EXPECT_EQ(5, added.position);
    EXPECT_EQ(u"Ab", added.name);
    EXPECT_FALSE(added.current_profile_touched);
    // Zero-filled but for the name and the folder-entry flag.
    std::vector<std::uint8_t> entry(TypeParam::Record::kSize);
    entry[0] = 'A';
    entry[2] = 'b';
    entry[TypeParam::Record::kFolderEntryOffset] = 1;
    EXPECT_EQ(entry, bytes_of(this->m_library.record_bytes(5)));
    this->expect_saved();

    EXPECT_TRUE(this->m_library.add_folder(std::u16string(49, u'x')).ok()) << "the longest name";
}

TYPED_TEST(LibraryEdits, AddFolderRefusesEmptyTakenAndOverlongNames) {
    this->fill();
    this->add_to_file(TypeParam::item(u"Orphans", u"Lost"));
    const auto before = bytes_of(this->m_library.bytes());
    expect_refused({{u"", LibraryError::name_empty},
                    {u"fPS", LibraryError::name_taken},
                    {u"ORPHANS", LibraryError::name_taken}, // carried only by an item
                    {std::u16string(50, u'x'), LibraryError::name_too_long}},
                   [this](std::u16string_view name) { return this->m_library.add_folder(name); });
    this->expect_unchanged(before);
}

TYPED_TEST(LibraryEdits, RenameFolderRenamesEveryRecordFiledUnderIt) {
    this->fill();
    const LibraryResult renamed = this->m_library.rename_folder(u"fps", u"Arena");
    ASSERT_TRUE(renamed.ok()) << renamed.error.message();
    EXPECT_EQ(0, renamed.position);
    EXPECT_EQ(u"Arena", renamed.name);
    for (const std::int32_t position : {0, 1, 4}) {
        EXPECT_EQ(u"Arena", this->m_library.folder_name_at(position)) << position;
    }
    EXPECT_EQ(u"Moba", this->m_library.folder_name_at(3));
    EXPECT_EQ(u"Burst", this->at(1).item_name());
    EXPECT_FALSE(this->m_library.folder_exists(u"Fps"));
    this->expect_saved();

    EXPECT_TRUE(this->m_library.rename_folder(u"arena", u"ARENA").ok()) << "a change of case";
    EXPECT_EQ(u"ARENA", this->m_library.folder_name_at(4));

    this->add_to_file(TypeParam::item(u"Orphans", u"Lost"));
    const LibraryResult orphans = this->m_library.rename_folder(u"Orphans", u"Strays");
    ASSERT_TRUE(orphans.ok());
    EXPECT_EQ(-1, orphans.position) << "a folder without an entry";
    EXPECT_EQ(u"Strays", this->m_library.folder_name_at(5));
    this->expect_saved();
}

TYPED_TEST(LibraryEdits, RenameFolderRefusesATakenEmptyOrOverlongNameAndAMissingFolder) {
    this->fill();
    const auto before = bytes_of(this->m_library.bytes());
    expect_refused(
        {{u"fps", LibraryError::name_taken},
         {u"", LibraryError::name_empty},
         {std::u16string(50, u'x'), LibraryError::name_too_long}},
        [this](std::u16string_view name) { return this->m_library.rename_folder(u"Moba", name); });
    EXPECT_EQ(LibraryError::no_such_folder, this->m_library.rename_folder(u"Rts", u"X").error);
    this->expect_unchanged(before);
}

TYPED_TEST(LibraryEdits, DeleteFolderUpdatesTheReferencesOfEveryProfile) {
    this->fill();
    this->assign(2, 0, 1);                                  // Fps/Burst
    this->assign(0, 7, 4);                                  // Fps/Reload, in the current profile
    TypeParam::refer(this->m_profiles.at(1).button(16), 3); // Moba/Combo, moves to 1

    const LibraryResult deleted = this->m_library.delete_folder(u"FPS", this->m_profiles);
    ASSERT_TRUE(deleted.ok()) << deleted.error.message();
    EXPECT_EQ(3u, deleted.removed);
    EXPECT_EQ(u"Fps", deleted.name);
    EXPECT_TRUE(deleted.current_profile_touched);
    ASSERT_EQ(2u, this->m_library.size());
    EXPECT_TRUE(this->m_library.is_folder_entry(0));
    EXPECT_EQ(u"Combo", this->at(1).item_name());
    this->expect_saved();

    EXPECT_EQ(default_function_code(0), this->button(2, 0).function_code());
    EXPECT_EQ(-1, TypeParam::reference(this->button(2, 0)));
    EXPECT_EQ(default_function_code(7), this->button(0, 7).function_code());
    EXPECT_EQ(-1, TypeParam::reference(this->button(0, 7)));
    EXPECT_EQ(1, TypeParam::reference(this->button(1, 16)));
    std::size_t assigned = 0;
    for (std::size_t p = 0; p < this->m_profiles.size(); ++p) {
        for (std::size_t slot = 0; slot < ConfigBlock::kButtonCount; ++slot) {
            if (TypeParam::reference(this->button(p, slot)) >= 0) {
                ++assigned;
            }
        }
    }
    EXPECT_EQ(1u, assigned) << "no other button gained a reference";
}

TYPED_TEST(LibraryEdits, AddItemMakesANewItemOfTheKindInAnExistingFolder) {
    this->fill();
    const LibraryResult added = this->m_library.add_item(u"moba", u"Jungle");
    ASSERT_TRUE(added.ok()) << added.error.message();
    EXPECT_EQ(5, added.position);
    EXPECT_EQ(u"Jungle", added.name);
    EXPECT_EQ(bytes_of(TypeParam::item(u"Moba", u"Jungle").bytes()),
              bytes_of(this->m_library.record_bytes(5)))
        << "filed under the folder as the folder spells it";
    this->expect_saved();

    EXPECT_TRUE(this->m_library.add_item(u"Moba", u"Burst").ok()) << "taken in another folder";
}

TYPED_TEST(LibraryEdits, AddItemRefusesAMissingFolderAndEmptyTakenOrOverlongNames) {
    this->fill();
    const auto before = bytes_of(this->m_library.bytes());
    EXPECT_EQ(LibraryError::no_such_folder, this->m_library.add_item(u"Rts", u"Rush").error);
    expect_refused(
        {{u"", LibraryError::name_empty},
         {u"rELOAD", LibraryError::name_taken},
         {std::u16string(50, u'x'), LibraryError::name_too_long}},
        [this](std::u16string_view name) { return this->m_library.add_item(u"Fps", name); });
    this->expect_unchanged(before);
}

TYPED_TEST(LibraryEdits, RenameItemCarriesTheNameIntoEveryProfile) {
    this->fill();
    for (std::size_t p = 0; p < 3; ++p) {
        this->assign(p, p + 1, 4); // Fps/Reload
        this->m_profiles.at(p).button(p + 1).set_folder_name(u"Fps");
    }
    this->assign(1, 9, 1); // Fps/Burst

    const LibraryResult renamed = this->m_library.rename_item(4, u"Reload fast", this->m_profiles);
    ASSERT_TRUE(renamed.ok()) << renamed.error.message();
    EXPECT_TRUE(renamed.current_profile_touched);
    EXPECT_EQ(4, renamed.position);
    EXPECT_EQ(u"Reload fast", renamed.name);
    EXPECT_EQ(u"Reload fast", this->at(4).item_name());
    EXPECT_EQ(u"Fps", this->at(4).folder_name());
    this->expect_saved();
    for (std::size_t p = 0; p < 3; ++p) {
        EXPECT_EQ(u"Reload fast", this->button(p, p + 1).item_name()) << p;
        EXPECT_EQ(u"Fps", this->button(p, p + 1).folder_name()) << p;
        EXPECT_EQ(40, this->button(p, p + 1).function_code()) << p;
    }
    EXPECT_EQ(u"", this->button(1, 9).item_name()) << "refers to another item";

    EXPECT_TRUE(this->m_library.rename_item(4, u"RELOAD FAST", this->m_profiles).ok())
        << "a change of case";
    EXPECT_FALSE(
        this->m_library.rename_item(1, u"Burst fire", this->m_profiles).current_profile_touched)
        << "only another profile uses Burst";
}

TYPED_TEST(LibraryEdits, RenameItemRefusesTakenEmptyOrOverlongNamesAndNonItems) {
    this->fill();
    const auto before = bytes_of(this->m_library.bytes());
    expect_refused({{u"burst", LibraryError::name_taken},
                    {u"", LibraryError::name_empty},
                    {std::u16string(50, u'x'), LibraryError::name_too_long}},
                   [this](std::u16string_view name) {
                       return this->m_library.rename_item(4, name, this->m_profiles);
                   });
    for (const std::int32_t position : {-1, 0, 5}) {
        EXPECT_EQ(LibraryError::no_such_item,
                  this->m_library.rename_item(position, u"Any", this->m_profiles).error)
            << position;
    }
    this->expect_unchanged(before);
}

TYPED_TEST(LibraryEdits, LockedItemIsRenamedAndSavedButItsContentStays) {
    typename TypeParam::Record vault = TypeParam::item(u"Fps", u"Vault");
    vault.set_locked(true);
    TypeParam::set_count(vault, 4);
    this->fill();
    this->add_to_file(vault);
    this->assign(2, 3, 5);

    const LibraryResult renamed = this->m_library.rename_item(5, u"Safe", this->m_profiles);
    ASSERT_TRUE(renamed.ok()) << renamed.error.message();
    EXPECT_FALSE(renamed.current_profile_touched);
    EXPECT_EQ(u"Safe", this->at(5).item_name());
    this->expect_saved();
    EXPECT_EQ(u"Safe", this->button(2, 3).item_name());
    EXPECT_EQ(4, this->button(2, 3).action_count());

    auto edited = this->at(5);
    TypeParam::set_count(edited, 9);
    edited.set_locked(false);
    const auto before = bytes_of(this->m_library.bytes());
    EXPECT_EQ(LibraryError::locked, this->m_library.update_item(5, edited, this->m_profiles).error);
    this->expect_unchanged(before);
    EXPECT_EQ(4, this->button(2, 3).action_count());
}

TYPED_TEST(LibraryEdits, UpdateItemReachesEveryProfileAndKeepsNamesAndKind) {
    this->fill();
    this->assign(0, 0, 3);
    this->assign(2, 31, 3);
    auto edited = this->at(3);
    TypeParam::set_count(edited, 5);
    edited.set_folder_name(u"Fps");
    edited.set_item_name(u"Burst");
    edited.set_folder_entry(true);

    const LibraryResult updated = this->m_library.update_item(3, edited, this->m_profiles);
    ASSERT_TRUE(updated.ok()) << updated.error.message();
    EXPECT_TRUE(updated.current_profile_touched);
    EXPECT_EQ(3, updated.position);
    EXPECT_EQ(u"Combo", updated.name);
    EXPECT_EQ(u"Moba", this->at(3).folder_name());
    EXPECT_EQ(u"Combo", this->at(3).item_name());
    EXPECT_FALSE(this->m_library.is_folder_entry(3));
    this->expect_saved();
    EXPECT_EQ(5, this->button(0, 0).action_count());
    EXPECT_EQ(5, this->button(2, 31).action_count());
    EXPECT_EQ(0, this->button(1, 0).action_count()) << "no reference in the second profile";

    const auto before = bytes_of(this->m_library.bytes());
    std::vector<std::uint8_t> short_record = bytes_of(edited.bytes());
    short_record.pop_back();
    EXPECT_EQ(LibraryError::wrong_size,
              this->m_library.update_item(3, short_record, this->m_profiles).error);
    EXPECT_EQ(LibraryError::no_such_item,
              this->m_library.update_item(2, edited, this->m_profiles).error)
        << "a folder entry";
    this->expect_unchanged(before);
}

TYPED_TEST(LibraryEdits, DeleteItemResetsItsButtonsAndRenumbersEveryProfile) {
    this->fill();
    this->assign(0, 0, 1);
    this->assign(2, 20, 1);
    TypeParam::refer(this->m_profiles.at(1).button(5), 4);
    TypeParam::refer(this->m_profiles.at(2).button(21), 3);
    TypeParam::refer(this->m_profiles.at(2).button(22), 0);

    const LibraryResult deleted = this->m_library.delete_item(1, this->m_profiles);
    ASSERT_TRUE(deleted.ok()) << deleted.error.message();
    EXPECT_TRUE(deleted.current_profile_touched);
    EXPECT_EQ(1u, deleted.removed);
    EXPECT_EQ(1, deleted.position);
    EXPECT_EQ(u"Burst", deleted.name);
    ASSERT_EQ(4u, this->m_library.size());
    EXPECT_EQ(u"Reload", this->at(3).item_name());
    this->expect_saved();

    EXPECT_EQ(default_function_code(0), this->button(0, 0).function_code());
    EXPECT_EQ(-1, TypeParam::reference(this->button(0, 0)));
    EXPECT_EQ(default_function_code(20), this->button(2, 20).function_code());
    EXPECT_EQ(-1, TypeParam::reference(this->button(2, 20)));
    EXPECT_EQ(3, TypeParam::reference(this->button(1, 5))) << "still Reload";
    EXPECT_EQ(2, TypeParam::reference(this->button(2, 21))) << "still Combo";
    EXPECT_EQ(0, TypeParam::reference(this->button(2, 22))) << "before the removed item";

    const auto before = bytes_of(this->m_library.bytes());
    EXPECT_EQ(LibraryError::no_such_item, this->m_library.delete_item(0, this->m_profiles).error)
        << "a folder entry goes with its folder";
    EXPECT_EQ(LibraryError::no_such_item, this->m_library.delete_item(4, this->m_profiles).error);
    this->expect_unchanged(before);
}

TYPED_TEST(LibraryEdits, FailedSaveIsReportedAndTheChangeKept) {
    test::write_bytes(this->m_dir / "blocked", {});
    typename TypeParam::Library library(this->m_dir / "blocked");
    const LibraryResult added = library.add_folder(u"Fps");
    EXPECT_TRUE(added.error);
    EXPECT_NE(&library_category(), &added.error.category());
    EXPECT_EQ(1u, library.size()) << "the next save writes it";
}

TYPED_TEST(LibraryEdits, AFileAnotherProgramChangedTakesNoEditUntilItIsReadAgain) {
    this->fill();
    this->assign(0, 2, 1);
    const auto mine = bytes_of(this->m_library.bytes());
    const ButtonRecord button_before = this->button(0, 2);
    // Another program saved its own version: one record more.
    auto theirs = mine;
    const auto extra = TypeParam::item(u"Fps", u"Theirs");
    theirs.insert(theirs.end(), extra.bytes().begin(), extra.bytes().end());
    test::write_bytes(this->file(), theirs);

    auto& library = this->m_library;
    auto& profiles = this->m_profiles;
    const auto content = bytes_of(library.record_bytes(1));
    for (const LibraryResult& result :
         {library.add_folder(u"New"), library.rename_folder(u"Fps", u"Arena"),
          library.delete_folder(u"Moba", profiles), library.add_item(u"Fps", u"New"),
          library.rename_item(1, u"Renamed", profiles), library.update_item(1, content, profiles),
          library.delete_item(1, profiles)}) {
        EXPECT_EQ(LibraryError::changed_outside, result.error);
    }
    EXPECT_EQ(mine, bytes_of(library.bytes())) << "nothing changed in memory";
    EXPECT_EQ(theirs, test::read_bytes(this->file())) << "nor on disk";
    EXPECT_TRUE(button_before == this->button(0, 2)) << "nor in the buttons";

    ASSERT_EQ(6u, library.load().loaded);
    EXPECT_TRUE(library.add_folder(u"New").ok()) << "read again, it takes edits";

    // A file removed meanwhile holds nothing to lose: the edit is made and saved.
    std::filesystem::remove(this->file());
    EXPECT_TRUE(library.add_folder(u"Newer").ok());
    this->expect_saved();
}

TYPED_TEST(LibraryEdits, AFileThatExistsButCannotBeReadIsNeverWrittenInThatRun) {
    for (const test::Unreadable way : test::unreadable_ways()) {
        SCOPED_TRACE(test::describe(way));
        const std::error_code reason = test::unreadable_reason(way);
        this->fill();
        test::make_unreadable(this->file(), way);
        const LibraryLoad load = this->m_library.load();
        EXPECT_FALSE(load.opened);
        EXPECT_EQ(reason, load.error);
        EXPECT_TRUE(load.damaged_copy.empty());
        EXPECT_TRUE(this->m_library.empty());

        const LibraryResult added = this->m_library.add_folder(u"Fps");
        EXPECT_EQ(reason, added.error);
        EXPECT_EQ(1u, this->m_library.size()) << "the change stays in memory";
        EXPECT_EQ(reason, this->m_library.save());
        EXPECT_TRUE(test::left_as_made(this->file(), way));
        EXPECT_EQ(1, std::distance(std::filesystem::directory_iterator(this->file().parent_path()),
                                   std::filesystem::directory_iterator()))
            << "nothing was kept aside or left behind";

        // Once the file has gone, the next load lets saves write it again.
        std::filesystem::remove_all(this->file());
        EXPECT_FALSE(this->m_library.load().opened);
        EXPECT_FALSE(this->m_library.save());
    }
}

} // namespace
} // namespace zemrak
