// Renders the main window, as a user sees it on a first start, into a PNG file: the
// pictures in the documentation are made with it, so they always show the current look.
//
//   render_window PROGRAM_FOLDER OUTPUT.png [SECTION]
//
// SECTION is key, performance, light, macro or gun.

#include "app/main_wnd.h"
#include "ui/theme.h"

#include <QAbstractButton>
#include <QApplication>
#include <QTemporaryDir>
#include <iostream>

int main(int argc, char** argv) {
    if (argc < 3) {
        std::cerr << "usage: render_window PROGRAM_FOLDER OUTPUT.png [SECTION]\n";
        return 2;
    }
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    QApplication application(argc, argv);
    zemrak::ui::apply_theme(application);

    // The build's program folder with a fresh data folder: the picture shows a first start,
    // never someone's own profiles.
    QTemporaryDir data;
    const std::filesystem::path program = argv[1];
    zemrak::Folders folders{program, data.path().toStdString(), program};
    zemrak::app::CMainWnd window({folders, program / zemrak::kVirtualMouseFileName, nullptr});
    window.initialise();
    window.show();
    if (argc > 3) {
        const QString selector = QString::fromLocal8Bit(argv[3]) + "_btn";
        if (auto* button = window.findChild<QAbstractButton*>(selector)) {
            button->click();
        }
    }
    QApplication::processEvents();
    if (!window.grab().save(QString::fromLocal8Bit(argv[2]))) {
        std::cerr << "render_window: cannot write " << argv[2] << '\n';
        return 1;
    }
    return 0;
}
