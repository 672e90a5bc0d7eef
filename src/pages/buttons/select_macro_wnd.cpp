#include "pages/buttons/select_macro_wnd.h"

#include "macros/macro_library.h"
#include "ui/modal.h"
#include "ui/texts.h"
#include "ui_selectmacro.h"

namespace zemrak::pages {

CSelectMacroWnd::CSelectMacroWnd(QWidget* owner, const MacroLibrary& library,
                                 const LibraryPick& initial)
    : QDialog(owner, Qt::Dialog | Qt::FramelessWindowHint),
      m_ui(std::make_unique<Ui::SelectMacroWnd>()) {
    m_ui->setupUi(this);
    setObjectName(QStringLiteral("SelectMacroWnd"));
    ui::Texts::apply(this);
    setWindowTitle(m_ui->label_title->text());
    m_picker = std::make_unique<LibraryPicker>(
        *this,
        LibraryPicker::Controls{m_ui->macro_combo,
                                m_ui->macro_list,
                                {m_ui->repeat_1, m_ui->repeat_2, m_ui->repeat_3},
                                m_ui->ok_btn,
                                m_ui->cancel_btn,
                                m_ui->exit_btn},
        library, initial, LibraryPicker::FolderChange::clears_after_preselection);
}

CSelectMacroWnd::~CSelectMacroWnd() = default;

int CSelectMacroWnd::show_modal() {
    adjustSize();
    ui::centre_over_owner(*this);
    m_ui->ok_btn->setFocus();
    // Queued answers or odd close codes must never read as OK.
    return ui::run_modal(*this) == ui::kDialogOk ? ui::kDialogOk : ui::kDialogCancel;
}

void CSelectMacroWnd::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    // The lists exist now: select what the button holds.
    m_picker->preselect();
}

} // namespace zemrak::pages
