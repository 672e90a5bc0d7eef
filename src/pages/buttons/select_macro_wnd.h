#pragma once

#include "pages/buttons/library_picker.h"

#include <QDialog>
#include <memory>

namespace Ui {
class SelectMacroWnd;
}

namespace zemrak {
class MacroLibrary;
}

namespace zemrak::pages {

// Asks which macro a button plays and how it repeats: the macro folders, the macros of the
// chosen folder and the three repeat options. Opens on the macro the button holds; choosing
// another folder afterwards drops that choice, so OK without a macro picked returns none.
// Made on the caller's stack for one question.
class CSelectMacroWnd final : public QDialog {
    Q_OBJECT
public:
    // `library` must outlive the dialog.
    CSelectMacroWnd(QWidget* owner, const MacroLibrary& library, const LibraryPick& initial);
    ~CSelectMacroWnd() override;
    CSelectMacroWnd(const CSelectMacroWnd&) = delete;
    CSelectMacroWnd& operator=(const CSelectMacroWnd&) = delete;

    // Centres the dialog over its owner and runs it modally: kDialogOk for OK, kDialogCancel
    // for cancel, the close button or any other way of closing.
    int show_modal();
    // The macro's position (-1 for none) and the repeat mode; what the caller takes after OK.
    [[nodiscard]] LibraryPick pick() const { return m_picker->pick(); }

protected:
    void showEvent(QShowEvent* event) override;

private:
    std::unique_ptr<Ui::SelectMacroWnd> m_ui;
    std::unique_ptr<LibraryPicker> m_picker;
};

} // namespace zemrak::pages
