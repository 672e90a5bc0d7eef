#pragma once

#include "app/profile_bar.h"
#include "application/app_data.h"
#include "application/applied_profile.h"
#include "application/device_link.h"
#include "macros/macro_page.h"
#include "pages/buttons/button_page.h"
#include "pages/lighting/light_page.h"
#include "pages/page_host.h"
#include "pages/performance/performance_page.h"
#include "pages/profile_model.h"
#include "platform/folders.h"
#include "platform/hid_nodes.h"
#include "platform/language_choice.h"
#include "platform/pointer_settings.h"
#include "recoil/gun_page.h"
#include "ui/notification.h"
#include "ui/notify_pump.h"

#include <QWidget>
#include <filesystem>
#include <functional>
#include <memory>
#include <string>

namespace Ui {
class CMainWnd;
}

namespace zemrak::ui {
class InputCapture;
class BusyCover;
class BusyRing;
class NotifyRouter;
class PopupMenu;
} // namespace zemrak::ui

namespace zemrak::app {

class DataFolderWatch;

class CTrayIcon;

// How the program was started.
struct MainWndOptions {
    Folders folders;
    // The HID library named by the user ($ZEMRAK_HID_LIBRARY); empty for the program's own.
    std::filesystem::path hid_library;
    // Finds the mouse's hidraw nodes; null for the system's own.
    std::shared_ptr<HidNodeProbe> nodes;
    // Makes where pointer settings go; null for the running desktop's own.
    std::function<std::unique_ptr<PointerSettingsBackend>()> pointer_settings;
    // The language of the texts (a code such as "de"); English where it has no file.
    std::string language = std::string(kEnglish);
};

// The main window: header, section selectors, the pages, the profile bar and the apply
// button; it owns the program's data, the device link and the tray icon.
class CMainWnd final : public QWidget, public pages::PageHost, private ui::CNotifyPump {
    Q_OBJECT
public:
    explicit CMainWnd(MainWndOptions options);
    ~CMainWnd() override;

    // The whole start-up, in order: device settings and factory image, icon, language,
    // controls, tray icon, pages, apply worker, HID library, then the stored profiles.
    void initialise();

    [[nodiscard]] DeviceState device_state() const;
    // True when the virtual mouse stands in for a mouse that was not found.
    [[nodiscard]] bool using_virtual_mouse() const;
    // No apply is queued or running.
    [[nodiscard]] bool apply_idle() const { return m_appliesPending == 0; }

    // Brings the window to the front when the mouse is connected, else warns (once at a time).
    void show_or_warn();
    void bring_to_front();
    // Says why the window cannot be shown: no mouse, or a mouse this user may not write
    // to; offers to explore the program with the simulated mouse instead, and shows the
    // window when the user takes that.
    void no_device_warning();
    // The simulated mouse stands in until a real one arrives; the window shows itself.
    void explore_with_simulation();
    // True while the Apply button marks changes that the mouse does not have yet.
    [[nodiscard]] bool unapplied_changes() const;
    // The item chosen in any pop-up menu.
    void dispatch_menu(const QString& item_name);
    // Every page shows the current profile again.
    void refresh_pages();
    // Queues an apply of the current profile.
    void post_apply();
    // Ends the program (the tray menu's "exit").
    void request_exit();

    [[nodiscard]] AppData& data() { return m_data; }
    [[nodiscard]] ProfileStore& store() { return m_data.store(); }

    // What the pages use of the window.
    [[nodiscard]] QWidget* host_window() override { return this; }
    void show_busy_cover() override;
    void hide_busy_cover() override;
    [[nodiscard]] const DeviceParams& device_params() const override { return m_data.params(); }
    [[nodiscard]] pages::ProfileModel& model() override { return *m_model; }
    [[nodiscard]] ui::InputCapture& input_capture() override { return *m_capture; }
    [[nodiscard]] ui::PopupMenu& make_menu(const QString& layout) override;
    [[nodiscard]] pages::CButtonPage& button_page() { return m_buttonPage; }
    [[nodiscard]] pages::CMacroPage& macro_page() { return m_macroPage; }
    [[nodiscard]] pages::CGunPage& gun_page() { return m_gunPage; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    void on_notify(const ui::Notification& notification);
    void connect_controls();
    void close_to_tray();
    void open_website();
    void open_menu(const QString& layout, QPoint anchor);
    void open_main_menu();
    // Writes the desktop's autostart entry, or removes it when it is there; an entry the
    // program did not write is left as it is, and the user is told.
    void toggle_autostart();
    void show_about();
    void tell(const QString& text);
    void open_device_link();
    void on_apply_finished(const ApplyOutcome& outcome);
    void on_presence(DeviceState state);
    // The header's state line, the tray tool tip and the Apply mark say what is now true.
    void show_device_state();
    void show_apply_mark();
    void show_notice(const QString& text);
    // Reads again the data files another program changed (see DataFolderWatch).
    void on_data_folder_changed();
    [[nodiscard]] bool confirm(const char* message_key);
    void inform(const char* message_key);
    [[nodiscard]] ui::CNotifyPump* page_named(const QString& name);
    [[nodiscard]] QString tray_tool_tip() const;
    // The tray menu lists the profiles with the current one checked, and the tool tip names it.
    void update_tray();
    // A profile chosen in the tray menu: made current and applied, as the profile bar and the
    // Apply button do.
    void choose_profile_from_tray(int index);

    MainWndOptions m_options;
    std::unique_ptr<Ui::CMainWnd> m_ui;
    AppData m_data;
    pages::ProfileModel* m_model = nullptr;
    DataFolderWatch* m_dataWatch = nullptr;
    ui::InputCapture* m_capture = nullptr;

    pages::CButtonPage m_buttonPage;
    pages::CPerformancePage m_performancePage;
    pages::CLightPage m_lightPage;
    pages::CMacroPage m_macroPage;
    pages::CGunPage m_gunPage;

    ui::NotifyRouter* m_router = nullptr;
    ui::BusyCover* m_cover = nullptr;
    ui::BusyRing* m_ring = nullptr;
    std::unique_ptr<ProfileBar> m_profileBar;
    std::unique_ptr<ui::PopupMenu> m_menu;
    std::unique_ptr<ui::PopupMenu> m_trayMenu;
    std::unique_ptr<CTrayIcon> m_tray;

    bool m_warningOpen = false;
    int m_appliesPending = 0;
    std::unique_ptr<AppliedProfile> m_applied;
    bool m_showsSimulation = false; // what the state line showed last
    // The device link, declared last so that it stops before what it uses goes.
    SleepingPause m_pause;
    std::unique_ptr<PointerSettingsBackend> m_pointer;
    std::shared_ptr<HidNodeProbe> m_nodes;
    std::unique_ptr<DeviceLink> m_link;
};

} // namespace zemrak::app
