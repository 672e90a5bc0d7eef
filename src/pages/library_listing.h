#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

class QComboBox;
class QListWidget;

namespace zemrak {
class RecordLibrary;
}

namespace zemrak::pages {

// The folders of a library in a drop-down and the items of one folder in a list, locked items
// marked with a padlock: what the macro and recoil pages and their pickers show alike. Rows
// are filled without notifications, so that only the user's choices are reported. The
// controls and the library must outlive the listing.
class LibraryListing {
public:
    LibraryListing(QComboBox* folders, QListWidget* items, const RecordLibrary& library);

    // Lists the library's folder entries in library order, with no folder open and no items.
    void fill_folders();
    // Adds a folder row at the end of the drop-down without opening it.
    void add_folder_row(std::u16string name);
    // Gives folder row `index` (a valid one) its new name.
    void rename_folder_row(int index, std::u16string name);
    // Removes folder row `index` (a valid one); the folder open stays as it was.
    void remove_folder_row(int index);
    // Marks row `index` of the drop-down current (-1: none) and lists that folder's items.
    void open_folder(int index);
    // Lists the items of folder row `index` (-1 or any other row outside the drop-down: none)
    // with no item row current; the drop-down's own row is left as it is.
    void list_folder(int index);

    // Adds a row for the item at `position` to the end of the list.
    void add_item_row(std::int32_t position);
    // Shows `name` on the item row of `position`, if it is listed.
    void rename_item_row(std::int32_t position, const std::u16string& name);
    // Removes item row `row` (a valid one) after its item left the library: the positions
    // listed after it move down by one, as the library's did.
    void remove_item_row(int row);
    // Marks the row of `position` current (none when it is not listed), quietly.
    void mark_item(std::int32_t position);

    // The open folder's row, -1 for none, and its name.
    [[nodiscard]] int current_folder() const { return m_folder; }
    [[nodiscard]] std::optional<std::u16string> folder_name() const;
    // The folder names in library order: the rows of the drop-down.
    [[nodiscard]] const std::vector<std::u16string>& folder_names() const { return m_folders; }
    // Library positions of the rows of the item list.
    [[nodiscard]] const std::vector<std::int32_t>& listed() const { return m_listed; }
    // The position of item row `row`, -1 outside the list.
    [[nodiscard]] std::int32_t position_at(int row) const;
    // The row of the item at `position`, -1 when it is not listed.
    [[nodiscard]] int row_of(std::int32_t position) const;
    // The row of the folder named `name` (case ignored), -1 for none.
    [[nodiscard]] int folder_row(std::u16string_view name) const;

private:
    QComboBox* m_folderBox;
    QListWidget* m_items;
    const RecordLibrary& m_library;
    std::vector<std::u16string> m_folders;
    int m_folder = -1;
    std::vector<std::int32_t> m_listed;
};

} // namespace zemrak::pages
