#pragma once

#include "model/colour.h"
#include "pages/library_listing.h"
#include "ui/notify_pump.h"

#include <QString>
#include <array>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

class QComboBox;
class QDialog;
class QListWidget;
class QPushButton;
class QRadioButton;

namespace zemrak {
class RecordLibrary;
}

namespace zemrak::ui {
class NotifyRouter;
}

namespace zemrak::pages {

// What a button holds of its macro or recoil pattern: what a picker starts from and, after
// OK, what the user chose.
struct LibraryPick {
    // Library position of the chosen item; -1 for none.
    std::int32_t position = -1;
    // 0..2: how the button repeats the item (the option repeat_<mode + 1>).
    std::int32_t repeat_mode = 0;
    // The colour that goes with a recoil pattern (0x00BBGGRR); the macro picker leaves it.
    Colour colour = 0x000000FFu;

    friend bool operator==(const LibraryPick&, const LibraryPick&) = default;
};

// What the macro and recoil pickers have in common: the folders of a library in a drop-down,
// the items of the chosen folder in a list (locked ones marked with a padlock), the three
// repeat options, and OK, cancel and the close button. The dialog owns it; the controls are
// the dialog's own, found in its layout.
class LibraryPicker final : public ui::CNotifyPump {
public:
    // When choosing a folder drops the item chosen so far. The macro picker keeps the item
    // that its own pre-selection lists; the recoil picker drops it and selects it again.
    enum class FolderChange { clears_after_preselection, always_clears };

    struct Controls {
        QComboBox* folders = nullptr;
        QListWidget* items = nullptr;
        std::array<QRadioButton*, 3> repeat{};
        QPushButton* ok = nullptr;
        QPushButton* cancel = nullptr;
        QPushButton* exit = nullptr;
    };

    // Fills the folder drop-down from `library` and shows `pick`'s repeat option; the
    // library must outlive the picker. A repeat mode outside 0..2 is shown and kept as 0.
    LibraryPicker(QDialog& dialog, Controls controls, const RecordLibrary& library,
                  const LibraryPick& pick, FolderChange folder_change);
    ~LibraryPicker() override;
    LibraryPicker(const LibraryPicker&) = delete;
    LibraryPicker& operator=(const LibraryPicker&) = delete;

    // Runs `action` when `control`, another control of the dialog, is clicked.
    void on_click(const QObject* control, std::function<void()> action);

    // Once, when the dialog is first shown: lists the folder of the item the button holds and
    // selects the item. With nothing to select, the first folder is listed.
    void preselect();

    [[nodiscard]] LibraryPick& pick() { return m_pick; }
    [[nodiscard]] const LibraryPick& pick() const { return m_pick; }

private:
    void list_folder(int row);
    void select_item(int row);

    QDialog& m_dialog;
    Controls m_controls;
    const RecordLibrary& m_library;
    LibraryPick m_pick;
    FolderChange m_folderChange;
    LibraryListing m_listing;
    bool m_preselected = false;
    std::unique_ptr<ui::NotifyRouter> m_router;
};

} // namespace zemrak::pages
