#include "model/record_library.h"

#include "model/button_functions.h"
#include "model/byte_io.h"
#include "model/config_block.h"
#include "model/profile_list.h"
#include "model/unicode.h"
#include "platform/file_io.h"

#include <limits>

namespace zemrak {
namespace {

constexpr std::int32_t kNoPosition = -1;

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

bool update_references(ProfileList& profiles, ReferenceField field, std::int32_t position,
                       LibraryChange change,
                       const std::function<void(ButtonRecord&, std::size_t)>& refresh) {
    // -1 is what every unassigned button holds: acting on it would reset them all.
    if (position < 0) {
        return false;
    }
    const ConfigBlock* current = profiles.current();
    bool touched_current = false;
    for (std::size_t p = 0; p < profiles.size(); ++p) {
        ConfigBlock& block = profiles.at(p);
        for (std::size_t slot = 0; slot < ConfigBlock::kButtonCount; ++slot) {
            ButtonRecord& button = block.button(slot);
            const std::int32_t held = (button.*field.get)();
            if (held == position) {
                if (change == LibraryChange::removed) {
                    button.set_function_code(default_function_code(slot));
                    (button.*field.set)(kNoPosition);
                } else if (refresh) {
                    refresh(button, slot);
                }
                touched_current = touched_current || &block == current;
            } else if (change == LibraryChange::removed && held > position) {
                (button.*field.set)(held - 1);
            }
        }
    }
    return touched_current;
}

RecordLibrary::RecordLibrary(RecordLayout layout, std::filesystem::path file)
    : m_layout(layout), m_file(std::move(file)) {}

bool RecordLibrary::contains(std::int32_t position) const {
    return position >= 0 && static_cast<std::size_t>(position) < size();
}

std::span<const std::uint8_t> RecordLibrary::record_at(std::size_t index) const {
    return std::span(m_bytes).subspan(index * m_layout.size, m_layout.size);
}

std::u16string RecordLibrary::folder_name_of(std::size_t index) const {
    return load_name(record_at(index), kRecordFolderNameOffset);
}

std::span<const std::uint8_t> RecordLibrary::record_bytes(std::int32_t position) const {
    if (!contains(position)) {
        return {};
    }
    return record_at(static_cast<std::size_t>(position));
}

bool RecordLibrary::replace(std::int32_t position, std::span<const std::uint8_t> record) {
    if (!contains(position) || record.size() != m_layout.size) {
        return false;
    }
    const auto target = std::span(m_bytes).subspan(
        static_cast<std::size_t>(position) * m_layout.size, m_layout.size);
    std::copy(record.begin(), record.end(), target.begin());
    m_layout.bound(target);
    return true;
}

std::int32_t RecordLibrary::append(std::span<const std::uint8_t> record) {
    if (record.size() != m_layout.size ||
        size() >= static_cast<std::size_t>(std::numeric_limits<std::int32_t>::max())) {
        return kNoPosition;
    }
    const std::size_t index = size();
    m_bytes.insert(m_bytes.end(), record.begin(), record.end());
    m_layout.bound(std::span(m_bytes).subspan(index * m_layout.size, m_layout.size));
    return static_cast<std::int32_t>(index);
}

bool RecordLibrary::remove(std::int32_t position) {
    if (!contains(position)) {
        return false;
    }
    const auto first = m_bytes.begin() + static_cast<std::ptrdiff_t>(
                                             static_cast<std::size_t>(position) * m_layout.size);
    m_bytes.erase(first, first + static_cast<std::ptrdiff_t>(m_layout.size));
    return true;
}

std::optional<std::u16string> RecordLibrary::folder_name_at(std::int32_t position) const {
    if (!contains(position)) {
        return std::nullopt;
    }
    return folder_name_of(static_cast<std::size_t>(position));
}

bool RecordLibrary::is_folder_entry(std::int32_t position) const {
    const auto record = record_bytes(position);
    return !record.empty() && load_i32(record, m_layout.folder_entry_offset) != 0;
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
    for (std::size_t i = 0; i < size(); ++i) {
        const auto record = record_at(i);
        if (stored_name_equals(record, kRecordItemNameOffset, item) &&
            stored_name_equals(record, kRecordFolderNameOffset, folder)) {
            return true;
        }
    }
    return false;
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
    std::error_code error;
    const UniqueFd fd = open_for_reading(m_file, error);
    if (error) {
        return result;
    }
    result.opened = true;
    const std::uint64_t expected = file_size(fd.get(), error);
    if (!error) {
        m_bytes.resize(static_cast<std::size_t>(expected));
        m_bytes.resize(read_fully(fd.get(), m_bytes, error));
    }
    const std::size_t whole_bytes = m_bytes.size() - m_bytes.size() % m_layout.size;
    result.whole = !error && whole_bytes == m_bytes.size();
    // A partial record would become an item of half-read fields: drop it.
    m_bytes.resize(whole_bytes);
    result.loaded = size();
    for (std::size_t i = 0; i < result.loaded; ++i) {
        if (m_layout.bound(std::span(m_bytes).subspan(i * m_layout.size, m_layout.size))) {
            ++result.bounded;
        }
    }
    if (!result.whole) {
        result.error = error;
        std::error_code aside_error;
        result.damaged_copy = keep_aside(m_file, aside_error);
        if (!result.error) {
            result.error = aside_error;
        }
    }
    return result;
}

std::error_code RecordLibrary::save() const {
    return write_file_atomically(m_file, m_bytes);
}

FolderDeletion RecordLibrary::delete_folder(std::u16string_view name, SavePolicy policy,
                                            const std::function<bool(std::int32_t)>& removed) {
    FolderDeletion result;
    auto note = [&result](std::error_code error) {
        if (error && !result.save_error) {
            result.save_error = error;
        }
    };
    const std::vector<std::int32_t> positions = positions_in_folder(name);
    // From the highest down, so the positions still to go do not move.
    for (auto it = positions.rbegin(); it != positions.rend(); ++it) {
        if (!remove(*it)) {
            continue;
        }
        ++result.removed;
        if (removed && removed(*it)) {
            result.current_profile_changed = true;
        }
        if (policy == SavePolicy::after_each_removal) {
            note(save());
        }
    }
    if (policy == SavePolicy::once_at_end) {
        note(save());
    }
    return result;
}

} // namespace zemrak
