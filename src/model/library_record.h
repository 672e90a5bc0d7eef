#pragma once

#include "model/byte_io.h"
#include "model/record_library.h"

#include <array>
#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>

namespace zemrak {

// What every record of a library holds at the same place or by the same rule: the folder name
// and the item name up front, a locked flag and a folder-entry flag (int32 each) where the
// record kind keeps them. `Record` is the record kind itself, so that make_folder() gives one.
template <class Record, std::size_t Size, std::size_t LockedOffset, std::size_t FolderEntryOffset>
class LibraryRecord {
public:
    static constexpr std::size_t kSize = Size;
    static constexpr std::size_t kFolderNameOffset = kRecordFolderNameOffset;
    static constexpr std::size_t kItemNameOffset = kRecordItemNameOffset;
    static constexpr std::size_t kLockedOffset = LockedOffset;
    static constexpr std::size_t kFolderEntryOffset = FolderEntryOffset;

    // A folder entry: only the folder name is set.
    [[nodiscard]] static Record make_folder(std::u16string_view folder) {
        Record record;
        record.set_folder_name(folder);
        record.set_folder_entry(true);
        return record;
    }

    // Names of at most 49 UTF-16 units; longer ones are cut when stored.
    [[nodiscard]] std::u16string folder_name() const {
        return load_name(m_bytes, kFolderNameOffset);
    }
    void set_folder_name(std::u16string_view name) { store_name(m_bytes, kFolderNameOffset, name); }
    // The item's own name; empty in a folder entry.
    [[nodiscard]] std::u16string item_name() const { return load_name(m_bytes, kItemNameOffset); }
    void set_item_name(std::u16string_view name) { store_name(m_bytes, kItemNameOffset, name); }

    // A locked item can be assigned to a button, but what it holds is neither shown nor
    // changed.
    [[nodiscard]] bool locked() const { return load_i32(m_bytes, kLockedOffset) != 0; }
    void set_locked(bool locked) { store_i32(m_bytes, kLockedOffset, locked ? 1 : 0); }
    [[nodiscard]] bool is_folder_entry() const {
        return load_i32(m_bytes, kFolderEntryOffset) != 0;
    }
    void set_folder_entry(bool entry) { store_i32(m_bytes, kFolderEntryOffset, entry ? 1 : 0); }

    [[nodiscard]] std::span<std::uint8_t, kSize> bytes() { return m_bytes; }
    [[nodiscard]] std::span<const std::uint8_t, kSize> bytes() const { return m_bytes; }

    friend bool operator==(const LibraryRecord&, const LibraryRecord&) = default;

protected:
    std::array<std::uint8_t, kSize> m_bytes{};
};

} // namespace zemrak
