#include "pages/buttons/shortcut_wnd.h"

#include "model/key_tables.h"
#include "platform/evdev_keys.h"
#include "ui/modal.h"
#include "ui/texts.h"
#include "ui_shortcut.h"

#include <QCheckBox>
#include <QEvent>
#include <QPushButton>

namespace zemrak::pages {

CShortcutWnd::CShortcutWnd(QWidget* owner, ui::InputCapture& capture, Shortcut initial)
    : QDialog(owner, Qt::Dialog | Qt::FramelessWindowHint),
      m_ui(std::make_unique<Ui::ShortcutWnd>()), m_capture(capture), m_shortcut(initial) {
    m_ui->setupUi(this);
    setObjectName(QStringLiteral("ShortcutWnd"));
    ui::Texts::apply(this);
    setWindowTitle(m_ui->label_title->text());
    // A click on the dialog's background takes the focus from the key field.
    setFocusPolicy(Qt::ClickFocus);

    const std::array<QCheckBox*, 4> boxes = {m_ui->check_flag_1, m_ui->check_flag_2,
                                             m_ui->check_flag_3, m_ui->check_flag_4};
    for (std::size_t i = 0; i < boxes.size(); ++i) {
        boxes.at(i)->setChecked(m_shortcut.modifiers.at(i));
        connect(boxes.at(i), &QCheckBox::toggled, this,
                [this, i](bool on) { m_shortcut.modifiers.at(i) = on; });
    }
    m_ui->edit_key->setPlaceholderText(ui::Texts::text("shortcut_key_hint_text"));
    m_ui->edit_key->installEventFilter(this);
    show_key();
    show_capture_scope();

    connect(m_ui->ok_btn, &QPushButton::clicked, this, &QDialog::accept);
    connect(m_ui->cancel_btn, &QPushButton::clicked, this, &QDialog::reject);
    connect(m_ui->exit_btn, &QPushButton::clicked, this, &QDialog::reject);
}

CShortcutWnd::~CShortcutWnd() {
    stop_capture();
}

int CShortcutWnd::show_modal() {
    ui::centre_over_owner(*this);
    m_ui->edit_key->setFocus();
    const int result = ui::run_modal(*this);
    stop_capture();
    return result == ui::kDialogOk ? ui::kDialogOk : ui::kDialogCancel;
}

bool CShortcutWnd::eventFilter(QObject* watched, QEvent* event) {
    if (watched != m_ui->edit_key) {
        return QDialog::eventFilter(watched, event);
    }
    switch (event->type()) {
    case QEvent::FocusIn:
        start_capture();
        break;
    case QEvent::FocusOut:
        stop_capture();
        break;
    case QEvent::ShortcutOverride:
        // No shortcut of any window fires while a key is being chosen.
        event->accept();
        return true;
    case QEvent::KeyPress:
    case QEvent::KeyRelease:
        // Every key is a candidate, Tab, Escape and Return included; the capture reports it.
        return true;
    default:
        break;
    }
    return QDialog::eventFilter(watched, event);
}

void CShortcutWnd::start_capture() {
    if (m_capturing) {
        return;
    }
    m_capturing = true;
    m_capture.install(InputDevice::keyboard, [this](const InputEvent& event) {
        if (event.message == kKeyboardMessage) {
            on_key(static_cast<std::uint32_t>(event.wparam));
        }
    });
    m_capture.enable(InputDevice::keyboard, true);
    show_capture_scope();
}

void CShortcutWnd::stop_capture() {
    if (!m_capturing) {
        return;
    }
    m_capturing = false;
    m_capture.remove(InputDevice::keyboard);
}

void CShortcutWnd::on_key(std::uint32_t virtual_key) {
    // Key codes follow the physical key on a US keyboard, so the US layout places them. A key
    // the tables do not know (a media key) leaves the chosen key as it is.
    const UsageLookup lookup = usage_from_virtual_key(virtual_key, TableKeyboardLayout());
    if (!lookup.found) {
        return;
    }
    m_shortcut.key = lookup.usage;
    show_key();
}

void CShortcutWnd::show_key() {
    m_ui->edit_key->setText(ui::Texts::text(key_name_key(m_shortcut.key)));
}

void CShortcutWnd::show_capture_scope() {
    if (m_capture.scope() == ui::CaptureScope::system_wide) {
        m_ui->capture_label->setText(ui::Texts::text("capture_system_text"));
    } else if (m_capture.library_without_devices()) {
        m_ui->capture_label->setText(ui::Texts::text("capture_window_text") + QLatin1Char(' ') +
                                     ui::Texts::text("capture_permission_text"));
    } else {
        m_ui->capture_label->setText(ui::Texts::text("capture_window_text"));
    }
}

} // namespace zemrak::pages
