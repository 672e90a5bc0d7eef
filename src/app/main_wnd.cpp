#include "app/main_wnd.h"

#include "app/about_wnd.h"
#include "app/data_folder_watch.h"
#include "app/menu_dispatch.h"
#include "app/tray_icon.h"
#include "application/access_advice.h"
#include "model/unicode.h"
#include "platform/autostart.h"
#include "platform/hook_library.h"
#include "platform/pointer_settings_backend.h"
#include "ui/busy_overlays.h"
#include "ui/input_capture.h"
#include "ui/keyboard_navigation.h"
#include "ui/modal.h"
#include "ui/msg_wnd.h"
#include "ui/notify_router.h"
#include "ui/popup_menu.h"
#include "ui/qt_text.h"
#include "ui/texts.h"
#include "ui_main.h"
#include "zemrak_version.h"

#include <QAbstractItemModel>
#include <QApplication>
#include <QCloseEvent>
#include <QComboBox>
#include <QCursor>
#include <QDesktopServices>
#include <QLineEdit>
#include <QMenu>
#include <QMouseEvent>
#include <QScreen>
#include <QStyle>
#include <QTimer>
#include <QUrl>
#include <QWindow>

namespace zemrak::app {
namespace {

// The tray menu's profile items are named this followed by the profile's index from 0.
constexpr const char* kTrayProfilePrefix = "profile_";
constexpr int kNoticeMs = 8000;

QString to_qstring(const std::filesystem::path& path) {
    return QString::fromStdString(path.string());
}

// Sets a property that the style sheet looks at, and lets the style see the change.
void set_style_flag(QWidget* widget, const char* name, bool on) {
    if (widget->property(name).toBool() == on) {
        return;
    }
    widget->setProperty(name, on);
    widget->style()->unpolish(widget);
    widget->style()->polish(widget);
}

// What the start-up load found that the user has to know, one text each, so that none hides
// another.
// The text of a start-up problem. The language file may itself be what could not be read;
// its texts are then missing, and the problem must still be named, in English.
QString problem_text(const char* key, const char* english) {
    const QString text = ui::Texts::text(key);
    return text.isEmpty() ? QString::fromUtf8(english) : text;
}

QStringList startup_problems(const AppData& data, const StartupLoad& load) {
    QStringList problems;
    if (load.data_folder_error) {
        problems << problem_text("data_folder_read_only_text", "%1 cannot be written (%2).")
                        .arg(to_qstring(data.folders().data),
                             QString::fromStdString(load.data_folder_error.message()));
    }
    for (const FileProblem& problem : data.settings_problems()) {
        problems << problem_text("file_unreadable_text", "%1: %2.")
                        .arg(to_qstring(problem.file.filename()),
                             QString::fromStdString(problem.error.message()));
    }
    const auto unreadable = [&problems](const char* file, const std::error_code& error) {
        if (error) {
            problems << problem_text("file_unreadable_text", "%1: %2.")
                            .arg(QLatin1String(file), QString::fromStdString(error.message()));
        }
    };
    const auto kept_aside = [&problems](const char* file, const std::filesystem::path& copy) {
        if (!copy.empty()) {
            problems << problem_text("library_damaged_text",
                                     "%1 was incomplete; the original is kept as %2.")
                            .arg(QLatin1String(file), to_qstring(copy));
        }
    };
    unreadable(kIndexFileName, load.profiles.index_read_error);
    unreadable(kProfilesFileName, load.profiles.profiles_read_error);
    kept_aside(kProfilesFileName, load.profiles.damaged_copy);
    // Not worth a word when the profiles themselves could not be read.
    if (load.profiles.index_out_of_range && !load.profiles.profiles_read_error) {
        problems << problem_text("index_out_of_range_text",
                                 "%1 named a profile that does not exist.")
                        .arg(QLatin1String(kIndexFileName));
    }
    if (load.profiles.save_error) {
        problems << QString::fromStdString(load.profiles.save_error.message());
    }
    for (const auto& [file, library] :
         {std::pair{kMacroFileName, &load.macros}, std::pair{kRecoilFileName, &load.recoils}}) {
        if (!library->opened) {
            unreadable(file, library->error);
        } else if (!library->damaged_copy.empty()) {
            kept_aside(file, library->damaged_copy);
        } else if (library->error) {
            problems << QString::fromLatin1(file) + ": " +
                            QString::fromStdString(library->error.message());
        }
    }
    return problems;
}

} // namespace

CMainWnd::CMainWnd(MainWndOptions options)
    : QWidget(nullptr, Qt::FramelessWindowHint | Qt::Window), m_options(std::move(options)),
      m_ui(std::make_unique<Ui::CMainWnd>()), m_data(m_options.folders),
      m_model(new pages::ProfileModel(m_data, this)) {
    setObjectName("CMainWnd");
}

CMainWnd::~CMainWnd() {
    // Stop the link first: its worker writes through the library and reads the parameters.
    m_link.reset();
    // The controls outlive the members (Qt deletes them with the window); their last events,
    // such as an edit losing the focus, must not reach handlers that are already gone.
    delete m_router;
    m_router = nullptr;
}

void CMainWnd::initialise() {
    // Device settings, language texts and the factory image for the sensor they name.
    m_data.load_settings(m_options.language);
    const QIcon icon(to_qstring(m_options.folders.program / kLogoFileName));
    setWindowIcon(icon);
    ui::Texts::use(m_data.texts());

    m_ui->setupUi(this);
    setFixedSize(800, 572);
    ui::Texts::apply(this);
    setWindowTitle(ui::Texts::text("mouse_name_text"));
    m_ui->logo_btn->setIcon(icon);
    m_ui->logo_btn->setIconSize(QSize(32, 32));
    m_ui->header_hor->installEventFilter(this);
    m_cover = new ui::BusyCover(this);
    m_ring = new ui::BusyRing(this);
    m_tray = std::make_unique<CTrayIcon>(this);
    m_tray->set_icon(icon);
    m_tray->on_left_click = [this] { show_or_warn(); };
    // One menu for the icon's whole life: a StatusNotifier host shows the copy Qt exports,
    // which has to be there, up to date, before anyone clicks.
    m_trayMenu = std::make_unique<ui::PopupMenu>(
        to_qstring(m_options.folders.program / kMenuFolderName) + "/traymenu.xml", this);
    m_trayMenu->on_chosen = [this](const QString& item) {
        // Run after the menu has closed, as for every menu.
        QTimer::singleShot(0, this, [this, item] {
            const QString prefix = QString::fromLatin1(kTrayProfilePrefix);
            bool numbered = false;
            const int index = item.mid(prefix.size()).toInt(&numbered);
            if (item.startsWith(prefix) && numbered) {
                choose_profile_from_tray(index);
            } else {
                dispatch_menu(item);
            }
        });
    };
    connect(m_trayMenu->menu(), &QMenu::aboutToShow, this, [this] { update_tray(); });
    m_tray->set_menu(m_trayMenu->menu());

    // The input library is loaded when a capture first needs it; without it the capture
    // stays inside the program's windows, and nothing is said.
    m_capture = new ui::InputCapture(
        [libraries = m_options.folders.libraries]() -> std::unique_ptr<SystemInputSource> {
            std::string ignored;
            return HookLibrary::load(
                hook_library_path(libraries, std::getenv(kHookLibraryVariable)), ignored);
        },
        this);
    m_buttonPage.init(m_ui->button_page_ver, *this);
    m_performancePage.init(m_ui->performance_page_ver, *this);
    m_lightPage.init(m_ui->light_page_ver, *this);
    m_macroPage.init(m_ui->macro_page_ver, *this);
    m_gunPage.init(m_ui->gun_page_ver, *this);
    connect_controls();
    // Connected once every page has built its controls, so each control reaches its page.
    m_router = new ui::NotifyRouter([this](const ui::Notification& n) { on_notify(n); }, this);
    m_router->attach(this);

    open_device_link();
    m_tray->show();

    // Load all: the stored profiles and libraries, then the pages show the current profile.
    const StartupLoad load = m_data.load_data();
    m_profileBar = std::make_unique<ProfileBar>(
        m_data, m_ui->profile_combo, m_ui->edit_profile_name, this,
        ProfileBar::Hooks{[this] { refresh_pages(); }, [this] { post_apply(); },
                          [this](const char* key) { return confirm(key); },
                          [this](const char* key) { inform(key); },
                          [this](const QString& problem) { show_notice(problem); }});
    m_profileBar->fill();
    // The tray follows the profile list whatever changes it: the bar adds, deletes and
    // renames through the list it shows.
    const QAbstractItemModel* listed = m_ui->profile_combo->model();
    for (const auto signal :
         {&QAbstractItemModel::rowsInserted, &QAbstractItemModel::rowsRemoved}) {
        connect(listed, signal, this, [this] { update_tray(); });
    }
    connect(listed, &QAbstractItemModel::dataChanged, this, [this] { update_tray(); });
    connect(listed, &QAbstractItemModel::modelReset, this, [this] { update_tray(); });
    m_macroPage.fill_folders();
    m_gunPage.fill_folders();
    // The mouse is taken to hold the profile that was current when the program last ran.
    const ConfigBlock* current = m_model->current();
    m_applied = std::make_unique<AppliedProfile>(current != nullptr ? *current : ConfigBlock{});
    refresh_pages();
    for (const auto signal :
         {&pages::ProfileModel::profileChanged, &pages::ProfileModel::buttonsChanged}) {
        connect(m_model, signal, this, [this] { show_apply_mark(); });
    }
    show_device_state();
    if (const QStringList problems = startup_problems(m_data, load); !problems.isEmpty()) {
        show_notice(problems.join(QStringLiteral("  ")));
    }
    const Folders& folders = m_data.folders();
    const auto data_file = [&folders](const char* name) {
        return QString::fromStdString((folders.data / name).string());
    };
    m_dataWatch = new DataFolderWatch(
        QString::fromStdString(folders.data.string()),
        {data_file(kProfilesFileName), data_file(kMacroFileName), data_file(kRecoilFileName)},
        [this] { on_data_folder_changed(); }, this);

    if (const QScreen* screen = QGuiApplication::primaryScreen()) {
        move(screen->availableGeometry().center() - rect().center());
    }
}

void CMainWnd::open_device_link() {
    m_pointer =
        m_options.pointer_settings ? m_options.pointer_settings() : make_pointer_settings_backend();
    m_performancePage.show_pointer_support(m_pointer->support());
    m_nodes = m_options.nodes ? m_options.nodes : std::make_shared<SysfsHidNodeProbe>();
    // The link calls back on its worker thread; the window handles everything on its own.
    auto on_window = [this](auto handler) {
        return [this, handler](auto... value) {
            QMetaObject::invokeMethod(
                this, [handler, value...] { handler(value...); }, Qt::QueuedConnection);
        };
    };
    m_link = std::make_unique<DeviceLink>(
        m_data.store(), DeviceLinkServices{m_data.params(), m_pause, *m_pointer, *m_nodes},
        DeviceLink::Hooks{
            on_window([this](bool busy) { m_ring->setVisible(busy); }),
            on_window([this](const ApplyOutcome& outcome) { on_apply_finished(outcome); }),
            on_window([this](DeviceState state) { on_presence(state); })});
    // The link follows the real mouse for the whole run; the simulation stands in only when
    // the user asks for it (see no_device_warning()).
    static_cast<void>(m_link->open({m_options.hid_library, m_options.folders.libraries}));
}

void CMainWnd::on_presence(DeviceState state) {
    if (m_showsSimulation && !m_link->simulated()) {
        m_applied->forget(); // the real mouse has not been given the profile yet
        show_apply_mark();
    }
    show_device_state();
    if (state == DeviceState::Removed) {
        hide();
    }
}

void CMainWnd::show_device_state() {
    QString line;
    bool warn = true;
    if (m_link->simulated()) {
        line = ui::Texts::text("simulated_mouse_state_text");
    } else if (m_link->access_denied()) {
        line = ui::Texts::text("no_write_access_state_text");
    } else if (m_link->state() == DeviceState::Connected) {
        line = ui::Texts::text("real_mouse_state_text");
        warn = false;
    }
    m_showsSimulation = m_link->simulated();
    m_ui->device_state_label->setText(line);
    set_style_flag(m_ui->device_state_label, "warn", warn);
    m_tray->set_tool_tip(tray_tool_tip());
}

bool CMainWnd::unapplied_changes() const {
    return m_applied && m_applied->differs(m_model->current(), m_data.params());
}

void CMainWnd::show_apply_mark() {
    const bool mark = unapplied_changes();
    QPushButton* apply = m_ui->btn_apply;
    set_style_flag(apply, "unapplied", mark);
    const QString text = ui::Texts::text("apply_text");
    apply->setText(mark ? text + QStringLiteral(" \u2022") : text);
    apply->setToolTip(mark ? ui::Texts::text("unapplied_tip_text") : QString());
}

QString CMainWnd::tray_tool_tip() const {
    // The tray says which profile is current and what the header's state line says.
    QStringList lines{ui::Texts::text("mouse_name_text")};
    if (const ConfigBlock* current = m_model->current()) {
        lines << ui::Texts::text("tray_profile_text").arg(ui::to_qstring(current->name()));
    }
    if (const QString state = m_ui->device_state_label->text(); !state.isEmpty()) {
        lines << state;
    }
    return lines.join(QStringLiteral("\n"));
}

void CMainWnd::update_tray() {
    const ProfileList& profiles = m_data.profiles();
    QStringList names;
    for (std::size_t i = 0; i < profiles.size(); ++i) {
        names << ui::to_qstring(profiles.at(i).name());
    }
    m_trayMenu->set_choices(QStringLiteral("exit"), QString::fromLatin1(kTrayProfilePrefix), names,
                            profiles.current_index());
    m_tray->set_tool_tip(tray_tool_tip());
}

void CMainWnd::choose_profile_from_tray(int index) {
    if (!m_profileBar || index < 0 || index >= m_ui->profile_combo->count()) {
        return; // the list changed while the menu was open
    }
    // What the window does when the profile is picked in its bar and Apply is pressed: a name
    // still being typed is taken, the bar's list switches, then the apply is queued.
    m_profileBar->rename();
    m_ui->profile_combo->setCurrentIndex(index);
    post_apply();
    update_tray();
}

DeviceState CMainWnd::device_state() const {
    return m_link ? m_link->state() : DeviceState::NotConnected;
}

bool CMainWnd::using_virtual_mouse() const {
    return m_link && m_link->simulated();
}

void CMainWnd::show_or_warn() {
    if (device_state() == DeviceState::Connected) {
        bring_to_front();
    } else {
        no_device_warning();
    }
}

void CMainWnd::bring_to_front() {
    if (!isVisible()) {
        show();
    }
    if (isMinimized()) {
        showNormal();
    }
    raise();
    activateWindow();
}

void CMainWnd::no_device_warning() {
    if (m_warningOpen) {
        return;
    }
    m_warningOpen = true;
    ui::CMsgWnd box(this);
    box.set_title_key(QStringLiteral("warning_title_text"));
    if (const std::optional<HidNodeAccess> denied = m_link->access_denied()) {
        const QString lead = ui::Texts::text("no_write_access_text");
        box.set_message_text(QString::fromStdString(
            access_advice(lead.toStdString(), *denied, m_options.folders.program)));
    } else {
        box.set_message_key(QStringLiteral("no_connect_device_text"));
    }
    box.add_choice(QStringLiteral("explore_simulated_text"));
    const int answer = box.show_modal();
    m_warningOpen = false;
    if (answer == ui::kDialogChoice) {
        explore_with_simulation();
    }
}

void CMainWnd::explore_with_simulation() {
    if (m_link->simulate(m_options.folders.libraries) != DeviceState::Connected) {
        return;
    }
    show_device_state();
    bring_to_front();
}

void CMainWnd::show_busy_cover() {
    m_cover->show();
}
void CMainWnd::hide_busy_cover() {
    m_cover->hide();
}

bool CMainWnd::confirm(const char* message_key) {
    show_busy_cover();
    const int result = ui::show_message(this, "warning_title_text", message_key);
    hide_busy_cover();
    return result == 1;
}

void CMainWnd::inform(const char* message_key) {
    static_cast<void>(confirm(message_key));
}

void CMainWnd::tell(const QString& text) {
    show_busy_cover();
    ui::CMsgWnd box(this);
    box.set_title_key(QStringLiteral("warning_title_text"));
    box.set_message_text(text);
    static_cast<void>(box.show_modal());
    hide_busy_cover();
}

void CMainWnd::show_notice(const QString& text) {
    m_ui->status_label->setText(text);
    m_ui->status_label->show();
    QTimer::singleShot(kNoticeMs, m_ui->status_label, &QWidget::hide);
}

void CMainWnd::on_data_folder_changed() {
    // A dialog works on what it was opened with; look again once it is closed.
    if (QApplication::activeModalWidget() != nullptr) {
        QTimer::singleShot(DataFolderWatch::kSettleMs, this, [this] { on_data_folder_changed(); });
        return;
    }
    const OutsideChanges changes = m_data.changed_outside();
    if (changes.macros) {
        m_macroPage.reload_library();
    }
    if (changes.recoils) {
        m_gunPage.reload_library();
    }
    if (!changes.profiles) {
        return;
    }
    const ProfileReload reload = m_data.reload_profiles();
    if (reload.error) {
        show_notice(QStringLiteral("%1: %2").arg(QString::fromUtf8(kProfilesFileName),
                                                 QString::fromStdString(reload.error.message())));
        return;
    }
    m_profileBar->fill();
    refresh_pages();
    show_apply_mark();
    if (reload.kept.empty()) {
        show_notice(ui::Texts::text("profiles_reloaded_text"));
        return;
    }
    QStringList names;
    for (const std::u16string& name : reload.kept) {
        names << ui::to_qstring(name);
    }
    show_notice(
        ui::Texts::text("profiles_reloaded_kept_text").arg(names.join(QStringLiteral(", "))));
}

void CMainWnd::post_apply() {
    if (m_link->request_apply()) {
        ++m_appliesPending;
        m_applied->posted(*m_model->current()); // there is one, or nothing was queued
    }
}

void CMainWnd::on_apply_finished(const ApplyOutcome& outcome) {
    --m_appliesPending;
    m_applied->finished(outcome.reports.ok());
    show_apply_mark();
    QStringList problems;
    // Writes fail on their own when the mouse is away; that is no news to the user.
    if (!outcome.reports.ok() && device_state() == DeviceState::Connected) {
        const std::size_t lost = outcome.reports.failed + outcome.reports.skipped;
        problems << ui::Texts::text("apply_write_failed_text")
                        .arg(lost)
                        .arg(lost + outcome.reports.written);
    }
    if (!outcome.saved()) {
        const std::error_code error =
            outcome.index_error ? outcome.index_error : outcome.profiles_error;
        problems << ui::Texts::text("apply_save_failed_text")
                        .arg(QString::fromStdString(error.message()));
    }
    if (!problems.isEmpty()) {
        show_notice(problems.join(QStringLiteral("  ")));
    }
}

void CMainWnd::refresh_pages() {
    m_model->current_replaced();
    update_tray();
}

void CMainWnd::request_exit() {
    QApplication::quit();
}

ui::CNotifyPump* CMainWnd::page_named(const QString& name) {
    if (name == pages::CButtonPage::kVirtualWindow) {
        return &m_buttonPage;
    }
    if (name == pages::CPerformancePage::kVirtualWindow) {
        return &m_performancePage;
    }
    if (name == pages::CLightPage::kVirtualWindow) {
        return &m_lightPage;
    }
    if (name == pages::CMacroPage::kVirtualWindow) {
        return &m_macroPage;
    }
    if (name == pages::CGunPage::kVirtualWindow) {
        return &m_gunPage;
    }
    return nullptr;
}

void CMainWnd::on_notify(const ui::Notification& n) {
    if (n.page.isEmpty()) {
        notify(n);
    } else if (const ui::CNotifyPump* page = page_named(n.page)) {
        page->notify(n);
    }
    // Every edit of the profile comes through here: the mark follows it at once.
    show_apply_mark();
}

void CMainWnd::connect_controls() {
    const auto click = [this](const QObject* control, std::function<void()> action) {
        on(control, "click", [action = std::move(action)](const ui::Notification&) { action(); });
    };
    click(m_ui->min_btn, [this] { showMinimized(); });
    click(m_ui->exit_btn, [this] { close_to_tray(); });
    click(m_ui->logo_btn, [this] { open_website(); });
    click(m_ui->main_menu_btn, [this] { open_main_menu(); });
    // A name still being typed is taken before any button of the profile bar or Apply acts,
    // whether the button took the focus from the name field or not.
    const auto after_rename = [this](std::function<void()> action) {
        return [this, action = std::move(action)] {
            m_profileBar->rename();
            action();
        };
    };
    click(m_ui->btn_add_profile, after_rename([this] { m_profileBar->add(); }));
    click(m_ui->btn_delete_profile, after_rename([this] { m_profileBar->remove(); }));
    click(m_ui->btn_reset_profile, after_rename([this] { m_profileBar->reset(); }));
    click(m_ui->btn_apply, after_rename([this] { post_apply(); }));
    click(m_ui->btn_menu_profile, after_rename([this] {
              const QWidget* button = m_ui->btn_menu_profile;
              open_menu("profilemenu.xml", button->mapToGlobal(QPoint(0, button->height())));
          }));
    connect(m_ui->edit_profile_name, &QLineEdit::returnPressed, this,
            [this] { m_profileBar->rename(); });
    on(m_ui->profile_combo, "itemselect",
       [this](const ui::Notification& n) { m_profileBar->on_item_select(n.wparam); });
    on(m_ui->edit_profile_name, "killfocus",
       [this](const ui::Notification&) { m_profileBar->rename(); });

    // The section selectors: the three configuration pages share the first section.
    struct Section {
        QAbstractButton* selector;
        int outer;
        int inner; // -1: a section without inner pages
    };
    QList<QAbstractButton*> selectors;
    for (const Section section :
         {Section{m_ui->key_btn, 0, 0}, Section{m_ui->performance_btn, 0, 1},
          Section{m_ui->light_btn, 0, 2}, Section{m_ui->macro_btn, 1, -1},
          Section{m_ui->gun_btn, 2, -1}}) {
        on(section.selector, "selectchanged", [this, section](const ui::Notification&) {
            m_ui->config_tab->setCurrentIndex(section.outer);
            if (section.inner >= 0) {
                m_ui->main_tab->setCurrentIndex(section.inner);
            }
        });
        selectors.append(section.selector);
    }

    // The keyboard: Tab in reading order through the controls the pages have built, Return on
    // buttons, section keys that click the selectors. The window holds the focus itself until
    // the first Tab, so no control wears the focus mark as the window opens.
    ui::order_tab_chain(this);
    ui::click_buttons_on_return(this);
    ui::add_section_keys(this, selectors);
    setFocus(Qt::OtherFocusReason);
}

void CMainWnd::close_to_tray() {
    // Without a tray a hidden window could only come back through a second launch.
    if (CTrayIcon::available()) {
        hide();
    } else {
        request_exit();
    }
}

void CMainWnd::open_website() {
    const QString site = ui::Texts::text("website_text");
    if (!site.isEmpty()) {
        QDesktopServices::openUrl(QUrl(site));
    }
}

ui::PopupMenu& CMainWnd::make_menu(const QString& layout) {
    m_menu.reset(); // at most one of our menus is open
    m_menu = std::make_unique<ui::PopupMenu>(
        to_qstring(m_options.folders.program / kMenuFolderName) + "/" + layout, this);
    m_menu->on_chosen = [this](const QString& item) {
        // Run after the menu has closed: an item may open a dialog or end the program.
        QTimer::singleShot(0, this, [this, item] { dispatch_menu(item); });
    };
    return *m_menu;
}

void CMainWnd::open_menu(const QString& layout, QPoint anchor) {
    make_menu(layout).open(anchor);
}

void CMainWnd::open_main_menu() {
    ui::PopupMenu& menu = make_menu("mainmenu.xml");
    std::error_code ignored; // an entry that cannot be read is not one of ours: not ticked
    menu.set_checked(
        QStringLiteral("autostart"),
        read_autostart(autostart_entry_path(xdg_config_from_process_environment()), ignored)
            .enabled);
    // Below the button with its right edge under the button's: it opens into the window.
    const QWidget* button = m_ui->main_menu_btn;
    const QPoint corner = button->mapToGlobal(QPoint(button->width(), button->height()));
    const int width = menu.menu() != nullptr ? menu.menu()->sizeHint().width() : 0;
    menu.open(QPoint(corner.x() - width, corner.y()));
}

void CMainWnd::toggle_autostart() {
    const std::filesystem::path entry = autostart_entry_path(xdg_config_from_process_environment());
    std::error_code error;
    const AutostartStatus status = read_autostart(entry, error);
    if (status.present && !status.ours) {
        tell(ui::Texts::text("autostart_foreign_text").arg(to_qstring(entry)));
        return;
    }
    if (status.enabled) {
        error = disable_autostart(entry);
    } else {
        const std::filesystem::path program = executable_path(error);
        if (!error) {
            error =
                enable_autostart(entry, program, ui::Texts::text("mouse_name_text").toStdString());
        }
    }
    if (error) {
        tell(ui::Texts::text("autostart_failed_text")
                 .arg(to_qstring(entry), QString::fromStdString(error.message())));
    }
}

void CMainWnd::show_about() {
    show_busy_cover();
    CAboutWnd box({QString::fromLatin1(kVersion), licence_text(kLicense),
                   to_qstring(m_data.folders().data), to_qstring(m_data.folders().program)},
                  this);
    box.show_modal();
    hide_busy_cover();
}

void CMainWnd::dispatch_menu(const QString& item_name) {
    switch (menu_command(item_name)) {
    case MenuCommand::Configuration:
        show_or_warn();
        break;
    case MenuCommand::Exit:
        request_exit();
        break;
    case MenuCommand::ImportProfile:
        m_profileBar->import_profile();
        break;
    case MenuCommand::ExportProfile:
        m_profileBar->export_profile();
        break;
    case MenuCommand::RenameMacroDir:
        m_macroPage.rename_macro_dir();
        break;
    case MenuCommand::ImportMacroDir:
        m_macroPage.import_macro_dir();
        break;
    case MenuCommand::ExportMacroDir:
        m_macroPage.export_macro_dir();
        break;
    case MenuCommand::ExportLockedMacroDir:
        m_macroPage.export_pw_macro_dir();
        break;
    case MenuCommand::RenameMacro:
        m_macroPage.rename_macro();
        break;
    case MenuCommand::ImportMacro:
        m_macroPage.import_macro();
        break;
    case MenuCommand::ExportMacro:
        m_macroPage.export_macro();
        break;
    case MenuCommand::ExportLockedMacro:
        m_macroPage.export_pw_macro();
        break;
    case MenuCommand::RenameGunDir:
        m_gunPage.rename_gun_dir();
        break;
    case MenuCommand::ImportGunDir:
        m_gunPage.import_gun_dir();
        break;
    case MenuCommand::ExportGunDir:
        m_gunPage.export_gun_dir();
        break;
    case MenuCommand::ExportLockedGunDir:
        m_gunPage.export_pw_gun_dir();
        break;
    case MenuCommand::RenameGun:
        m_gunPage.rename_gun();
        break;
    case MenuCommand::ImportGun:
        m_gunPage.import_gun();
        break;
    case MenuCommand::ExportGun:
        m_gunPage.export_gun();
        break;
    case MenuCommand::ExportLockedGun:
        m_gunPage.export_pw_gun();
        break;
    case MenuCommand::Autostart:
        toggle_autostart();
        break;
    case MenuCommand::About:
        show_about();
        break;
    case MenuCommand::ButtonFunction:
        m_buttonPage.assign_function(item_name);
        break;
    }
    // A command may have changed the profile: the mark follows it at once.
    show_apply_mark();
}

bool CMainWnd::eventFilter(QObject* watched, QEvent* event) {
    // The frameless window moves by its header; the window manager does the dragging.
    if (watched == m_ui->header_hor && event->type() == QEvent::MouseButtonPress) {
        const auto* press = static_cast<QMouseEvent*>(event);
        if (press->button() == Qt::LeftButton && windowHandle() != nullptr) {
            windowHandle()->startSystemMove();
            return true;
        }
    }
    return QWidget::eventFilter(watched, event);
}

void CMainWnd::closeEvent(QCloseEvent* event) {
    // A close is never refused: before the program ends (the tray menu's "exit", the end of
    // the session) Qt closes every window, and a refusal would cancel the end. An accepted
    // close only hides the window, so with a tray the program lives on there (the last
    // window closing does not quit); without one, closing the window ends it.
    event->accept();
    if (!CTrayIcon::available()) {
        request_exit();
    }
}

} // namespace zemrak::app
