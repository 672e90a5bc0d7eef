// Renders the main window, as a user sees it on a first start, into a PNG file: the
// pictures in the documentation are made with it, so they always show the current look.
//
//   render_window PROGRAM_FOLDER OUTPUT.png [SECTION]
//
// SECTION is key, key-game (the button page in game mode), key-menu (the function menu of a
// button, a submenu open), main-menu (the header's menu), performance, light, macro (a macro
// as recorded), macro-recording (the same while it records) or gun, or a dialog over the window:
// shortcut, select-macro, select-gun (the button page's) or about. The dialogs and the recoil page
// list a few example macros and recoil patterns. The window speaks the language the locale asks
// for, as the program does (ZEMRAK_LANGUAGE=en for the English pictures).

#include "app/about_wnd.h"
#include "app/main_wnd.h"
#include "macros/macro_record.h"
#include "pages/buttons/select_gun_wnd.h"
#include "pages/buttons/select_macro_wnd.h"
#include "pages/buttons/shortcut_wnd.h"
#include "platform/language_choice.h"
#include "recoil/recoil_record.h"
#include "ui/popup_menu.h"
#include "ui/theme.h"
#include "zemrak_version.h"

#include <QAbstractButton>
#include <QApplication>
#include <QDialog>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QPainter>
#include <QTemporaryDir>
#include <cmath>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <memory>
#include <vector>

namespace {

template <class Record>
void write_library(const std::filesystem::path& file, const std::vector<Record>& records) {
    std::filesystem::create_directories(file.parent_path());
    std::ofstream out(file, std::ios::binary);
    for (const Record& record : records) {
        out.write(reinterpret_cast<const char*>(record.bytes().data()),
                  static_cast<std::streamsize>(record.bytes().size()));
    }
}

template <class Record>
Record locked(Record record) {
    record.set_locked(true);
    return record;
}

// A pattern as a rifle's recoil asks for: a strong pull down that eases off, drifting left and
// then right, one bullet every 90 ms.
zemrak::RecoilRecord drawn_pattern(std::u16string_view folder, std::u16string_view name) {
    zemrak::RecoilRecord record = zemrak::RecoilRecord::make_pattern(folder, name);
    for (std::size_t slot = 0; slot < zemrak::RecoilRecord::kMaxBullets; ++slot) {
        const double t = static_cast<double>(slot);
        record.set_bullet(slot, zemrak::Bullet{static_cast<std::int32_t>(std::lround(
                                                   7.0 * std::sin(t / 4.0) - (t < 8 ? 2.0 : 0.0))),
                                               static_cast<std::int32_t>(
                                                   std::lround(t < 10 ? 14.0 - t : 4.0 - 0.1 * t)),
                                               90});
    }
    record.set_bullet_count(24);
    return record;
}

// A burst of fire as a recording with the time taken leaves it: the right mouse button held to
// aim, two shots with the left one, and the reload key, each action waiting as long as the
// hand took before the next one; the newest action waits the 2 ms every recording ends with.
zemrak::MacroRecord burst_fire() {
    using zemrak::MacroAction;
    struct Recorded {
        std::uint8_t code;
        std::uint8_t kind;
        std::uint16_t delay;
    };
    constexpr std::uint8_t kLeft = 240;
    constexpr std::uint8_t kRight = 241;
    constexpr std::uint8_t kReload = 0x15; // R
    constexpr Recorded kActions[] = {
        {kRight, MacroAction::Press, 212},  {kLeft, MacroAction::Press, 96},
        {kLeft, MacroAction::Release, 131}, {kLeft, MacroAction::Press, 94},
        {kLeft, MacroAction::Release, 127}, {kRight, MacroAction::Release, 58},
        {kReload, MacroAction::Press, 87},  {kReload, MacroAction::Release, 2},
    };
    zemrak::MacroRecord burst = zemrak::MacroRecord::make_macro(u"Shooter", u"Burst fire");
    std::size_t slot = 0;
    for (const Recorded& recorded : kActions) {
        MacroAction action;
        action.set_code(recorded.code);
        action.set_kind(recorded.kind);
        action.set_delay(recorded.delay);
        burst.set_action(slot++, action);
    }
    burst.set_action_count(static_cast<std::uint16_t>(slot));
    burst.set_loop_count(2);
    return burst;
}

// Example macros and recoil patterns for the pictures of the pickers and the macro and recoil
// pages.
void write_examples(const std::filesystem::path& data) {
    using zemrak::MacroRecord;
    using zemrak::RecoilRecord;
    write_library<MacroRecord>(data / zemrak::kMacroFileName,
                               {MacroRecord::make_folder(u"Shooter"), burst_fire(),
                                MacroRecord::make_macro(u"Shooter", u"Quick reload"),
                                locked(MacroRecord::make_macro(u"Shooter", u"Team callout")),
                                MacroRecord::make_folder(u"Office"),
                                MacroRecord::make_macro(u"Office", u"Signature")});
    write_library<RecoilRecord>(
        data / zemrak::kRecoilFileName,
        {RecoilRecord::make_folder(u"Rifles"), drawn_pattern(u"Rifles", u"Assault"),
         locked(RecoilRecord::make_pattern(u"Rifles", u"Marksman")),
         RecoilRecord::make_pattern(u"Rifles", u"Carbine"), RecoilRecord::make_folder(u"SMG"),
         RecoilRecord::make_pattern(u"SMG", u"Compact")});
}

// One of the button page's dialogs, made as the page makes it.
std::unique_ptr<QDialog> make_dialog(const QString& section, zemrak::app::CMainWnd& window) {
    using namespace zemrak::pages;
    if (section == "shortcut") {
        return std::make_unique<CShortcutWnd>(&window, window.input_capture(),
                                              Shortcut{{true, true, false, false}, 0x17});
    }
    if (section == "select-macro") {
        return std::make_unique<CSelectMacroWnd>(&window, window.data().macros(),
                                                 LibraryPick{1, 1, 0});
    }
    if (section == "select-gun") {
        return std::make_unique<CSelectGunWnd>(&window, window.data().recoils(),
                                               LibraryPick{1, 0, 0x000080FFu});
    }
    if (section == "about") {
        const zemrak::Folders& folders = window.data().folders();
        return std::make_unique<zemrak::app::CAboutWnd>(
            zemrak::app::AboutFacts{QString::fromLatin1(zemrak::kVersion),
                                    zemrak::app::licence_text(zemrak::kLicense),
                                    QStringLiteral("/home/user/.local/share/zemrak-mouse/Data"),
                                    QString::fromStdString(folders.program.string())},
            &window);
    }
    return nullptr;
}

// Paints a pop-up `menu` where it is on the screen into the picture of `window`.
void paint_popup(QImage& picture, const QWidget& window, QMenu& menu) {
    QPainter painter(&picture);
    painter.drawImage(window.mapFromGlobal(menu.pos()), menu.grab().toImage());
}

// Opens the function menu of button 2 and its mouse buttons submenu.
void open_function_menu(zemrak::app::CMainWnd& window, QImage& picture) {
    if (auto* button = window.findChild<QAbstractButton*>("button2_btn")) {
        button->click();
    }
    zemrak::ui::PopupMenu* popup = zemrak::ui::PopupMenu::open_menu();
    QMenu* menu = popup != nullptr ? popup->menu() : nullptr;
    QMenu* submenu = menu != nullptr ? menu->findChild<QMenu*>("mouse_buttons_menu") : nullptr;
    if (submenu == nullptr) {
        return;
    }
    menu->setActiveAction(submenu->menuAction());
    submenu->popup(menu->mapToGlobal(menu->actionGeometry(submenu->menuAction()).topRight()));
    QApplication::processEvents();
    picture = window.grab().toImage();
    paint_popup(picture, window, *menu);
    paint_popup(picture, window, *submenu);
}

// Opens the header's main menu.
void open_main_menu(zemrak::app::CMainWnd& window, QImage& picture) {
    if (auto* button = window.findChild<QAbstractButton*>("main_menu_btn")) {
        button->click();
    }
    zemrak::ui::PopupMenu* popup = zemrak::ui::PopupMenu::open_menu();
    QApplication::processEvents();
    picture = window.grab().toImage();
    if (popup != nullptr && popup->menu() != nullptr) {
        paint_popup(picture, window, *popup->menu());
    }
}

// The macro page as a recording with the time taken leaves it: the first macro shown, its
// newest action selected.
void show_recorded(zemrak::app::CMainWnd& window) {
    if (auto* macros = window.findChild<QListWidget*>("macro_list")) {
        macros->setCurrentRow(0);
    }
    if (auto* option = window.findChild<QAbstractButton*>("macro_delay_option_3")) {
        option->click();
    }
    if (auto* actions = window.findChild<QListWidget*>("macro_action_list")) {
        actions->setCurrentRow(actions->count() - 1);
    }
}

} // namespace

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
    const QString section = argc > 3 ? QString::fromLocal8Bit(argv[3]) : QString();
    const bool dialog_section = section == "shortcut" || section == "select-macro" ||
                                section == "select-gun" || section == "about";
    if (dialog_section || section == "gun" || section.startsWith("macro")) {
        write_examples(data.path().toStdString());
    }
    zemrak::Folders folders{program, data.path().toStdString(), program};
    zemrak::app::CMainWnd window(
        {folders,
         program / zemrak::kVirtualMouseFileName,
         nullptr,
         {},
         zemrak::requested_language(zemrak::locale_from_process_environment())});
    window.initialise();
    window.show();
    QString selector = section;
    if (section == "key-game" || section == "key-menu" || dialog_section) {
        selector = "key";
    }
    if (section == "macro-recording") {
        selector = "macro";
    }
    if (!selector.isEmpty()) {
        if (auto* button = window.findChild<QAbstractButton*>(selector + "_btn")) {
            button->click();
        }
    }
    if (section == "key-game") {
        if (auto* option = window.findChild<QAbstractButton*>("button_mode_option_2")) {
            option->click();
        }
    }
    if (section == "gun") {
        // The first pattern, with its ninth bullet selected in the rows and on the path.
        if (auto* list =
                window.findChild<QWidget*>("gun_page_ver")->findChild<QListWidget*>("gun_list")) {
            list->setCurrentRow(0);
        }
        window.activateWindow();
        if (auto* edit = window.findChild<QLineEdit*>("edit_zidan_y_9")) {
            edit->setFocus();
        }
    }
    if (section == "macro" || section == "macro-recording") {
        show_recorded(window);
    }
    if (section == "macro-recording") {
        if (auto* record = window.findChild<QAbstractButton*>("btn_record")) {
            record->click();
        }
    }
    QApplication::processEvents();

    QImage picture;
    if (const std::unique_ptr<QDialog> dialog = make_dialog(section, window)) {
        // The dialog over the window and its busy cover, as while it is open.
        window.show_busy_cover();
        dialog->adjustSize();
        dialog->show();
        QApplication::processEvents();
        picture = window.grab().toImage();
        const QImage box = dialog->grab().toImage();
        QPainter painter(&picture);
        painter.drawImage(
            QPoint((picture.width() - box.width()) / 2, (picture.height() - box.height()) / 2),
            box);
    } else if (section == "key-menu") {
        open_function_menu(window, picture);
    } else if (section == "main-menu") {
        open_main_menu(window, picture);
    } else {
        picture = window.grab().toImage();
    }
    if (!picture.save(QString::fromLocal8Bit(argv[2]))) {
        std::cerr << "render_window: cannot write " << argv[2] << '\n';
        return 1;
    }
    return 0;
}
