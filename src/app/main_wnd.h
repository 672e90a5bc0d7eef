#pragma once

#include "app/profile_bar.h"
#include "device/apply_worker.h"
#include "device/device_presence.h"
#include "device/hid_library.h"
#include "macros/macro_library.h"
#include "macros/macro_page.h"
#include "model/device_params.h"
#include "model/profile_store.h"
#include "pages/buttons/button_page.h"
#include "pages/lighting/light_page.h"
#include "pages/page_host.h"
#include "pages/performance/performance_page.h"
#include "platform/folders.h"
#include "platform/pointer_settings.h"
#include "recoil/gun_page.h"
#include "recoil/recoil_library.h"
#include "ui/notification.h"

#include <QWidget>
#include <filesystem>
#include <memory>

namespace Ui {
class CMainWnd;
}

namespace zemrak::ui {
class BusyCover;
class BusyRing;
class NotifyRouter;
class PopupMenu;
} // namespace zemrak::ui

namespace zemrak::app {

class CTrayIcon;

// How the program was started.
struct MainWndOptions {
    Folders folders;
    // The HID library named by the user ($ZEMRAK_HID_LIBRARY); empty for the program's own.
    std::filesystem::path hid_library;
};

// The main window: header, section selectors, the pages, the profile bar and the apply
// button; it owns the profile store, the HID library, the device presence, the apply worker
// and the tray icon.
class CMainWnd final : public QWidget, public pages::PageHost {
    Q_OBJECT
public:
    explicit CMainWnd(MainWndOptions options);
    ~CMainWnd() override;

    // The whole start-up, in order: device settings and factory image, icon, language,
    // controls, tray icon, pages, apply worker, HID library, then the stored profiles.
    void initialise();

    [[nodiscard]] DeviceState device_state() const;
    // True when the virtual mouse stands in for a mouse that was not found.
    [[nodiscard]] bool using_virtual_mouse() const { return m_virtualMouse; }
    // No apply is queued or running.
    [[nodiscard]] bool apply_idle() const { return m_appliesPending == 0; }

    // Brings the window to the front when the mouse is connected, else warns (once at a time).
    void show_or_warn();
    void bring_to_front();
    void no_device_warning();
    // The item chosen in any pop-up menu.
    void dispatch_menu(const QString& item_name);
    // Redraws the button, performance and light pages from the current profile.
    void refresh_pages();
    // Queues an apply of the current profile.
    void post_apply();
    // Ends the program (the tray menu's "exit").
    void request_exit();

    [[nodiscard]] ProfileStore& store() { return m_store; }
    [[nodiscard]] MacroLibrary& macros() { return m_macros; }
    [[nodiscard]] RecoilLibrary& recoils() { return m_recoils; }

    // What the pages use of the window.
    [[nodiscard]] QWidget* host_window() override { return this; }
    void show_busy_cover() override;
    void hide_busy_cover() override;
    [[nodiscard]] const DeviceParams& device_params() const override { return m_params; }
    [[nodiscard]] pages::CButtonPage& button_page() { return m_buttonPage; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    void on_notify(const ui::Notification& notification);
    void on_click(const QString& sender);
    void switch_tabs(const QString& selector);
    void open_menu(const QString& layout, QPoint anchor);
    void load_hid_library();
    void start_apply_worker();
    void on_apply_finished(const ApplyOutcome& outcome);
    void show_notice(const QString& text);
    void report_library_load(const LibraryLoad& load, const char* file);
    [[nodiscard]] bool confirm(const char* message_key);
    void inform(const char* message_key);
    [[nodiscard]] ui::CNotifyPump* page_named(const QString& name);
    [[nodiscard]] QString tray_tool_tip() const;

    MainWndOptions m_options;
    std::unique_ptr<Ui::CMainWnd> m_ui;
    DeviceParams m_params;
    ProfileStore m_store;
    MacroLibrary m_macros;
    RecoilLibrary m_recoils;

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
    std::unique_ptr<CTrayIcon> m_tray;

    // The device link. The worker is declared last so that it stops before what it uses goes.
    class Writer;
    std::unique_ptr<Writer> m_writer;
    SleepingPause m_pause;
    std::unique_ptr<PointerSettingsBackend> m_pointer;
    std::unique_ptr<HidLibrary> m_library;
    std::unique_ptr<DevicePresence> m_presence;
    bool m_virtualMouse = false;
    bool m_warningOpen = false;
    int m_appliesPending = 0;
    std::unique_ptr<ApplyWorker> m_worker;
};

} // namespace zemrak::app
