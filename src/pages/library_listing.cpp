#include "pages/library_listing.h"

#include "model/record_library.h"
#include "model/unicode.h"
#include "ui/lock_mark.h"
#include "ui/qt_text.h"
#include "ui/texts.h"

#include <QComboBox>
#include <QListWidget>
#include <QSignalBlocker>
#include <algorithm>

namespace zemrak::pages {
namespace {

constexpr int kFolderRowHeight = 25;
constexpr int kItemRowHeight = 30;

} // namespace

LibraryListing::LibraryListing(QComboBox* folders, QListWidget* items, const RecordLibrary& library)
    : m_folderBox(folders), m_items(items), m_library(library) {}

void LibraryListing::fill_folders() {
    m_folders.clear();
    {
        const QSignalBlocker quiet(m_folderBox);
        m_folderBox->clear();
        const auto size = static_cast<std::int32_t>(m_library.size());
        for (std::int32_t position = 0; position < size; ++position) {
            if (m_library.is_folder_entry(position)) {
                add_folder_row(m_library.folder_name_at(position).value_or(u""));
            }
        }
        m_folderBox->setCurrentIndex(-1);
    }
    list_folder(-1);
}

void LibraryListing::add_folder_row(std::u16string name) {
    const QSignalBlocker quiet(m_folderBox);
    m_folderBox->addItem(ui::to_qstring(name));
    m_folderBox->setItemData(m_folderBox->count() - 1, QSize(0, kFolderRowHeight),
                             Qt::SizeHintRole);
    m_folders.push_back(std::move(name));
}

void LibraryListing::rename_folder_row(int index, std::u16string name) {
    m_folderBox->setItemText(index, ui::to_qstring(name));
    m_folders.at(static_cast<std::size_t>(index)) = std::move(name);
}

void LibraryListing::remove_folder_row(int index) {
    m_folders.erase(m_folders.begin() + index);
    const QSignalBlocker quiet(m_folderBox);
    m_folderBox->removeItem(index);
}

void LibraryListing::open_folder(int index) {
    {
        const QSignalBlocker quiet(m_folderBox);
        m_folderBox->setCurrentIndex(index);
    }
    list_folder(index);
}

void LibraryListing::list_folder(int index) {
    m_folder = index >= 0 && static_cast<std::size_t>(index) < m_folders.size() ? index : -1;
    const QSignalBlocker quiet(m_items);
    m_items->clear();
    m_listed.clear();
    if (const std::optional<std::u16string> folder = folder_name()) {
        const auto size = static_cast<std::int32_t>(m_library.size());
        for (std::int32_t position = 0; position < size; ++position) {
            if (!m_library.is_folder_entry(position) &&
                equal_ignoring_case(m_library.folder_name_at(position).value_or(u""), *folder)) {
                add_item_row(position);
            }
        }
    }
    m_items->setCurrentRow(-1);
}

void LibraryListing::add_item_row(std::int32_t position) {
    auto* item =
        new QListWidgetItem(ui::to_qstring(m_library.item_name_at(position).value_or(u"")));
    item->setSizeHint(QSize(0, kItemRowHeight));
    if (m_library.is_locked(position)) {
        item->setIcon(ui::lock_icon());
        item->setToolTip(ui::Texts::text("locked_item_tip_text"));
    } else {
        item->setIcon(ui::no_lock_icon());
    }
    const QSignalBlocker quiet(m_items);
    m_items->addItem(item);
    m_listed.push_back(position);
}

void LibraryListing::rename_item_row(std::int32_t position, const std::u16string& name) {
    if (QListWidgetItem* item = m_items->item(row_of(position))) {
        item->setText(ui::to_qstring(name));
    }
}

void LibraryListing::remove_item_row(int row) {
    const std::int32_t position = m_listed.at(static_cast<std::size_t>(row));
    m_listed.erase(m_listed.begin() + row);
    for (std::int32_t& later : m_listed) {
        if (later > position) {
            --later;
        }
    }
    const QSignalBlocker quiet(m_items);
    delete m_items->takeItem(row);
}

void LibraryListing::mark_item(std::int32_t position) {
    const QSignalBlocker quiet(m_items);
    m_items->setCurrentRow(row_of(position));
}

std::optional<std::u16string> LibraryListing::folder_name() const {
    if (m_folder < 0) {
        return std::nullopt;
    }
    return m_folders.at(static_cast<std::size_t>(m_folder));
}

std::int32_t LibraryListing::position_at(int row) const {
    return row >= 0 && static_cast<std::size_t>(row) < m_listed.size()
               ? m_listed.at(static_cast<std::size_t>(row))
               : -1;
}

int LibraryListing::row_of(std::int32_t position) const {
    const auto found = std::ranges::find(m_listed, position);
    return found == m_listed.end() || position < 0 ? -1
                                                   : static_cast<int>(found - m_listed.begin());
}

int LibraryListing::folder_row(std::u16string_view name) const {
    const auto found = std::ranges::find_if(
        m_folders, [&](const std::u16string& folder) { return equal_ignoring_case(folder, name); });
    return found == m_folders.end() ? -1 : static_cast<int>(found - m_folders.begin());
}

} // namespace zemrak::pages
