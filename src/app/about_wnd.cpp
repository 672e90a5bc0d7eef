#include "app/about_wnd.h"

#include "ui/modal.h"
#include "ui/texts.h"
#include "ui_about.h"

#include <QPushButton>

namespace zemrak::app {

QString licence_text(const char* spdx_identifier) {
    const QString id = QString::fromLatin1(spdx_identifier);
    return id == u"LicenseRef-proprietary" ? ui::Texts::text("licence_proprietary_text") : id;
}

CAboutWnd::CAboutWnd(const AboutFacts& facts, QWidget* owner)
    : QDialog(owner, Qt::Dialog | Qt::FramelessWindowHint), m_ui(std::make_unique<Ui::AboutWnd>()) {
    m_ui->setupUi(this);
    setObjectName(QStringLiteral("AboutWnd"));
    ui::Texts::apply(this);
    setWindowTitle(m_ui->label_title->text());
    m_ui->about_version_label->setText(facts.version);
    m_ui->about_licence_label->setText(facts.licence);
    m_ui->about_data_folder_label->setText(facts.data_folder);
    m_ui->about_program_folder_label->setText(facts.program_folder);

    connect(m_ui->ok_btn, &QPushButton::clicked, this, &QDialog::accept);
    connect(m_ui->exit_btn, &QPushButton::clicked, this, &QDialog::reject);
}

CAboutWnd::~CAboutWnd() = default;

void CAboutWnd::show_modal() {
    // Wide enough for the longest folder name, which is not broken: it is there to be copied.
    adjustSize();
    ui::centre_over_owner(*this);
    m_ui->ok_btn->setFocus();
    static_cast<void>(ui::run_modal(*this));
}

} // namespace zemrak::app
