#include "pages/buttons/button_page.h"

#include "application/app_data.h"
#include "application/library_assignment.h"
#include "model/button_assignment.h"
#include "model/button_functions.h"
#include "model/button_label.h"
#include "pages/buttons/mouse_picture.h"
#include "pages/buttons/select_gun_wnd.h"
#include "pages/buttons/select_macro_wnd.h"
#include "pages/buttons/shortcut_wnd.h"
#include "pages/profile_model.h"
#include "ui/modal.h"
#include "ui/msg_wnd.h"
#include "ui/popup_menu.h"
#include "ui/qt_text.h"
#include "ui/row_controls.h"
#include "ui/texts.h"
#include "ui_buttons.h"

#include <QGuiApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QMenu>
#include <QMetaObject>
#include <QPushButton>
#include <QScreen>
#include <QVBoxLayout>

namespace zemrak::pages {
namespace {

constexpr int kOfficeMode = 0;
constexpr int kGameMode = 1;
// The buttons keep one width whatever they show; a longer label is cut short, and the whole
// of it is in the tool tip.
constexpr int kButtonWidth = 200;
constexpr int kButtonTextRoom = kButtonWidth - 32;
constexpr int kPerSide = CButtonPage::kButtonsPerMode / 2;

constexpr std::array<std::uint8_t, 4> kModifierBits = {ButtonRecord::kCtrl, ButtonRecord::kShift,
                                                       ButtonRecord::kAlt, ButtonRecord::kWin};

[[nodiscard]] std::size_t record_of(int number) {
    return static_cast<std::size_t>(number - 1);
}

// The physical button, 1..16, that control `number` (1..32) stands for.
[[nodiscard]] int physical_button(int number) {
    return (number - 1) % CButtonPage::kButtonsPerMode + 1;
}

void warn(PageHost& host, std::string_view message_key, bool cover) {
    if (cover) {
        host.show_busy_cover();
    }
    static_cast<void>(ui::show_message(host.host_window(), QStringLiteral("warning_title_text"),
                                       ui::to_qstring(message_key)));
    if (cover) {
        host.hide_busy_cover();
    }
}

} // namespace

CButtonPage::CButtonPage() : m_ui(std::make_unique<Ui::ButtonPage>()) {}

CButtonPage::~CButtonPage() = default;

void CButtonPage::init(QWidget* container, PageHost& host) {
    m_container = container;
    m_host = &host;
    // The page shows what it is told: another profile, or a library change that reached the
    // records of this one.
    ProfileModel& model = host.model();
    QObject::connect(&model, &ProfileModel::profileChanged, container,
                     [this](ConfigBlock* profile) { refresh(profile); });
    QObject::connect(&model, &ProfileModel::buttonsChanged, container,
                     [this](ConfigBlock* profile) { refresh(profile); });

    if (auto* placeholder = container->findChild<QWidget*>("button_page_placeholder")) {
        placeholder->hide();
    }
    auto* body = new QWidget(container);
    m_ui->setupUi(body);
    container->layout()->addWidget(body);
    container->layout()->setContentsMargins(16, 14, 16, 14);
    build_controls();
    connect_controls();
    ui::Texts::apply(body);
    refresh(nullptr);
}

void CButtonPage::build_controls() {
    m_containers = {m_ui->office_mode_left, m_ui->office_mode_right, m_ui->game_mode_left,
                    m_ui->game_mode_right};
    for (int number = 1; number <= kControls; ++number) {
        const int physical = physical_button(number);
        const bool left = physical <= kPerSide;
        QWidget* column = number <= kButtonsPerMode
                              ? (left ? m_ui->office_mode_left : m_ui->office_mode_right)
                              : (left ? m_ui->game_mode_left : m_ui->game_mode_right);
        auto* button =
            ui::named_child<QPushButton>(column, QStringLiteral("button%1_btn").arg(number));
        button->setFixedWidth(kButtonWidth);
        button->setFocusPolicy(Qt::StrongFocus);
        button->setProperty("role", QStringLiteral("buttonfunction"));
        // The number sits on the picture's side, beside the button it numbers.
        auto* mark =
            ui::named_child<QLabel>(column, QStringLiteral("button_number_%1").arg(number));
        mark->setText(QString::number(physical));
        mark->setProperty("role", QStringLiteral("buttonnumber"));
        mark->setAlignment(Qt::AlignCenter);
        mark->setFixedSize(24, 24);
        mark->setToolTip(ui::Texts::text("button_number_tip_text").arg(physical));
        auto* row = new QHBoxLayout;
        row->setSpacing(6);
        if (left) {
            row->addWidget(button);
            row->addWidget(mark);
        } else {
            row->addWidget(mark);
            row->addWidget(button);
        }
        static_cast<QVBoxLayout*>(column->layout())->addLayout(row);
        m_buttons.at(record_of(number)) = button;
    }
}

void CButtonPage::connect_controls() {
    for (int number = 1; number <= kControls; ++number) {
        QPushButton* button = m_buttons.at(record_of(number));
        on(button, "click", [this, number](const ui::Notification&) { click_button(number); });
        on(button, "mouseenter",
           [this, number](const ui::Notification&) { highlight_in_picture(number); });
        on(button, "mouseleave", [this](const ui::Notification&) { highlight_in_picture(0); });
    }
    QObject::connect(m_ui->ver_mouse_pic, &MousePicture::hovered, m_ui->ver_mouse_pic,
                     &MousePicture::set_highlighted);
    const std::array<QPushButton*, 2> options{m_ui->button_mode_option_1,
                                              m_ui->button_mode_option_2};
    for (int mode = kOfficeMode; mode <= kGameMode; ++mode) {
        on(options.at(static_cast<std::size_t>(mode)), "selectchanged",
           [this, mode](const ui::Notification& n) {
               // The option losing its mark reports too; only the chosen one counts.
               if (n.wparam != 0 && !m_refreshing) {
                   select_mode(mode);
               }
           });
    }
}

void CButtonPage::refresh(ConfigBlock* profile) {
    m_profile = profile;
    for (QPushButton* button : m_buttons) {
        button->setEnabled(profile != nullptr);
    }
    show_mode(profile != nullptr ? profile->button_mode() : kOfficeMode);
    for (int number = 1; number <= kControls; ++number) {
        show_label(number);
    }
}

void CButtonPage::select_mode(int mode) {
    if (m_profile == nullptr) {
        return;
    }
    m_profile->set_button_mode(mode);
    show_mode(mode);
}

void CButtonPage::show_mode(int mode) {
    // A stored mode other than game mode shows the office buttons, the ones the mouse gets.
    const bool game = mode == kGameMode;
    m_ui->office_mode_left->setVisible(!game);
    m_ui->office_mode_right->setVisible(!game);
    m_ui->game_mode_left->setVisible(game);
    m_ui->game_mode_right->setVisible(game);
    m_refreshing = true;
    (game ? m_ui->button_mode_option_2 : m_ui->button_mode_option_1)->setChecked(true);
    m_refreshing = false;
}

void CButtonPage::show_label(int number) {
    QPushButton* button = m_buttons.at(record_of(number));
    const QString label =
        m_profile != nullptr
            ? ui::to_qstring(button_label(m_profile->button(record_of(number)), ui::Texts::table()))
            : QString();
    button->setText(button->fontMetrics().elidedText(label, Qt::ElideRight, kButtonTextRoom));
    button->setToolTip(label);
}

void CButtonPage::highlight_in_picture(int number) {
    // The picture marks physical buttons 1..16: office and game record n stand for the same.
    m_ui->ver_mouse_pic->set_highlighted(number > 0 ? physical_button(number) : 0);
}

void CButtonPage::click_button(int number) {
    if (m_profile == nullptr) {
        return;
    }
    if (button_is_fixed(record_of(number))) {
        warn(*m_host, refusal_text_key(AssignmentRefusal::fixed_button), true);
        return;
    }
    m_current = number;
    open_menu(number);
}

QPoint CButtonPage::menu_anchor(const QRect& control, int menu_height, const QRect& screen) {
    const QPoint below = control.bottomLeft() + QPoint(0, 1);
    if (below.y() + menu_height > screen.bottom() + 1) {
        return {control.left(), control.top() - menu_height};
    }
    return below;
}

void CButtonPage::open_menu(int number) {
    QPushButton* button = m_buttons.at(record_of(number));
    ui::PopupMenu& menu = m_host->make_menu(QStringLiteral("buttonmenu.xml"));
    const QRect control(button->mapToGlobal(QPoint(0, 0)), button->size());
    const QScreen* screen = button->screen();
    const QRect area =
        screen != nullptr ? screen->availableGeometry() : QRect(0, 0, 1 << 16, 1 << 16);
    const int height = menu.menu() != nullptr ? menu.menu()->sizeHint().height() : 0;
    menu.open(menu_anchor(control, height, area));
}

void CButtonPage::assign_function(const QString& item_name) {
    if (m_profile == nullptr || m_current < 1) {
        return;
    }
    const std::size_t record = record_of(m_current);
    const std::uint8_t code = function_code_of(item_name.toStdString());
    const AssignmentRefusal refusal = check_assignment(*m_profile, record, code);
    if (refusal != AssignmentRefusal::none) {
        // The fixed button never opens its menu; a menu item cannot reach it.
        warn(*m_host, refusal_text_key(refusal), refusal == AssignmentRefusal::fixed_button);
        return;
    }
    switch (code) {
    case kShortcutFunction:
        pick_shortcut(record);
        break;
    case kMacroFunction:
        pick_macro(record);
        break;
    case kRecoilFunction:
        pick_recoil(record);
        break;
    default: {
        const std::size_t also = store_function(*m_profile, record, code);
        if (also != record) {
            show_label(static_cast<int>(also) + 1);
        }
        break;
    }
    }
    show_label(m_current);
}

void CButtonPage::pick_shortcut(std::size_t record) {
    prepare_shortcut(*m_profile, record);
    const ButtonRecord& button = m_profile->button(record);
    Shortcut initial{{}, button.shortcut_key()};
    for (std::size_t i = 0; i < kModifierBits.size(); ++i) {
        initial.modifiers.at(i) = (button.shortcut_modifiers() & kModifierBits.at(i)) != 0;
    }
    m_host->show_busy_cover();
    CShortcutWnd dialog(m_host->host_window(), m_host->input_capture(), initial);
    const int result = dialog.show_modal();
    m_host->hide_busy_cover();
    if (result != ui::kDialogOk) {
        return;
    }
    const Shortcut chosen = dialog.shortcut();
    std::uint8_t bits = 0;
    for (std::size_t i = 0; i < kModifierBits.size(); ++i) {
        bits = static_cast<std::uint8_t>(bits | (chosen.modifiers.at(i) ? kModifierBits.at(i) : 0));
    }
    assign_shortcut(*m_profile, record, bits, chosen.key);
}

void CButtonPage::pick_macro(std::size_t record) {
    // At most two macro buttons: a third is refused without a word.
    if (!prepare_macro(*m_profile, record)) {
        return;
    }
    const ButtonRecord& button = m_profile->button(record);
    const MacroLibrary& library = m_host->model().data().macros();
    m_host->show_busy_cover();
    CSelectMacroWnd dialog(m_host->host_window(), library,
                           {button.macro_index(), button.repeat_mode(), 0});
    const int result = dialog.show_modal();
    m_host->hide_busy_cover();
    if (result == ui::kDialogOk) {
        const LibraryPick pick = dialog.pick();
        static_cast<void>(
            assign_macro(*m_profile, record, pick.position, pick.repeat_mode, library));
    }
}

void CButtonPage::pick_recoil(std::size_t record) {
    // At most three recoil buttons: a fourth is refused without a word.
    if (!prepare_recoil(*m_profile, record)) {
        return;
    }
    const ButtonRecord& button = m_profile->button(record);
    const RecoilLibrary& library = m_host->model().data().recoils();
    m_host->show_busy_cover();
    CSelectGunWnd dialog(m_host->host_window(), library,
                         {button.recoil_index(), button.repeat_mode(), button.recoil_colour()});
    const int result = dialog.show_modal();
    m_host->hide_busy_cover();
    if (result == ui::kDialogOk) {
        const LibraryPick pick = dialog.pick();
        static_cast<void>(assign_recoil(*m_profile, record, pick.position, pick.repeat_mode,
                                        pick.colour, library));
    }
}

} // namespace zemrak::pages
