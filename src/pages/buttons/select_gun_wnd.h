#pragma once

#include "pages/buttons/library_picker.h"

#include <QDialog>
#include <memory>

namespace Ui {
class SelectGunWnd;
}

namespace zemrak {
class RecoilLibrary;
}

namespace zemrak::pages {

// Asks which recoil pattern a button runs, how it repeats and the colour that goes with it:
// the pattern folders, the patterns of the chosen folder, the three repeat options and a
// colour button that opens the colour picker. Opens on the pattern the button holds. Made on
// the caller's stack for one question.
class CSelectGunWnd final : public QDialog {
    Q_OBJECT
public:
    // `library` must outlive the dialog.
    CSelectGunWnd(QWidget* owner, const RecoilLibrary& library, const LibraryPick& initial);
    ~CSelectGunWnd() override;
    CSelectGunWnd(const CSelectGunWnd&) = delete;
    CSelectGunWnd& operator=(const CSelectGunWnd&) = delete;

    // Centres the dialog over its owner and runs it modally: kDialogOk for OK, kDialogCancel
    // for cancel, the close button or any other way of closing.
    int show_modal();
    // The pattern's position (-1 for none), the repeat mode and the colour (0x00BBGGRR);
    // what the caller takes after OK.
    [[nodiscard]] LibraryPick pick() const { return m_picker->pick(); }

protected:
    void showEvent(QShowEvent* event) override;

private:
    void pick_colour();
    void show_colour();

    std::unique_ptr<Ui::SelectGunWnd> m_ui;
    std::unique_ptr<LibraryPicker> m_picker;
};

} // namespace zemrak::pages
