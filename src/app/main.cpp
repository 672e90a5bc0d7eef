// zemrak-mouse: the configuration tool of the Zemrak gaming mouse. One copy runs at a time;
// it lives in the tray and shows its window while the mouse is connected.

#include "app/main_wnd.h"
#include "app/single_instance.h"
#include "platform/language_choice.h"
#include "ui/theme.h"
#include "ui/ui_script.h"
#include "zemrak_version.h"

#include <QApplication>
#include <QTimer>
#include <cstdlib>
#include <iostream>
#include <string_view>

namespace {

constexpr int kExitSecondCopy = 1;

} // namespace

int main(int argc, char** argv) {
    // Answered before anything else: it needs no display, starts no window and must not
    // reach a running copy (which would take any argument for "start hidden").
    for (int i = 1; i < argc; ++i) {
        if (std::string_view(argv[i]) == "--version") {
            std::cout << "zemrak-mouse " << zemrak::kVersion << '\n';
            return EXIT_SUCCESS;
        }
    }

    QApplication application(argc, argv);
    QApplication::setApplicationVersion(QString::fromLatin1(zemrak::kVersion));
    QApplication::setApplicationName(QStringLiteral("zemrak-mouse"));
    QApplication::setDesktopFileName(QStringLiteral("zemrak-mouse"));
    // Hiding or closing the window must never end the program by itself: it lives on in the
    // tray, and the window decides when a close ends it (where there is no tray).
    QApplication::setQuitOnLastWindowClosed(false);

    zemrak::app::SingleInstance instance;
    if (instance.claim() == zemrak::app::SingleInstance::Role::Second) {
        // The running copy shows its window (or its warning); this one only asks it to.
        static_cast<void>(instance.hand_over());
        return kExitSecondCopy;
    }
    // Any argument starts the program in the tray (autostart entries give --hidden).
    const bool start_hidden = argc > 1;

    std::error_code folder_error;
    zemrak::app::MainWndOptions options{
        zemrak::default_folders(folder_error),
        {},
        nullptr,
        {},
        zemrak::requested_language(zemrak::locale_from_process_environment())};
    if (folder_error) {
        std::cerr << "zemrak-mouse: cannot find the program folder: " << folder_error.message()
                  << '\n';
        return EXIT_FAILURE;
    }
    if (const char* library = std::getenv(zemrak::kHidLibraryVariable);
        library != nullptr && *library != '\0') {
        options.hid_library = library;
    }

    zemrak::ui::apply_theme(application);
    zemrak::app::CMainWnd window(std::move(options));
    window.initialise();
    QObject::connect(&instance, &zemrak::app::SingleInstance::show_requested, &window,
                     [&window] { window.show_or_warn(); });
    if (!start_hidden) {
        if (window.device_state() == zemrak::DeviceState::Connected) {
            window.show();
        } else {
            // Once the event loop runs: the warning says why no window comes and offers the
            // simulated mouse, so that a first start without the mouse still leads somewhere.
            QTimer::singleShot(0, &window, [&window] { window.no_device_warning(); });
        }
    }

    std::unique_ptr<zemrak::ui::UiScript> script;
    if (const char* file = std::getenv("ZEMRAK_UI_SCRIPT"); file != nullptr && *file != '\0') {
        script = zemrak::ui::UiScript::start(
            file, &window, [&window] { return window.apply_idle(); },
            [&window] { window.request_exit(); });
    }
    return QApplication::exec();
}
