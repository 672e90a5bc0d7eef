#include "ui/msg_wnd.h"

#include "ui/modal.h"
#include "ui/texts.h"
#include "ui_msg.h"

#include <QGuiApplication>
#include <QLayout>
#include <QPushButton>
#include <QScreen>
#include <algorithm>

namespace zemrak::ui {

CMsgWnd::CMsgWnd(QWidget* owner)
    : QDialog(owner, Qt::Dialog | Qt::FramelessWindowHint), m_ui(std::make_unique<Ui::MsgWnd>()) {
    m_ui->setupUi(this);
    setObjectName(QStringLiteral("MsgWnd"));
    Texts::apply(this);

    connect(m_ui->ok_btn, &QPushButton::clicked, this, &QDialog::accept);
    connect(m_ui->cancel_btn, &QPushButton::clicked, this, &QDialog::reject);
    connect(m_ui->exit_btn, &QPushButton::clicked, this, &QDialog::reject);
}

CMsgWnd::~CMsgWnd() = default;

void CMsgWnd::set_title_key(const QString& key) {
    m_title_key = key;
    const QString text = Texts::text(key);
    m_ui->label_title->setText(text);
    // The box has no frame of its own; the title still names it to the window manager and
    // to screen readers.
    setWindowTitle(text);
}

void CMsgWnd::set_message_key(const QString& key) {
    m_message_key = key;
    m_ui->label_string->setText(Texts::text(key));
}

void CMsgWnd::set_message_text(const QString& text) {
    m_message_key.clear();
    m_ui->label_string->setTextFormat(Qt::PlainText);
    m_ui->label_string->setText(text);
    m_ui->label_string->setTextInteractionFlags(Qt::TextSelectableByMouse);
}

void CMsgWnd::add_choice(const QString& text_key) {
    if (m_choice == nullptr) {
        m_choice = new QPushButton(this);
        m_choice->setObjectName(QStringLiteral("choice_btn"));
        // Beside OK, before it in reading order.
        m_ui->msg_buttons_hor->insertWidget(m_ui->msg_buttons_hor->indexOf(m_ui->ok_btn), m_choice);
        connect(m_choice, &QPushButton::clicked, this, [this] { done(kDialogChoice); });
    }
    m_choice->setText(Texts::text(text_key));
    // Three answers may not fit the box's usual width: it widens rather than cut one.
    setMaximumWidth(QWIDGETSIZE_MAX);
    setMinimumWidth(std::max(minimumWidth(), layout()->minimumSize().width()));
}

int CMsgWnd::show_modal() {
    centre_over_owner();
    m_ui->ok_btn->setFocus();
    // Queued test answers or odd close codes must never read as a yes.
    const int result = run_modal(*this);
    if (result == kDialogChoice && m_choice != nullptr) {
        return kDialogChoice;
    }
    return result == kDialogOk ? kDialogOk : kDialogCancel;
}

void CMsgWnd::centre_over_owner() {
    // The layout fixes the width and the wrapped message decides the height. adjustSize()
    // would measure the height at the label's own preferred width and leave a gap.
    const int box_width = width();
    resize(box_width, hasHeightForWidth() ? heightForWidth(box_width) : sizeHint().height());

    ui::centre_over_owner(*this);
}

int show_message(QWidget* owner, const QString& title_key, const QString& message_key) {
    CMsgWnd box(owner);
    box.set_title_key(title_key);
    box.set_message_key(message_key);
    return box.show_modal();
}

} // namespace zemrak::ui
