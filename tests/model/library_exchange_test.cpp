// Items and folders exported to files and imported from them, on both the macro and the
// recoil library.

#include "model/unicode.h"
#include "test_support/library_support.h"

#include <string>
#include <vector>

#include <gtest/gtest.h>

namespace zemrak {
namespace {

using test::bytes_of;
using test::read_bytes;
using test::write_bytes;

template <class Kind>
class LibraryExchange : public test::LibraryTest<Kind> {
protected:
    [[nodiscard]] std::filesystem::path item_file(const std::string& stem) const {
        return this->m_dir / (stem + Kind::kItemExtension);
    }
    [[nodiscard]] std::filesystem::path folder_file(const std::string& stem) const {
        return this->m_dir / (stem + Kind::kFolderExtension);
    }
    // The records at `positions`, back to back, locked when asked.
    [[nodiscard]] std::vector<std::uint8_t> records(std::initializer_list<std::int32_t> positions,
                                                    bool locked) const {
        std::vector<std::uint8_t> image;
        for (const std::int32_t position : positions) {
            auto record = this->at(position);
            if (locked) {
                record.set_locked(true);
            }
            image.insert(image.end(), record.bytes().begin(), record.bytes().end());
        }
        return image;
    }
};
TYPED_TEST_SUITE(LibraryExchange, test::LibraryKinds, test::KindNames);

TYPED_TEST(LibraryExchange, ExportedItemIsTheRecordLockedOnlyInTheCopy) {
    this->fill();
    auto burst = this->at(1);
    TypeParam::set_count(burst, 3);
    ASSERT_TRUE(this->m_library.update_item(1, burst, this->m_profiles).ok());

    const LibraryResult plain =
        this->m_library.export_item(1, this->item_file("plain"), ExportMode::plain);
    ASSERT_TRUE(plain.ok()) << plain.error.message();
    EXPECT_EQ(1, plain.position);
    EXPECT_EQ(u"Burst", plain.name);
    EXPECT_EQ(bytes_of(burst.bytes()), read_bytes(this->item_file("plain")));

    ASSERT_TRUE(this->m_library.export_item(1, this->item_file("locked"), ExportMode::locked).ok());
    std::vector<std::uint8_t> locked = bytes_of(burst.bytes());
    locked[TypeParam::Record::kLockedOffset] = 1;
    EXPECT_EQ(locked, read_bytes(this->item_file("locked")));
    EXPECT_FALSE(this->at(1).locked()) << "the library keeps its own record";
    this->expect_saved();

    for (const std::int32_t position : {-1, 0, 5}) {
        EXPECT_EQ(
            LibraryError::no_such_item,
            this->m_library.export_item(position, this->item_file("none"), ExportMode::plain).error)
            << position;
    }
    EXPECT_FALSE(std::filesystem::exists(this->item_file("none")));
}

TYPED_TEST(LibraryExchange, ExportedFolderHoldsItsRecordsInListOrder) {
    this->fill();
    const LibraryResult plain =
        this->m_library.export_folder(u"FPS", this->folder_file("plain"), ExportMode::plain);
    ASSERT_TRUE(plain.ok()) << plain.error.message();
    EXPECT_EQ(0, plain.position);
    EXPECT_EQ(u"Fps", plain.name);
    EXPECT_EQ(this->records({0, 1, 4}, false), read_bytes(this->folder_file("plain")));

    ASSERT_TRUE(
        this->m_library.export_folder(u"Fps", this->folder_file("locked"), ExportMode::locked)
            .ok());
    EXPECT_EQ(this->records({0, 1, 4}, true), read_bytes(this->folder_file("locked")));
    EXPECT_FALSE(this->at(4).locked());

    EXPECT_EQ(
        LibraryError::no_such_folder,
        this->m_library.export_folder(u"Rts", this->folder_file("none"), ExportMode::plain).error);
    EXPECT_FALSE(std::filesystem::exists(this->folder_file("none")));
}

TYPED_TEST(LibraryExchange, ItemImportedIntoAFolderIsNamedAfterTheFileMadeUnique) {
    this->fill();
    ASSERT_TRUE(this->m_library.add_item(u"Moba", u"Combo_1").ok());
    auto source = TypeParam::item(u"Elsewhere", u"Other");
    TypeParam::set_count(source, 6);
    source.set_locked(true);
    write_bytes(this->item_file("Combo"), bytes_of(source.bytes()));

    const LibraryResult imported = this->m_library.import_item(this->item_file("Combo"), u"moba");
    ASSERT_TRUE(imported.ok()) << imported.error.message();
    EXPECT_EQ(6, imported.position);
    EXPECT_EQ(u"Combo_2", imported.name);
    auto expected = source;
    expected.set_folder_name(u"Moba");
    expected.set_item_name(u"Combo_2");
    EXPECT_EQ(bytes_of(expected.bytes()), bytes_of(this->m_library.record_bytes(6)))
        << "the lock and the content come from the file";
    this->expect_saved();

    EXPECT_EQ(u"Combo_3", this->m_library.import_item(this->item_file("Combo"), u"Moba").name);
    EXPECT_EQ(LibraryError::no_such_folder,
              this->m_library.import_item(this->item_file("Combo"), u"Rts").error);
}

TYPED_TEST(LibraryExchange, ItemImportedWithoutAFolderGetsANewFolderOfItsStoredName) {
    this->fill();
    ASSERT_TRUE(this->m_library.export_item(1, this->item_file("Shared"), ExportMode::plain).ok());

    const LibraryResult imported = this->m_library.import_item(this->item_file("Shared"));
    ASSERT_TRUE(imported.ok()) << imported.error.message();
    EXPECT_EQ(6, imported.position);
    EXPECT_EQ(u"Burst", imported.name) << "the stored name";
    EXPECT_TRUE(this->m_library.is_folder_entry(5));
    EXPECT_EQ(u"Fps_1", this->m_library.folder_name_at(5));
    EXPECT_EQ(u"Fps_1", this->at(6).folder_name());
    EXPECT_EQ(u"Burst", this->at(6).item_name());
    this->expect_saved();

    const LibraryResult again = this->m_library.import_item(this->item_file("Shared"));
    EXPECT_EQ(u"Fps_2", this->m_library.folder_name_at(again.position));

    // Names the record leaves empty come from the file; a folder entry comes in as an item.
    auto blank = TypeParam::item(u"", u"");
    blank.set_folder_entry(true);
    write_bytes(this->item_file("Loose"), bytes_of(blank.bytes()));
    const LibraryResult loose = this->m_library.import_item(this->item_file("Loose"));
    ASSERT_TRUE(loose.ok()) << loose.error.message();
    EXPECT_EQ(u"Loose", loose.name);
    EXPECT_EQ(u"Loose", this->m_library.folder_name_at(loose.position));
    EXPECT_FALSE(this->m_library.is_folder_entry(loose.position));
    EXPECT_EQ(std::vector<std::int32_t>({loose.position - 1, loose.position}),
              this->m_library.positions_in_folder(u"Loose"));
}

TYPED_TEST(LibraryExchange, ImportedNamesAreShortenedToFitWithTheirSuffix) {
    this->fill();
    const std::string stem(60, 'x');
    write_bytes(this->item_file(stem), bytes_of(TypeParam::item(u"F", u"I").bytes()));
    EXPECT_EQ(std::u16string(49, u'x'),
              this->m_library.import_item(this->item_file(stem), u"Fps").name);
    EXPECT_EQ(std::u16string(47, u'x') + u"_1",
              this->m_library.import_item(this->item_file(stem), u"Fps").name);

    const std::u16string longest(49, u'y');
    write_bytes(this->item_file("long"), bytes_of(TypeParam::item(longest, u"I").bytes()));
    const LibraryResult first = this->m_library.import_item(this->item_file("long"));
    EXPECT_EQ(longest, this->m_library.folder_name_at(first.position));
    const LibraryResult second = this->m_library.import_item(this->item_file("long"));
    EXPECT_EQ(std::u16string(47, u'y') + u"_1", this->m_library.folder_name_at(second.position));

    write_bytes(this->folder_file(std::string(60, 'z')),
                bytes_of(TypeParam::item(u"F", u"I").bytes()));
    EXPECT_EQ(std::u16string(49, u'z'),
              this->m_library.import_folder(this->folder_file(std::string(60, 'z'))).name);
    EXPECT_EQ(std::u16string(47, u'z') + u"_1",
              this->m_library.import_folder(this->folder_file(std::string(60, 'z'))).name);
    this->expect_saved();
}

TYPED_TEST(LibraryExchange, FilesOfTheWrongSizeAreRefusedAndChangeNothing) {
    this->fill();
    const auto before = bytes_of(this->m_library.bytes());
    const auto record = bytes_of(TypeParam::item(u"F", u"I").bytes());
    for (const std::size_t size : {std::size_t{0}, TypeParam::Record::kSize - 1,
                                   TypeParam::Record::kSize + 1, 2 * TypeParam::Record::kSize}) {
        std::vector<std::uint8_t> bytes = record;
        bytes.resize(size);
        write_bytes(this->item_file("odd"), bytes);
        EXPECT_EQ(LibraryError::wrong_size,
                  this->m_library.import_item(this->item_file("odd"), u"Fps").error)
            << size;
        EXPECT_EQ(LibraryError::wrong_size,
                  this->m_library.import_item(this->item_file("odd")).error)
            << size;
    }
    for (const std::size_t size :
         {std::size_t{0}, TypeParam::Record::kSize - 1, 2 * TypeParam::Record::kSize + 1}) {
        std::vector<std::uint8_t> bytes = record;
        bytes.resize(size);
        write_bytes(this->folder_file("odd"), bytes);
        EXPECT_EQ(LibraryError::wrong_size,
                  this->m_library.import_folder(this->folder_file("odd")).error)
            << size;
    }
    EXPECT_EQ(std::errc::no_such_file_or_directory,
              this->m_library.import_item(this->item_file("missing")).error);
    EXPECT_EQ(std::errc::no_such_file_or_directory,
              this->m_library.import_folder(this->folder_file("missing")).error);
    EXPECT_EQ(before, bytes_of(this->m_library.bytes()));
    this->expect_saved();
}

// A list past its limit would be refused whole at the next start: the operations that add
// records stop at it and change nothing.
class LibraryLimit : public test::LibraryTest<test::RecoilKind> {};

TEST_F(LibraryLimit, NoOperationTakesTheListPastItsLimit) {
    std::vector<std::uint8_t> image;
    image.reserve(kMaxLibraryRecords * RecoilRecord::kSize);
    const RecoilRecord folder = RecoilRecord::make_folder(u"Fps");
    const RecoilRecord item = RecoilRecord::make_pattern(u"Fps", u"Spray");
    image.insert(image.end(), folder.bytes().begin(), folder.bytes().end());
    while (image.size() < (kMaxLibraryRecords - 2) * RecoilRecord::kSize) {
        image.insert(image.end(), item.bytes().begin(), item.bytes().end());
    }
    write_bytes(file(), image);
    RecoilLibrary& library = m_library;
    ASSERT_EQ(kMaxLibraryRecords - 2, library.load().loaded);
    const std::filesystem::path one = m_dir / "one.gbin";
    write_bytes(one, std::vector<std::uint8_t>(item.bytes().begin(), item.bytes().end()));

    EXPECT_TRUE(library.import_item(one, u"Fps").ok()) << "one short of the limit";
    EXPECT_EQ(LibraryError::full, library.import_item(one).error) << "with its folder: two";
    EXPECT_TRUE(library.add_item(u"Fps", u"Last").ok()) << "up to the limit";
    EXPECT_EQ(LibraryError::full, library.add_item(u"Fps", u"More").error);
    EXPECT_EQ(LibraryError::full, library.add_folder(u"New").error);
    EXPECT_EQ(LibraryError::full, library.import_folder(one).error);
    EXPECT_EQ(kMaxLibraryRecords, library.size());
    expect_saved();
}

TYPED_TEST(LibraryExchange, LockedFolderExportComesBackAsANewLockedFolder) {
    this->fill();
    ASSERT_TRUE(
        this->m_library.export_folder(u"Fps", this->folder_file("Fps"), ExportMode::locked).ok());

    const LibraryResult imported = this->m_library.import_folder(this->folder_file("Fps"));
    ASSERT_TRUE(imported.ok()) << imported.error.message();
    EXPECT_EQ(u"Fps_1", imported.name);
    EXPECT_EQ(5, imported.position) << "the file's own folder entry";
    ASSERT_EQ(std::vector<std::int32_t>({5, 6, 7}), this->m_library.positions_in_folder(u"Fps_1"));
    EXPECT_TRUE(this->m_library.is_folder_entry(5));
    EXPECT_EQ(u"Burst", this->at(6).item_name());
    EXPECT_EQ(u"Reload", this->at(7).item_name());
    for (const std::int32_t position : {5, 6, 7}) {
        EXPECT_TRUE(this->at(position).locked()) << position;
    }
    for (const std::int32_t position : {0, 1, 4}) {
        EXPECT_FALSE(this->at(position).locked()) << position;
    }
    this->expect_saved();
}

TYPED_TEST(LibraryExchange, FolderFileWithoutAnEntryGetsOneThatSurvivesARestart) {
    this->fill();
    write_bytes(this->folder_file("Loose"),
                test::image_of({TypeParam::item(u"A", u"One"), TypeParam::item(u"B", u"Two")}));

    const LibraryResult imported = this->m_library.import_folder(this->folder_file("Loose"));
    ASSERT_TRUE(imported.ok()) << imported.error.message();
    EXPECT_EQ(u"Loose", imported.name);
    EXPECT_EQ(5, imported.position);
    EXPECT_TRUE(this->m_library.is_folder_entry(5));
    EXPECT_EQ(u"One", this->at(6).item_name());
    EXPECT_EQ(u"Two", this->at(7).item_name());
    EXPECT_FALSE(this->m_library.is_folder_entry(7));

    ASSERT_EQ(8u, this->m_library.load().loaded);
    EXPECT_EQ(std::vector<std::int32_t>({5, 6, 7}), this->m_library.positions_in_folder(u"loose"));
    EXPECT_TRUE(this->m_library.is_folder_entry(5));
}

TYPED_TEST(LibraryExchange, FolderFileWithTwoEntriesGivesOneFolder) {
    this->fill();
    using Folder = typename TypeParam::Record;
    write_bytes(this->folder_file("Twice"),
                test::image_of({Folder::make_folder(u"A"), TypeParam::item(u"A", u"One"),
                                Folder::make_folder(u"B")}));

    const LibraryResult imported = this->m_library.import_folder(this->folder_file("Twice"));
    ASSERT_TRUE(imported.ok()) << imported.error.message();
    EXPECT_EQ(5, imported.position);
    EXPECT_EQ(std::vector<std::int32_t>({5, 6}), this->m_library.positions_in_folder(u"Twice"))
        << "listed once";
    EXPECT_EQ(7u, this->m_library.size());
}

TYPED_TEST(LibraryExchange, ExportsNeverWriteOverTheDataFiles) {
    this->fill();
    const std::filesystem::path data = this->file().parent_path();
    std::filesystem::create_directory(this->m_dir / "elsewhere");
    std::filesystem::create_directory_symlink(data, this->m_dir / "link");
    const auto own = read_bytes(this->file());
    for (const std::filesystem::path& target :
         {this->file(), data / "profile.bin", this->m_dir / "elsewhere" / ".." / "Data" / "gun.bin",
          this->m_dir / "link" / "macro.bin", data / "Data.bin"}) {
        const bool existed = std::filesystem::exists(target);
        EXPECT_EQ(FileError::data_file,
                  this->m_library.export_item(1, target, ExportMode::plain).error)
            << target;
        EXPECT_EQ(FileError::data_file,
                  this->m_library.export_folder(u"Fps", target, ExportMode::locked).error)
            << target;
        EXPECT_EQ(existed, std::filesystem::exists(target)) << target;
    }
    EXPECT_EQ(own, read_bytes(this->file()));
    EXPECT_TRUE(this->m_library
                    .export_item(1, data / ("Burst" + std::string(TypeParam::kItemExtension)),
                                 ExportMode::plain)
                    .ok())
        << "any other name in the data folder will do";
}

} // namespace
} // namespace zemrak
