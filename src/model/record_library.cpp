#include "model/record_library.h"

#include "model/button_functions.h"
#include "model/byte_io.h"
#include "model/config_block.h"
#include "model/profile_list.h"
#include "model/unicode.h"
#include "platform/file_io.h"
#include "platform/folders.h"

namespace zemrak {
namespace {

// What load_name() and equal_ignoring_case() would say together, without building a string:
// the name dialog and the import checks run this over every record.
bool stored_name_equals(std::span<const std::uint8_t> record, std::size_t offset,
                        std::u16string_view name) {
    if (name.size() > kMaxNameLength) {
        return false;
    }
    for (std::size_t i = 0; i < name.size(); ++i) {
        const auto unit = static_cast<char16_t>(load_u16(record, offset + 2 * i));
        if (unit == 0 || fold_case(unit) != fold_case(name[i])) {
            return false;
        }
    }
    return name.size() == kMaxNameLength || load_u16(record, offset + 2 * name.size()) == 0;
}

} // namespace

RecordLibrary::RecordLibrary(RecordKind kind, std::filesystem::path file,
                             std::shared_ptr<DataFolderLock> lock)
    : m_kind(kind), m_file(std::move(file)),
      m_sync(std::make_unique<SyncedFile>(m_file, std::move(lock))) {}

std::uint64_t RecordLibrary::max_bytes() const {
    // A partial record after the last whole one is still read, to be kept aside.
    return static_cast<std::uint64_t>(kMaxLibraryRecords + 1) * m_kind.size - 1;
}

bool RecordLibrary::contains(std::int32_t position) const {
    return position >= 0 && static_cast<std::size_t>(position) < size();
}

std::span<const std::uint8_t> RecordLibrary::record_at(std::size_t index) const {
    return std::span(m_bytes).subspan(index * m_kind.size, m_kind.size);
}

std::span<std::uint8_t> RecordLibrary::record_at(std::size_t index) {
    return std::span(m_bytes).subspan(index * m_kind.size, m_kind.size);
}

std::u16string RecordLibrary::folder_name_of(std::size_t index) const {
    return load_name(record_at(index), kRecordFolderNameOffset);
}

std::u16string RecordLibrary::item_name_of(std::size_t index) const {
    return load_name(record_at(index), kRecordItemNameOffset);
}

bool RecordLibrary::locked(std::int32_t position) const {
    return load_i32(record_bytes(position), m_kind.locked_offset) != 0;
}

std::span<const std::uint8_t> RecordLibrary::record_bytes(std::int32_t position) const {
    if (!contains(position)) {
        return {};
    }
    return record_at(static_cast<std::size_t>(position));
}

void RecordLibrary::replace(std::int32_t position, std::span<const std::uint8_t> record) {
    const auto target = record_at(static_cast<std::size_t>(position));
    std::copy(record.begin(), record.end(), target.begin());
    m_kind.bound(target);
}

std::int32_t RecordLibrary::append(std::span<const std::uint8_t> record) {
    const std::size_t index = size();
    m_bytes.insert(m_bytes.end(), record.begin(), record.end());
    m_kind.bound(record_at(index));
    return static_cast<std::int32_t>(index);
}

std::int32_t RecordLibrary::append_folder_entry(std::u16string_view name) {
    std::vector<std::uint8_t> entry(m_kind.size);
    store_name(entry, kRecordFolderNameOffset, name);
    store_i32(entry, m_kind.folder_entry_offset, 1);
    return append(entry);
}

void RecordLibrary::remove(std::int32_t position) {
    const auto first = m_bytes.begin() + static_cast<std::ptrdiff_t>(
                                             static_cast<std::size_t>(position) * m_kind.size);
    m_bytes.erase(first, first + static_cast<std::ptrdiff_t>(m_kind.size));
}

std::optional<std::u16string> RecordLibrary::folder_name_at(std::int32_t position) const {
    if (!contains(position)) {
        return std::nullopt;
    }
    return folder_name_of(static_cast<std::size_t>(position));
}

std::optional<std::u16string> RecordLibrary::item_name_at(std::int32_t position) const {
    if (!contains(position)) {
        return std::nullopt;
    }
    return item_name_of(static_cast<std::size_t>(position));
}

bool RecordLibrary::is_locked(std::int32_t position) const {
    return contains(position) && locked(position);
}

bool RecordLibrary::is_folder_entry(std::int32_t position) const {
    const auto record = record_bytes(position);
    return !record.empty() && load_i32(record, m_kind.folder_entry_offset) != 0;
}

bool RecordLibrary::folder_exists(std::u16string_view name) const {
    for (std::size_t i = 0; i < size(); ++i) {
        if (stored_name_equals(record_at(i), kRecordFolderNameOffset, name)) {
            return true;
        }
    }
    return false;
}

bool RecordLibrary::item_exists(std::u16string_view folder, std::u16string_view item) const {
    return find_item(folder, item, -1) >= 0;
}

std::int32_t RecordLibrary::find_item(std::u16string_view folder, std::u16string_view item,
                                      std::int32_t except) const {
    for (std::size_t i = 0; i < size(); ++i) {
        const auto record = record_at(i);
        const auto position = static_cast<std::int32_t>(i);
        if (position != except && stored_name_equals(record, kRecordItemNameOffset, item) &&
            stored_name_equals(record, kRecordFolderNameOffset, folder)) {
            return position;
        }
    }
    return -1;
}

std::error_code RecordLibrary::check_room(std::size_t added) const {
    if (size() + added > kMaxLibraryRecords) {
        return LibraryError::full;
    }
    return {};
}

std::error_code RecordLibrary::check_current() const {
    // A file that could not be read has no version to compare with; saves report why.
    if (!m_readError && m_sync->holds_another_version()) {
        return LibraryError::changed_outside;
    }
    return {};
}

std::error_code RecordLibrary::check_export_target(const std::filesystem::path& file) const {
    if (is_data_file(m_file.parent_path(), file)) {
        return FileError::data_file;
    }
    return {};
}

std::error_code RecordLibrary::check_item(std::int32_t position) const {
    if (!contains(position) || is_folder_entry(position)) {
        return LibraryError::no_such_item;
    }
    return {};
}

std::int32_t RecordLibrary::folder_entry_among(std::span<const std::int32_t> positions) const {
    const auto entry = std::find_if(positions.begin(), positions.end(),
                                    [this](std::int32_t p) { return is_folder_entry(p); });
    return entry == positions.end() ? -1 : *entry;
}

std::u16string RecordLibrary::unique_folder_name(std::u16string_view base) const {
    return first_free_name(base, u"",
                           [this](std::u16string_view name) { return folder_exists(name); });
}

std::u16string RecordLibrary::unique_item_name(std::u16string_view folder,
                                               std::u16string_view base) const {
    return first_free_name(
        base, u"", [this, folder](std::u16string_view name) { return item_exists(folder, name); });
}

std::vector<std::int32_t> RecordLibrary::positions_in_folder(std::u16string_view name) const {
    std::vector<std::int32_t> positions;
    for (std::size_t i = 0; i < size(); ++i) {
        if (stored_name_equals(record_at(i), kRecordFolderNameOffset, name)) {
            positions.push_back(static_cast<std::int32_t>(i));
        }
    }
    return positions;
}

LibraryLoad RecordLibrary::load() {
    LibraryLoad result;
    m_bytes.clear();
    m_readError.clear();
    const std::error_code error = read_file(m_file, m_bytes, max_bytes());
    if (error) {
        // Records read before a failure are not the library the user keeps; the file stays
        // as it is for a later start to read.
        m_bytes.clear();
        if (!file_missing(error)) {
            result.whole = false;
            m_readError = result.error = error;
        } else {
            m_sync->note_read({});
        }
        return result;
    }
    m_sync->note_read({});
    result.opened = true;
    const std::size_t whole_bytes = m_bytes.size() - m_bytes.size() % m_kind.size;
    result.whole = whole_bytes == m_bytes.size();
    // A partial record would become an item of half-read fields: drop it.
    m_bytes.resize(whole_bytes);
    result.loaded = size();
    for (std::size_t i = 0; i < result.loaded; ++i) {
        if (m_kind.bound(record_at(i))) {
            ++result.bounded;
        }
    }
    if (!result.whole) {
        result.damaged_copy = keep_aside(m_file, result.error);
    }
    return result;
}

std::error_code RecordLibrary::save() const {
    if (m_readError) {
        return m_readError;
    }
    const FolderHold folder(m_sync->folder());
    return m_sync->write([this] { return write_file_atomically(m_file, m_bytes); }, {});
}

LibraryResult RecordLibrary::saved(LibraryResult result) const {
    const std::error_code error = save();
    if (!result.error) {
        result.error = error;
    }
    return result;
}

} // namespace zemrak
