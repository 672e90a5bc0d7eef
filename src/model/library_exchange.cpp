// Import and export of library items and folders as files of raw records.

#include "model/byte_io.h"
#include "model/profile_list.h"
#include "model/record_library.h"
#include "model/unicode.h"
#include "platform/file_io.h"

namespace zemrak {
namespace {

// The name a file gives what it holds: its name without folder and extension.
std::u16string base_name(const std::filesystem::path& file) {
    return to_utf16(file.stem().string());
}

} // namespace

LibraryResult RecordLibrary::import_item(const std::filesystem::path& file,
                                         std::optional<std::u16string_view> folder) {
    LibraryResult result;
    std::vector<std::uint8_t> item;
    result.error = check_current();
    if (!result.error) {
        result.error = read_file(file, item, max_bytes());
    }
    if (!result.error && item.size() != m_kind.size) {
        result.error = LibraryError::wrong_size;
    }
    std::vector<std::int32_t> filed;
    if (!result.error && folder) {
        filed = positions_in_folder(*folder);
        if (filed.empty()) {
            result.error = LibraryError::no_such_folder;
        }
    }
    if (!result.error) {
        // Without a folder the item comes with a folder entry of its own.
        result.error = check_room(folder ? 1 : 2);
    }
    if (result.error) {
        return result;
    }
    // A file made of a folder entry would otherwise list its folder twice.
    store_i32(item, m_kind.folder_entry_offset, 0);
    const std::u16string base = base_name(file);
    std::u16string folder_name;
    if (folder) {
        folder_name = folder_name_of(static_cast<std::size_t>(filed.front()));
        result.name = unique_item_name(folder_name, base);
    } else {
        const std::u16string stored_folder = load_name(item, kRecordFolderNameOffset);
        folder_name = unique_folder_name(stored_folder.empty() ? base : stored_folder);
        result.name = load_name(item, kRecordItemNameOffset);
        if (result.name.empty()) {
            result.name = fit_name(base);
        }
    }
    if (folder_name.empty() || result.name.empty()) {
        result.error = LibraryError::name_empty;
        return result;
    }
    store_name(item, kRecordFolderNameOffset, folder_name);
    store_name(item, kRecordItemNameOffset, result.name);
    if (!folder) {
        append_folder_entry(folder_name);
    }
    result.position = append(item);
    return saved(std::move(result));
}

LibraryResult RecordLibrary::import_folder(const std::filesystem::path& file) {
    LibraryResult result;
    std::vector<std::uint8_t> records;
    result.error = check_current();
    if (!result.error) {
        result.error = read_file(file, records, max_bytes());
    }
    if (!result.error && (records.empty() || records.size() % m_kind.size != 0)) {
        result.error = LibraryError::wrong_size;
    }
    if (!result.error) {
        // One more for the folder entry the file may lack.
        result.error = check_room(records.size() / m_kind.size + 1);
    }
    if (!result.error) {
        result.name = unique_folder_name(base_name(file));
        if (result.name.empty()) {
            result.error = LibraryError::name_empty;
        }
    }
    if (result.error) {
        return result;
    }
    const auto is_entry = [this](std::span<const std::uint8_t> record) {
        return load_i32(record, m_kind.folder_entry_offset) != 0;
    };
    bool has_entry = false;
    for (std::size_t at = 0; at < records.size(); at += m_kind.size) {
        const auto record = std::span(records).subspan(at, m_kind.size);
        store_name(record, kRecordFolderNameOffset, result.name);
        has_entry = has_entry || is_entry(record);
    }
    // Folders are listed from their entries: without one the items would vanish from view
    // at the next start.
    if (!has_entry) {
        result.position = append_folder_entry(result.name);
    }
    for (std::size_t at = 0; at < records.size(); at += m_kind.size) {
        const auto record = std::span(records).subspan(at, m_kind.size);
        // A second entry would list the folder twice.
        if (is_entry(record) && result.position >= 0) {
            continue;
        }
        const std::int32_t position = append(record);
        if (result.position < 0 && is_folder_entry(position)) {
            result.position = position;
        }
    }
    return saved(std::move(result));
}

LibraryResult RecordLibrary::export_item(std::int32_t position, const std::filesystem::path& file,
                                         ExportMode mode) const {
    LibraryResult result;
    result.error = check_item(position);
    if (!result.error) {
        result.error = check_export_target(file);
    }
    if (result.error) {
        return result;
    }
    std::vector<std::uint8_t> item(record_bytes(position).begin(), record_bytes(position).end());
    if (mode == ExportMode::locked) {
        store_i32(item, m_kind.locked_offset, 1);
    }
    result.position = position;
    result.name = item_name_of(static_cast<std::size_t>(position));
    result.error = write_file_atomically(file, item);
    return result;
}

LibraryResult RecordLibrary::export_folder(std::u16string_view name,
                                           const std::filesystem::path& file,
                                           ExportMode mode) const {
    LibraryResult result;
    const std::vector<std::int32_t> filed = positions_in_folder(name);
    result.error =
        filed.empty() ? make_error_code(LibraryError::no_such_folder) : check_export_target(file);
    if (result.error) {
        return result;
    }
    std::vector<std::uint8_t> records;
    records.reserve(filed.size() * m_kind.size);
    for (const std::int32_t position : filed) {
        const auto record = record_bytes(position);
        const std::size_t at = records.size();
        records.insert(records.end(), record.begin(), record.end());
        if (mode == ExportMode::locked) {
            store_i32(std::span(records).subspan(at), m_kind.locked_offset, 1);
        }
    }
    result.position = folder_entry_among(filed);
    result.name = folder_name_of(static_cast<std::size_t>(filed.front()));
    result.error = write_file_atomically(file, records);
    return result;
}

} // namespace zemrak
