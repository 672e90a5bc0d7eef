#pragma once

#include <QDialog>
#include <QString>
#include <memory>

namespace Ui {
class AboutWnd;
}

namespace zemrak::app {

// What the About box tells.
struct AboutFacts {
    QString version;
    QString licence;        // as shown: a name, not necessarily an SPDX identifier
    QString data_folder;    // where the user's profiles and libraries are kept
    QString program_folder; // where the shipped files are read from
};

// How a licence is shown: the SPDX identifier, except the one that grants nothing, which
// is said in words.
[[nodiscard]] QString licence_text(const char* spdx_identifier);

// The About box: the program's name, version and licence, and the folders in use (the
// folders can be selected and copied). Made on the caller's stack for one showing.
class CAboutWnd final : public QDialog {
    Q_OBJECT
public:
    CAboutWnd(const AboutFacts& facts, QWidget* owner);
    ~CAboutWnd() override;

    CAboutWnd(const CAboutWnd&) = delete;
    CAboutWnd& operator=(const CAboutWnd&) = delete;

    // Centres the box over its owner and runs it modally; the answer carries nothing.
    void show_modal();

private:
    std::unique_ptr<Ui::AboutWnd> m_ui;
};

} // namespace zemrak::app
