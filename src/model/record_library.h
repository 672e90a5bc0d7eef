#pragma once
// The ordered list of fixed-size records that both the macro library and the recoil library
// are: folder entries and items share one list, items are referred to by their position, and
// the whole list is stored back to back in one file. Button records of every profile hold
// positions and copies of items; each operation that edits the list brings them up to date
// and saves the file, so no caller can forget either.

#include "model/library_error.h"
#include "model/synced_file.h"

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <system_error>
#include <utility>
#include <vector>

namespace zemrak {

class ButtonRecord;
class ProfileList;

// The most records a library file may hold: a longer file is refused, not read.
inline constexpr std::size_t kMaxLibraryRecords = 100'000;

// Every record kind carries its folder name and its item name here, 50 UTF-16 units each.
inline constexpr std::size_t kRecordFolderNameOffset = 0;
inline constexpr std::size_t kRecordItemNameOffset = 100;

// The button-record field that holds positions of one library.
struct ReferenceField {
    std::int32_t (ButtonRecord::*get)() const = nullptr;
    void (ButtonRecord::*set)(std::int32_t) = nullptr;
};

// What the list needs to know of one record kind.
struct RecordKind {
    std::size_t size = 0;
    // int32 flag; non-zero marks a record that only names a folder.
    std::size_t folder_entry_offset = 0;
    // int32 flag; non-zero marks an item whose content may be assigned but not changed.
    std::size_t locked_offset = 0;
    // Limits the record's counts in place to what the program can hold; true when it changed
    // one. Called on every record that enters the list.
    bool (*bound)(std::span<std::uint8_t> record) = nullptr;
    // Turns a zero-filled record into a new item named `name` in `folder`.
    void (*make_item)(std::span<std::uint8_t> record, std::u16string_view folder,
                      std::u16string_view name) = nullptr;
    // Copies an item's content into a button record that refers to it (`slot` 0..31 in its
    // profile); the list copies the item's name. `item` is empty when the position the button
    // holds has no record.
    void (*copy_to_button)(std::span<const std::uint8_t> item, ButtonRecord& button,
                           std::size_t slot) = nullptr;
    ReferenceField reference;
};

// What loading a library file found.
struct LibraryLoad {
    bool opened = false;                // false: missing or unreadable; the library is empty
    bool whole = true;                  // false: a partial record at the end, or a read error
    std::size_t loaded = 0;             // whole records now in the list
    std::size_t bounded = 0;            // records whose counts had to be limited
    std::filesystem::path damaged_copy; // where a file that was not read whole was kept
    // With `opened` false: why a file that exists could not be opened or read, and is not
    // written in this run. Otherwise: the failure to keep the file aside.
    std::error_code error;
};

// What one operation did. A refused operation (a LibraryError) changed nothing; a failed save
// leaves the change in memory, where the next save writes it.
struct [[nodiscard]] LibraryResult {
    std::error_code error;
    // A button record of the current profile referred to the item changed, renamed or
    // removed: the button page must show the profile again.
    bool current_profile_touched = false;
    // The item acted on (added, imported, renamed, changed, exported, or where a removed one
    // stood); for folder operations the folder's entry, -1 when it has none or is gone.
    std::int32_t position = -1;
    // The name the item or folder has (or had, when removed), as the library stores it.
    std::u16string name;
    std::size_t removed = 0; // records taken out of the list
    [[nodiscard]] bool ok() const { return !error; }
};

// Whether an export marks the written records locked.
enum class ExportMode { plain, locked };

// The list itself, holding the records as one contiguous image in file order. Positions are
// int32 like the button records that hold them; a position outside the list is answered with
// nothing, never read. Names are compared without regard to case everywhere.
class RecordLibrary {
public:
    // `lock`: the data folder's lock of this process, taken by every save (null: not taken).
    RecordLibrary(RecordKind kind, std::filesystem::path file,
                  std::shared_ptr<DataFolderLock> lock = nullptr);

    [[nodiscard]] const std::filesystem::path& file() const { return m_file; }
    [[nodiscard]] std::size_t record_size() const { return m_kind.size; }
    [[nodiscard]] std::size_t size() const { return m_bytes.size() / m_kind.size; }
    [[nodiscard]] bool empty() const { return m_bytes.empty(); }
    [[nodiscard]] bool contains(std::int32_t position) const;

    // The bytes of the record at `position`; empty when there is none.
    [[nodiscard]] std::span<const std::uint8_t> record_bytes(std::int32_t position) const;
    // The folder name of the record at `position`, or nothing when there is no such record.
    [[nodiscard]] std::optional<std::u16string> folder_name_at(std::int32_t position) const;
    [[nodiscard]] bool is_folder_entry(std::int32_t position) const;
    // The item name of the record at `position` (empty for a folder entry), or nothing when
    // there is no such record.
    [[nodiscard]] std::optional<std::u16string> item_name_at(std::int32_t position) const;
    // True when the record at `position` is marked locked; false when there is no record.
    [[nodiscard]] bool is_locked(std::int32_t position) const;
    // True when any record, folder entry or item, is filed under `name`.
    [[nodiscard]] bool folder_exists(std::u16string_view name) const;
    // True when any record has both names.
    [[nodiscard]] bool item_exists(std::u16string_view folder, std::u16string_view item) const;
    // Positions of every record filed under `name`, the folder entry included, ascending.
    [[nodiscard]] std::vector<std::int32_t> positions_in_folder(std::u16string_view name) const;

    // Replaces the list with the whole records of the file, bounding each. A missing file
    // gives an empty list. A file that ends in a partial record keeps its whole records,
    // drops the rest and is copied aside first, since the next save would overwrite it. A
    // file that exists but cannot be opened or read, or holds more than kMaxLibraryRecords
    // records, gives an empty list and is not written until a later load has read it: every
    // save returns the error instead.
    LibraryLoad load();
    // Writes every record in list order, atomically; an empty list gives an empty file. A
    // file that another program changed since the last load or save is not written over:
    // FileError::changed_outside, and the caller loads it again.
    [[nodiscard]] std::error_code save() const;
    // True when the file is not the one this library last loaded or saved.
    [[nodiscard]] bool changed_outside() const { return m_sync->changed_outside(); }

    // Every operation below that edits the list is refused with LibraryError::changed_outside,
    // changing nothing, while the file holds another version than the one last loaded or
    // saved: load it again first. Callers that share the data folder hold its lock across the
    // operation, so that no other program writes between the look and the save.

    // A new, empty folder: its folder entry at the end of the list. Refused when the name is
    // empty, longer than 49 units or carried by any record.
    LibraryResult add_folder(std::u16string_view name);
    // Every record filed under `old_name` takes `new_name`. Button records keep the folder
    // name they copied when the item was assigned. Refused when there is no such folder, or
    // `new_name` is empty, too long or carried by another folder (a change of case is fine).
    LibraryResult rename_folder(std::u16string_view old_name, std::u16string_view new_name);
    // Removes the folder entry and every item filed under `name`, from the highest position
    // down; the button records that referred to them get their default function code and -1,
    // and later positions move down with the list. Saves once, with the whole folder gone.
    LibraryResult delete_folder(std::u16string_view name, ProfileList& profiles);

    // A new item of the kind at the end of the list, filed under the existing `folder` (kept
    // as the folder's records spell it). Refused when the folder does not exist, or the name
    // is empty, too long or taken by an item of that folder.
    LibraryResult add_item(std::u16string_view folder, std::u16string_view name);
    // Gives the item a new name and carries it into every button record that refers to it.
    // Locked items can be renamed: the lock guards the content, not the name. Refused when the
    // name is empty, too long or taken by another item of the folder.
    LibraryResult rename_item(std::int32_t position, std::u16string_view name,
                              ProfileList& profiles);
    // Replaces the item's content with `record` (bounded) and copies it into every button
    // record that refers to it. The item keeps its folder, name and kind: those change only
    // through the operations that check them. Refused for a locked item or a record of the
    // wrong size.
    LibraryResult update_item(std::int32_t position, std::span<const std::uint8_t> record,
                              ProfileList& profiles);
    // Removes the item; button records that referred to it get their default function code
    // and -1, references to later items move down by one so that they keep their item.
    LibraryResult delete_item(std::int32_t position, ProfileList& profiles);

    // Reads a file of exactly one record. Into `folder`: the item is named after the file's
    // base name, made unique in the folder. Without a folder: a new folder named as the
    // record says (made unique among folders) is created with its entry and the item keeps
    // its stored name; names the record leaves empty come from the file's base name. The lock
    // and the content come from the file; the record is always taken as an item.
    LibraryResult import_item(const std::filesystem::path& file,
                              std::optional<std::u16string_view> folder = std::nullopt);
    // Reads a file of whole records (at least one) into a new folder named after the file's
    // base name, made unique among folders; every record is filed under it and otherwise kept
    // as read. A file without a folder entry gets one ahead of its items, so that the folder
    // is still listed after the next start.
    LibraryResult import_folder(const std::filesystem::path& file);
    // Writes the item's record to `file`; the locked mode sets the locked flag in the written
    // copy only.
    LibraryResult export_item(std::int32_t position, const std::filesystem::path& file,
                              ExportMode mode) const;
    // Writes every record filed under `name`, in list order, locked as `mode` says.
    LibraryResult export_folder(std::u16string_view name, const std::filesystem::path& file,
                                ExportMode mode) const;

    // Brings the button records of every profile that refer to `position` in line with the
    // list as it is, without changing it: what the operations do after an edit, for positions
    // that came from elsewhere (a profile saved against another library). A position with no
    // record is handled as the kind says. -1, what unassigned buttons hold, changes nothing.
    // True when the current profile holds such a button record.
    [[nodiscard]] bool refresh_references(std::int32_t position, ProfileList& profiles) const;

    // The whole list as the file holds it.
    [[nodiscard]] std::span<const std::uint8_t> bytes() const { return m_bytes; }

private:
    enum class Change { changed, removed };

    [[nodiscard]] std::span<const std::uint8_t> record_at(std::size_t index) const;
    [[nodiscard]] std::span<std::uint8_t> record_at(std::size_t index);
    [[nodiscard]] std::u16string folder_name_of(std::size_t index) const;
    [[nodiscard]] std::u16string item_name_of(std::size_t index) const;
    [[nodiscard]] bool locked(std::int32_t position) const;
    // The longest file of this kind that is read, in bytes.
    [[nodiscard]] std::uint64_t max_bytes() const;

    // Raw edits of the list; the operations above keep the file and the references in step.
    // `record` must be record_size() bytes; it is bounded on the way in.
    void replace(std::int32_t position, std::span<const std::uint8_t> record);
    std::int32_t append(std::span<const std::uint8_t> record);
    std::int32_t append_folder_entry(std::u16string_view name);
    void remove(std::int32_t position);

    // The button records of every profile that refer to `position`, after its item changed
    // or was removed; true when one of them is in the current profile.
    bool propagate(std::int32_t position, ProfileList& profiles, Change change) const;

    // full when `added` more records would take the list past kMaxLibraryRecords, which a
    // later load would refuse.
    [[nodiscard]] std::error_code check_room(std::size_t added) const;
    // changed_outside when another program wrote the file since this list was loaded or
    // saved: an edit of the list in memory would be lost when the file is read again, so
    // none is made until then.
    [[nodiscard]] std::error_code check_current() const;
    // FileError::data_file when an export to `file` would write over one of the data files.
    [[nodiscard]] std::error_code check_export_target(const std::filesystem::path& file) const;
    // no_such_item unless `position` holds an item.
    [[nodiscard]] std::error_code check_item(std::int32_t position) const;
    // The position of another item than `except` with both names, or -1.
    [[nodiscard]] std::int32_t find_item(std::u16string_view folder, std::u16string_view item,
                                         std::int32_t except) const;
    // The first folder entry among `positions`, or -1.
    [[nodiscard]] std::int32_t folder_entry_among(std::span<const std::int32_t> positions) const;
    // `base`, or base_1, base_2, ...: the first name no record carries as its folder name.
    [[nodiscard]] std::u16string unique_folder_name(std::u16string_view base) const;
    // `base`, or base_1, base_2, ...: the first name no item of `folder` has.
    [[nodiscard]] std::u16string unique_item_name(std::u16string_view folder,
                                                  std::u16string_view base) const;
    // Saves and turns the result of the operation into its report.
    LibraryResult saved(LibraryResult result) const;

    RecordKind m_kind;
    std::filesystem::path m_file;
    std::vector<std::uint8_t> m_bytes;
    std::error_code m_readError;        // set by a load that could not read the file
    std::unique_ptr<SyncedFile> m_sync; // on the heap: a library may move
};

// A typed copy of a record's bytes, or nothing for an empty span. `Record` is a byte image
// with kSize and bytes().
template <class Record>
[[nodiscard]] std::optional<Record> record_from(std::span<const std::uint8_t> bytes) {
    if (bytes.size() != Record::kSize) {
        return std::nullopt;
    }
    Record record;
    std::copy(bytes.begin(), bytes.end(), record.bytes().begin());
    return record;
}

// RecordKind::make_item for a record type that makes its new items with `Make`.
template <class Record, Record (*Make)(std::u16string_view, std::u16string_view)>
void make_item_image(std::span<std::uint8_t> record, std::u16string_view folder,
                     std::u16string_view name) {
    const Record made = Make(folder, name);
    std::copy(made.bytes().begin(), made.bytes().end(), record.begin());
}

// The description of a record type with kSize, kFolderEntryOffset, kLockedOffset and a static
// bound_image(), whose new items `Make` makes.
template <class Record, Record (*Make)(std::u16string_view, std::u16string_view)>
[[nodiscard]] constexpr RecordKind record_kind(void (*copy_to_button)(std::span<const std::uint8_t>,
                                                                      ButtonRecord&, std::size_t),
                                               ReferenceField reference) {
    return RecordKind{Record::kSize,
                      Record::kFolderEntryOffset,
                      Record::kLockedOffset,
                      &Record::bound_image,
                      &make_item_image<Record, Make>,
                      copy_to_button,
                      reference};
}

// The list with typed records.
template <class Record>
class TypedRecordLibrary : public RecordLibrary {
public:
    TypedRecordLibrary(RecordKind kind, std::filesystem::path file,
                       std::shared_ptr<DataFolderLock> lock = nullptr)
        : RecordLibrary(kind, std::move(file), std::move(lock)) {}

    // A copy of the record at `position`, or nothing when there is none.
    [[nodiscard]] std::optional<Record> record_at(std::int32_t position) const {
        return record_from<Record>(record_bytes(position));
    }

    using RecordLibrary::update_item;
    LibraryResult update_item(std::int32_t position, const Record& record, ProfileList& profiles) {
        return RecordLibrary::update_item(position, record.bytes(), profiles);
    }
};

} // namespace zemrak
