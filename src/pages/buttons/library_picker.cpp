#include "pages/buttons/library_picker.h"

#include "model/record_library.h"
#include "model/unicode.h"
#include "ui/lock_mark.h"
#include "ui/modal.h"
#include "ui/notify_router.h"
#include "ui/qt_text.h"
#include "ui/texts.h"

#include <QComboBox>
#include <QDialog>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QSignalBlocker>
#include <algorithm>

namespace zemrak::pages {
namespace {

constexpr int kFolderRowHeight = 25;
constexpr int kItemRowHeight = 30;

} // namespace

LibraryPicker::LibraryPicker(QDialog& dialog, Controls controls, const RecordLibrary& library,
                             const LibraryPick& pick, FolderChange folder_change)
    : m_dialog(dialog), m_controls(controls), m_library(library), m_pick(pick),
      m_folderChange(folder_change) {
    if (m_pick.repeat_mode < 0 || m_pick.repeat_mode >= static_cast<int>(controls.repeat.size())) {
        m_pick.repeat_mode = 0;
    }
    m_controls.repeat.at(static_cast<std::size_t>(m_pick.repeat_mode))->setChecked(true);

    {
        const QSignalBlocker quiet(m_controls.folders);
        const auto size = static_cast<std::int32_t>(m_library.size());
        for (std::int32_t position = 0; position < size; ++position) {
            if (m_library.is_folder_entry(position)) {
                std::u16string name = m_library.folder_name_at(position).value_or(u"");
                m_controls.folders->addItem(ui::to_qstring(name));
                m_controls.folders->setItemData(m_controls.folders->count() - 1,
                                                QSize(0, kFolderRowHeight), Qt::SizeHintRole);
                m_folderNames.push_back(std::move(name));
            }
        }
        // No folder is open until the pre-selection or the user opens one.
        m_controls.folders->setCurrentIndex(-1);
    }

    const auto close_with = [this](int code) {
        return [this, code](const ui::Notification&) { m_dialog.done(code); };
    };
    on(m_controls.ok, "click", close_with(ui::kDialogOk));
    on(m_controls.cancel, "click", close_with(ui::kDialogCancel));
    on(m_controls.exit, "click", close_with(ui::kDialogCancel));
    for (std::size_t mode = 0; mode < m_controls.repeat.size(); ++mode) {
        on(m_controls.repeat.at(mode), "selectchanged", [this, mode](const ui::Notification& n) {
            // The option losing its mark reports too; only the chosen one counts.
            if (n.wparam != 0) {
                m_pick.repeat_mode = static_cast<std::int32_t>(mode);
            }
        });
    }
    on(m_controls.folders, "itemselect",
       [this](const ui::Notification& n) { list_folder(static_cast<int>(n.wparam)); });
    on(m_controls.items, "itemselect",
       [this](const ui::Notification& n) { select_item(static_cast<int>(n.wparam)); });

    m_router = std::make_unique<ui::NotifyRouter>([this](const ui::Notification& n) { notify(n); });
    m_router->attach(&m_dialog);
}

LibraryPicker::~LibraryPicker() = default;

void LibraryPicker::on_click(const QObject* control, std::function<void()> action) {
    on(control, "click", [action = std::move(action)](const ui::Notification&) { action(); });
}

void LibraryPicker::list_folder(int row) {
    {
        const QSignalBlocker quiet(m_controls.items);
        m_controls.items->clear();
        m_listed.clear();
        if (row >= 0 && static_cast<std::size_t>(row) < m_folderNames.size()) {
            const std::u16string& folder = m_folderNames.at(static_cast<std::size_t>(row));
            const auto size = static_cast<std::int32_t>(m_library.size());
            for (std::int32_t position = 0; position < size; ++position) {
                if (m_library.is_folder_entry(position) ||
                    !equal_ignoring_case(m_library.folder_name_at(position).value_or(u""),
                                         folder)) {
                    continue;
                }
                auto* item = new QListWidgetItem(
                    ui::to_qstring(m_library.item_name_at(position).value_or(u"")));
                item->setSizeHint(QSize(0, kItemRowHeight));
                if (m_library.is_locked(position)) {
                    item->setIcon(ui::lock_icon());
                    item->setToolTip(ui::Texts::text("locked_item_tip_text"));
                } else {
                    item->setIcon(ui::no_lock_icon());
                }
                m_controls.items->addItem(item);
                m_listed.push_back(position);
            }
        }
        m_controls.items->setCurrentRow(-1);
    }
    if (m_folderChange == FolderChange::always_clears || m_preselected) {
        m_pick.position = -1;
    }
}

void LibraryPicker::select_item(int row) {
    // A list that is emptied reports no row: that chooses nothing.
    if (row >= 0 && static_cast<std::size_t>(row) < m_listed.size()) {
        m_pick.position = m_listed.at(static_cast<std::size_t>(row));
    }
}

void LibraryPicker::preselect() {
    if (m_preselected) {
        return;
    }
    // Listing the folder may drop the choice (the recoil picker's rule); it is chosen again.
    const std::int32_t held = m_pick.position;
    if (const std::optional<std::u16string> folder = m_library.folder_name_at(held)) {
        const auto found = std::ranges::find_if(m_folderNames, [&](const std::u16string& name) {
            return equal_ignoring_case(name, *folder);
        });
        if (found != m_folderNames.end()) {
            // Selecting the row lists the folder through the drop-down's own notification.
            m_controls.folders->setCurrentIndex(static_cast<int>(found - m_folderNames.begin()));
            const auto listed = std::ranges::find(m_listed, held);
            if (listed != m_listed.end()) {
                m_controls.items->setCurrentRow(static_cast<int>(listed - m_listed.begin()));
            }
        }
    }
    m_preselected = true;
    // Nothing the button holds is lost by opening the first folder for the user to pick from.
    if (m_pick.position < 0 && m_controls.folders->currentIndex() < 0 &&
        m_controls.folders->count() > 0) {
        m_controls.folders->setCurrentIndex(0);
    }
}

} // namespace zemrak::pages
