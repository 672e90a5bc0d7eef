// The operations that edit a library: each changes the list, brings the button records of
// every profile up to date and saves the file.

#include "model/button_functions.h"
#include "model/byte_io.h"
#include "model/config_block.h"
#include "model/profile_list.h"
#include "model/record_library.h"
#include "model/unicode.h"

namespace zemrak {
namespace {

constexpr std::int32_t kNoPosition = -1;

// update_item() keeps both names by copying the bytes ahead of the item name's end.
static_assert(kRecordFolderNameOffset == 0 && kRecordItemNameOffset == 2 * kNameUnits);
constexpr std::size_t kNamesSize = kRecordItemNameOffset + 2 * kNameUnits;

// A name a user chose for a folder or an item.
std::error_code check_name(std::u16string_view name) {
    if (name.empty()) {
        return LibraryError::name_empty;
    }
    if (name.size() > kMaxNameLength) {
        return LibraryError::name_too_long;
    }
    return {};
}

} // namespace

bool RecordLibrary::propagate(std::int32_t position, ProfileList& profiles, Change change) const {
    // -1 is what every unassigned button holds: acting on it would reset them all.
    if (position < 0) {
        return false;
    }
    const ReferenceField field = m_kind.reference;
    const auto item = record_bytes(position);
    const ConfigBlock* current = profiles.current();
    bool touched_current = false;
    for (std::size_t p = 0; p < profiles.size(); ++p) {
        ConfigBlock& block = profiles.at(p);
        for (std::size_t slot = 0; slot < ConfigBlock::kButtonCount; ++slot) {
            ButtonRecord& button = block.button(slot);
            const std::int32_t held = (button.*field.get)();
            if (held == position) {
                if (change == Change::removed) {
                    button.set_function_code(default_function_code(slot));
                    (button.*field.set)(kNoPosition);
                } else {
                    m_kind.copy_to_button(item, button, slot);
                    if (!item.empty()) {
                        button.set_item_name(load_name(item, kRecordItemNameOffset));
                    }
                }
                touched_current = touched_current || &block == current;
            } else if (change == Change::removed && held > position) {
                // Keeps naming the same item now that the list has closed up.
                (button.*field.set)(held - 1);
            }
        }
    }
    return touched_current;
}

bool RecordLibrary::refresh_references(std::int32_t position, ProfileList& profiles) const {
    return propagate(position, profiles, Change::changed);
}

LibraryResult RecordLibrary::add_folder(std::u16string_view name) {
    LibraryResult result;
    result.error = check_current();
    if (!result.error) {
        result.error = check_name(name);
    }
    if (!result.error && folder_exists(name)) {
        result.error = LibraryError::name_taken;
    }
    if (!result.error) {
        result.error = check_room(1);
    }
    if (result.error) {
        return result;
    }
    result.position = append_folder_entry(name);
    result.name = name;
    return saved(std::move(result));
}

LibraryResult RecordLibrary::rename_folder(std::u16string_view old_name,
                                           std::u16string_view new_name) {
    LibraryResult result;
    const std::vector<std::int32_t> filed = positions_in_folder(old_name);
    result.error = check_current();
    if (!result.error) {
        result.error = filed.empty() ? LibraryError::no_such_folder : check_name(new_name);
    }
    // A change of case is no clash with itself.
    if (!result.error && folder_exists(new_name) && !equal_ignoring_case(old_name, new_name)) {
        result.error = LibraryError::name_taken;
    }
    if (result.error) {
        return result;
    }
    for (const std::int32_t position : filed) {
        store_name(record_at(static_cast<std::size_t>(position)), kRecordFolderNameOffset,
                   new_name);
    }
    result.position = folder_entry_among(filed);
    result.name = new_name;
    return saved(std::move(result));
}

LibraryResult RecordLibrary::delete_folder(std::u16string_view name, ProfileList& profiles) {
    LibraryResult result;
    const std::vector<std::int32_t> filed = positions_in_folder(name);
    result.error = filed.empty() ? make_error_code(LibraryError::no_such_folder) : check_current();
    if (result.error) {
        return result;
    }
    result.name = folder_name_of(static_cast<std::size_t>(filed.front()));
    // From the highest down, so the positions still to go do not move.
    for (auto it = filed.rbegin(); it != filed.rend(); ++it) {
        remove(*it);
        ++result.removed;
        if (propagate(*it, profiles, Change::removed)) {
            result.current_profile_touched = true;
        }
    }
    // One save for the whole folder: the file never holds half of it.
    return saved(std::move(result));
}

LibraryResult RecordLibrary::add_item(std::u16string_view folder, std::u16string_view name) {
    LibraryResult result;
    const std::vector<std::int32_t> filed = positions_in_folder(folder);
    result.error = check_current();
    if (!result.error) {
        result.error = filed.empty() ? LibraryError::no_such_folder : check_name(name);
    }
    if (!result.error && item_exists(folder, name)) {
        result.error = LibraryError::name_taken;
    }
    if (!result.error) {
        result.error = check_room(1);
    }
    if (result.error) {
        return result;
    }
    std::vector<std::uint8_t> item(m_kind.size);
    m_kind.make_item(item, folder_name_of(static_cast<std::size_t>(filed.front())), name);
    result.position = append(item);
    result.name = name;
    return saved(std::move(result));
}

LibraryResult RecordLibrary::rename_item(std::int32_t position, std::u16string_view name,
                                         ProfileList& profiles) {
    LibraryResult result;
    result.error = check_current();
    if (!result.error) {
        result.error = check_item(position);
    }
    if (!result.error) {
        result.error = check_name(name);
    }
    if (!result.error &&
        find_item(folder_name_of(static_cast<std::size_t>(position)), name, position) >= 0) {
        result.error = LibraryError::name_taken;
    }
    if (result.error) {
        return result;
    }
    store_name(record_at(static_cast<std::size_t>(position)), kRecordItemNameOffset, name);
    result.position = position;
    result.name = name;
    result.current_profile_touched = propagate(position, profiles, Change::changed);
    return saved(std::move(result));
}

LibraryResult RecordLibrary::update_item(std::int32_t position,
                                         std::span<const std::uint8_t> record,
                                         ProfileList& profiles) {
    LibraryResult result;
    result.error = check_current();
    if (!result.error) {
        result.error = record.size() == m_kind.size ? check_item(position)
                                                    : make_error_code(LibraryError::wrong_size);
    }
    if (!result.error && locked(position)) {
        result.error = LibraryError::locked;
    }
    if (result.error) {
        return result;
    }
    std::vector<std::uint8_t> content(record.begin(), record.end());
    const auto stored = record_at(static_cast<std::size_t>(position));
    std::copy_n(stored.begin(), kNamesSize, content.begin());
    store_i32(content, m_kind.folder_entry_offset, 0);
    replace(position, content);
    result.position = position;
    result.name = item_name_of(static_cast<std::size_t>(position));
    result.current_profile_touched = propagate(position, profiles, Change::changed);
    return saved(std::move(result));
}

LibraryResult RecordLibrary::delete_item(std::int32_t position, ProfileList& profiles) {
    LibraryResult result;
    result.error = check_current();
    if (!result.error) {
        result.error = check_item(position);
    }
    if (result.error) {
        return result;
    }
    result.position = position;
    result.name = item_name_of(static_cast<std::size_t>(position));
    remove(position);
    result.removed = 1;
    result = saved(std::move(result));
    result.current_profile_touched = propagate(position, profiles, Change::removed);
    return result;
}

} // namespace zemrak
