#include "pages/buttons/library_picker.h"

#include "model/record_library.h"
#include "ui/modal.h"
#include "ui/notify_router.h"

#include <QComboBox>
#include <QDialog>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>

namespace zemrak::pages {
LibraryPicker::LibraryPicker(QDialog& dialog, Controls controls, const RecordLibrary& library,
                             const LibraryPick& pick, FolderChange folder_change)
    : m_dialog(dialog), m_controls(controls), m_library(library), m_pick(pick),
      m_folderChange(folder_change), m_listing(controls.folders, controls.items, library) {
    if (m_pick.repeat_mode < 0 || m_pick.repeat_mode >= static_cast<int>(controls.repeat.size())) {
        m_pick.repeat_mode = 0;
    }
    m_controls.repeat.at(static_cast<std::size_t>(m_pick.repeat_mode))->setChecked(true);

    // No folder is open until the pre-selection or the user opens one.
    m_listing.fill_folders();

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
    m_listing.list_folder(row);
    if (m_folderChange == FolderChange::always_clears || m_preselected) {
        m_pick.position = -1;
    }
}

void LibraryPicker::select_item(int row) {
    // A list that is emptied reports no row: that chooses nothing.
    if (const std::int32_t position = m_listing.position_at(row); position >= 0) {
        m_pick.position = position;
    }
}

void LibraryPicker::preselect() {
    if (m_preselected) {
        return;
    }
    // Listing the folder may drop the choice (the recoil picker's rule); it is chosen again.
    const std::int32_t held = m_pick.position;
    if (const std::optional<std::u16string> folder = m_library.folder_name_at(held)) {
        if (const int found = m_listing.folder_row(*folder); found >= 0) {
            // Selecting the row lists the folder through the drop-down's own notification.
            m_controls.folders->setCurrentIndex(found);
            if (const int listed = m_listing.row_of(held); listed >= 0) {
                m_controls.items->setCurrentRow(listed);
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
