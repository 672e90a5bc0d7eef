#pragma once
// The ordered list of fixed-size records that both the macro library and the recoil library
// are: folder entries and items share one list, items are referred to by their position, and
// the whole list is stored back to back in one file. The record kinds differ only in their
// size, where the folder-entry flag sits and which counts must be bounded.

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <functional>
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

// Where a record kind keeps what the list itself needs.
struct RecordLayout {
    std::size_t size = 0;
    // int32 flag; non-zero marks a record that only names a folder.
    std::size_t folder_entry_offset = 0;
    // Limits the record's counts in place to what the program can hold; true when it changed
    // one. Called on every record that enters the list.
    bool (*bound)(std::span<std::uint8_t> record) = nullptr;
};

// Every record kind carries its folder name and its item name here, 50 UTF-16 units each.
inline constexpr std::size_t kRecordFolderNameOffset = 0;
inline constexpr std::size_t kRecordItemNameOffset = 100;

// What loading a library file found.
struct LibraryLoad {
    bool opened = false;                // false: missing or unreadable; the library is empty
    bool whole = true;                  // false: a partial record at the end, or a read error
    std::size_t loaded = 0;             // whole records now in the list
    std::size_t bounded = 0;            // records whose counts had to be limited
    std::filesystem::path damaged_copy; // where a file that was not read whole was kept
    std::error_code error;              // the read error, or the failure to keep the file aside
};

// What deleting a folder did.
struct FolderDeletion {
    std::size_t removed = 0;              // records removed, the folder entry included
    bool current_profile_changed = false; // a button record of the current profile referred
                                          // to a removed record
    std::error_code save_error;           // the first save that failed
};

// How a change of the record at a position reaches the button records.
enum class LibraryChange {
    changed, // the record was edited; button records copy it again
    removed, // the record was taken out of the list; later positions moved down by one
};

// The button-record field that holds positions of one library.
struct ReferenceField {
    std::int32_t (ButtonRecord::*get)() const;
    void (ButtonRecord::*set)(std::int32_t);
};

// For every profile of the list, the button records whose `field` holds `position`:
//  - removed: the function code becomes the record's default and the reference is cleared
//    (-1), since the item is gone; references to later positions are lowered by one so that
//    they keep naming the same item.
//  - changed: `refresh(record, slot)` runs for each one (slot 0..31 in its profile).
// A negative position names no item: nothing changes. Returns true when the current profile
// holds a record that referred to `position`.
bool update_references(ProfileList& profiles, ReferenceField field, std::int32_t position,
                       LibraryChange change,
                       const std::function<void(ButtonRecord&, std::size_t)>& refresh);

// The list itself, holding the records as one contiguous image in file order. Positions are
// int32 like the button records that hold them; a position outside the list is answered with
// nothing, never read.
class RecordLibrary {
public:
    // When a folder deletion writes the file.
    enum class SavePolicy { after_each_removal, once_at_end };

    RecordLibrary(RecordLayout layout, std::filesystem::path file);

    [[nodiscard]] const std::filesystem::path& file() const { return m_file; }
    [[nodiscard]] std::size_t record_size() const { return m_layout.size; }
    [[nodiscard]] std::size_t size() const { return m_bytes.size() / m_layout.size; }
    [[nodiscard]] bool empty() const { return m_bytes.empty(); }
    [[nodiscard]] bool contains(std::int32_t position) const;

    // The bytes of the record at `position`; empty when there is none.
    [[nodiscard]] std::span<const std::uint8_t> record_bytes(std::int32_t position) const;
    // Replaces the record at `position` with `record` (record_size() bytes, bounded on the
    // way in). False, and nothing changes, for a wrong size or a position outside the list.
    bool replace(std::int32_t position, std::span<const std::uint8_t> record);
    // Adds a record at the end and returns its position; -1 for a record of the wrong size.
    std::int32_t append(std::span<const std::uint8_t> record);
    // Removes the record at `position`; the later ones move down by one. False when there is
    // no such record.
    bool remove(std::int32_t position);

    // The folder name of the record at `position`, or nothing when there is no such record.
    [[nodiscard]] std::optional<std::u16string> folder_name_at(std::int32_t position) const;
    [[nodiscard]] bool is_folder_entry(std::int32_t position) const;
    // True when any record, folder entry or item, is filed under `name` (case ignored).
    [[nodiscard]] bool folder_exists(std::u16string_view name) const;
    // True when any record has both names (case ignored).
    [[nodiscard]] bool item_exists(std::u16string_view folder, std::u16string_view item) const;
    // Positions of every record filed under `name`, the folder entry included, ascending.
    [[nodiscard]] std::vector<std::int32_t> positions_in_folder(std::u16string_view name) const;

    // Replaces the list with the whole records of the file, bounding each. A missing file
    // gives an empty list. A file that is not read whole (a partial record at the end, a read
    // error) keeps its whole records, drops the rest and is copied aside first, since the
    // next save would overwrite it.
    LibraryLoad load();
    // Writes every record in list order, atomically; an empty list gives an empty file.
    [[nodiscard]] std::error_code save() const;

    // Removes every record filed under `name` from the highest position down, calling
    // `removed(position)` after each removal (it returns whether the current profile was
    // touched), and saves as `policy` says.
    FolderDeletion delete_folder(std::u16string_view name, SavePolicy policy,
                                 const std::function<bool(std::int32_t)>& removed);

    // The whole list as the file holds it.
    [[nodiscard]] std::span<const std::uint8_t> bytes() const { return m_bytes; }

private:
    [[nodiscard]] std::span<const std::uint8_t> record_at(std::size_t index) const;
    [[nodiscard]] std::u16string folder_name_of(std::size_t index) const;

    RecordLayout m_layout;
    std::filesystem::path m_file;
    std::vector<std::uint8_t> m_bytes;
};

// The list with typed records. `Record` is a byte image with kSize, kFolderEntryOffset,
// bytes() and a static bound_image().
template <class Record>
class TypedRecordLibrary : public RecordLibrary {
public:
    explicit TypedRecordLibrary(std::filesystem::path file)
        : RecordLibrary(
              RecordLayout{Record::kSize, Record::kFolderEntryOffset, &Record::bound_image},
              std::move(file)) {}

    // A copy of the record at `position`, or nothing when there is none.
    [[nodiscard]] std::optional<Record> record_at(std::int32_t position) const {
        const auto bytes = record_bytes(position);
        if (bytes.empty()) {
            return std::nullopt;
        }
        Record record;
        std::copy(bytes.begin(), bytes.end(), record.bytes().begin());
        return record;
    }
    bool set_record(std::int32_t position, const Record& record) {
        return replace(position, record.bytes());
    }
    std::int32_t append_record(const Record& record) { return append(record.bytes()); }
};

} // namespace zemrak
