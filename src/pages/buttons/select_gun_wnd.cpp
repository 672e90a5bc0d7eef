#include "pages/buttons/select_gun_wnd.h"

#include "recoil/recoil_library.h"
#include "ui/colour_convert.h"
#include "ui/colour_palette.h"
#include "ui/modal.h"
#include "ui/select_color_wnd.h"
#include "ui/texts.h"
#include "ui_selectgun.h"

namespace zemrak::pages {

CSelectGunWnd::CSelectGunWnd(QWidget* owner, const RecoilLibrary& library,
                             const LibraryPick& initial)
    : QDialog(owner, Qt::Dialog | Qt::FramelessWindowHint),
      m_ui(std::make_unique<Ui::SelectGunWnd>()) {
    m_ui->setupUi(this);
    setObjectName(QStringLiteral("SelectGunWnd"));
    ui::Texts::apply(this);
    setWindowTitle(m_ui->label_title->text());
    m_picker = std::make_unique<LibraryPicker>(
        *this,
        LibraryPicker::Controls{m_ui->gun_combo,
                                m_ui->gun_list,
                                {m_ui->repeat_1, m_ui->repeat_2, m_ui->repeat_3},
                                m_ui->ok_btn,
                                m_ui->cancel_btn,
                                m_ui->exit_btn},
        library, initial, LibraryPicker::FolderChange::always_clears);
    m_picker->on_click(m_ui->btn_gun_color, [this] { pick_colour(); });
    show_colour();
}

CSelectGunWnd::~CSelectGunWnd() = default;

int CSelectGunWnd::show_modal() {
    adjustSize();
    ui::centre_over_owner(*this);
    m_ui->ok_btn->setFocus();
    // Queued answers or odd close codes must never read as OK.
    return ui::run_modal(*this) == ui::kDialogOk ? ui::kDialogOk : ui::kDialogCancel;
}

void CSelectGunWnd::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    // The lists exist now: select what the button holds.
    m_picker->preselect();
}

void CSelectGunWnd::pick_colour() {
    ui::CSelectColorWnd picker(this);
    picker.set_colour(ui::to_qrgb(m_picker->pick().colour));
    if (picker.show_modal() == ui::kDialogOk) {
        m_picker->pick().colour = ui::to_colour(picker.colour());
        show_colour();
    }
}

void CSelectGunWnd::show_colour() {
    ui::show_swatch(m_ui->btn_gun_color, ui::to_qrgb(m_picker->pick().colour));
}

} // namespace zemrak::pages
