#include "ui/edit_name.h"

#include "model/byte_io.h"
#include "model/record_library.h"
#include "model/unicode.h"
#include "ui/modal.h"
#include "ui/msg_wnd.h"
#include "ui/qt_text.h"
#include "ui/texts.h"
#include "ui_editname.h"

#include <QGuiApplication>
#include <QPushButton>
#include <QScreen>

namespace zemrak::ui {

CEditName::CEditName(QWidget* owner, const RecordLibrary& library, const NameTextTable& keys,
                     const QString& window_name)
    : QDialog(owner, Qt::Dialog | Qt::FramelessWindowHint), m_ui(std::make_unique<Ui::EditName>()),
      m_library(library), m_keys(keys) {
    m_ui->setupUi(this);
    setObjectName(window_name);
    Texts::apply(this);
    // The layout says so too; a name field holds 49 units and a terminator.
    m_ui->edit_name->setMaxLength(static_cast<int>(kMaxNameLength));
    set_mode(m_mode);

    connect(m_ui->ok_btn, &QPushButton::clicked, this, &CEditName::on_ok);
    connect(m_ui->cancel_btn, &QPushButton::clicked, this, &QDialog::reject);
    connect(m_ui->exit_btn, &QPushButton::clicked, this, &QDialog::reject);
}

CEditName::~CEditName() = default;

void CEditName::set_mode(NameMode mode) {
    m_mode = mode;
    const NameTextKeys& keys = m_keys[static_cast<std::size_t>(mode)];
    const QString title = Texts::text(keys.title);
    m_ui->label_title->setText(title);
    setWindowTitle(title);
    m_ui->label_string->setText(Texts::text(keys.prompt));
}

void CEditName::set_name(const QString& name) {
    m_ui->edit_name->setText(name);
    m_name = m_ui->edit_name->text();
}

int CEditName::show_modal() {
    centre_over_owner();
    m_ui->edit_name->setFocus();
    m_ui->edit_name->selectAll();
    return run_modal(*this) == kDialogOk ? kDialogOk : kDialogCancel;
}

void CEditName::on_ok() {
    const QString entered = m_ui->edit_name->text();
    const std::u16string name = to_u16string(entered);
    // Covers an add with nothing typed as well: the initial name is empty there.
    if (equal_ignoring_case(name, to_u16string(m_name))) {
        done(kDialogCancel);
        return;
    }
    if (name.empty()) {
        show_warning("no_name_text");
        return;
    }
    const bool item = m_mode == NameMode::add_item || m_mode == NameMode::rename_item;
    if (item && m_library.item_exists(to_u16string(m_folder), name)) {
        show_warning("same_macro_text");
        return;
    }
    if (!item && m_library.folder_exists(name)) {
        show_warning("same_macro_dir_text");
        return;
    }
    m_name = entered;
    done(kDialogOk);
}

void CEditName::show_warning(const char* message_key) {
    show_message(this, QStringLiteral("warning_title_text"), QString::fromLatin1(message_key));
    m_ui->edit_name->setFocus();
}

void CEditName::centre_over_owner() {
    resize(width(), sizeHint().height());
    ui::centre_over_owner(*this);
}

} // namespace zemrak::ui
