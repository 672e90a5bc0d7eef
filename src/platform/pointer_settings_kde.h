#pragma once
// Pointer settings of the KDE Plasma desktop, stored where Plasma's own mouse settings keep
// them and announced so that the running session takes them at once:
//
// - double-click time and wheel lines: kdeglobals, group [KDE], keys DoubleClickInterval (ms)
//   and WheelScrollLines, which every KDE and Qt program of the session reads;
// - pointer motion on X11: kcminputrc, group [Mouse], keys XLbInptAccelProfileFlat and
//   XLbInptPointerAcceleration, which Plasma's mouse module hands to the X server's libinput
//   driver (at login, and when it is run again);
// - pointer motion on Wayland: KWin's input devices (D-Bus service org.kde.KWin, objects
//   /org/kde/KWin/InputDevice/<sysName>, interface org.kde.KWin.InputDevice, properties
//   pointerAccelerationProfileFlat or pointerAccelerationProfileAdaptive and
//   pointerAcceleration) for every mouse KWin drives; KWin applies them and stores them in
//   kcminputrc's [Libinput][vendor][product][name] groups itself.
//
// After the files are written the session is told through org.kde.KGlobalSettings.notifyChange
// (settings changed, mouse) on /KGlobalSettings, which KDE programs and KWin listen to, and
// org.kde.kconfig.notify.ConfigChanged on /<file name> for the keys changed.

#include "platform/kconfig_file.h"
#include "platform/pointer_settings.h"

#include <filesystem>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace zemrak {

// What the backend asks of the running Plasma session: one implementation talks D-Bus, tests
// record the calls.
class KdeSession {
public:
    virtual ~KdeSession() = default;

    // Broadcasts org.kde.KGlobalSettings.notifyChange(3, 0): the mouse settings changed.
    virtual void announce_mouse_settings() = 0;
    // Broadcasts org.kde.kconfig.notify.ConfigChanged for `keys` of `group` in the
    // configuration file named `file` (such as "kdeglobals").
    virtual void announce_config_change(std::string_view file, std::string_view group,
                                        std::span<const KConfigEntry> keys) = 0;
    // The sysNames (such as "event7") of the mice KWin drives on Wayland: pointers that are not
    // touchpads. Nothing when KWin does not answer.
    [[nodiscard]] virtual std::optional<std::vector<std::string>> kwin_mice() = 0;
    // Sets one KWin mouse's acceleration profile (flat or adaptive) and then its pointer
    // acceleration (-1..1). False when KWin refused or did not answer.
    virtual bool set_kwin_mouse_motion(const std::string& sys_name, bool flat,
                                       double acceleration) = 0;
    // Has Plasma's mouse module apply kcminputrc's [Mouse] group to the running X server.
    virtual void reapply_x11_mouse() = 0;
};

// The session bus of the running desktop through GLib's GDBus; `kcminit kcm_mouse` for the X
// server. Without a session bus every call does nothing (and kwin_mice() gives nothing).
[[nodiscard]] std::unique_ptr<KdeSession> make_kde_dbus_session();

// Plasma's pointer acceleration (-1..1, 0 its default) for a pointer speed 1..20: the straight
// line (speed - 10) / 10, so the neutral speed 10 gives 0, 20 gives 1 and 1 gives -0.9, the
// same scale as GNOME's, since both hand it to libinput. Speeds outside 0..20 are clamped.
// The acceleration profile is flat with enhance precision off (a constant ratio to the mouse
// motion) and adaptive with it on (libinput's acceleration of fast movements).
[[nodiscard]] double kde_pointer_acceleration(std::int32_t speed);

// The text KDE's configuration files hold for a pointer acceleration: the shortest decimal
// that reads back as the same number ("-0.9", "0", "1").
[[nodiscard]] std::string kde_number_text(double value);

// Writes to the files in `config_folder` ($XDG_CONFIG_HOME or ~/.config) and to `session`:
// - double-click time: clamped to kMinDoubleClickMs..kMaxDoubleClickMs;
// - wheel: lines per notch, at least 1; Plasma has no page-per-notch setting, so
//   kScrollOnePage leaves the wheel as it is;
// - pointer motion: as described at the top of this file, on X11 or Wayland as `wayland` says.
// support(): everything, except pointer motion on Wayland when KWin did not answer when the
// object was made. Files are changed in place of the keys named, every other key and group of
// the user's files staying as it was; a file that cannot be written is skipped. Use one object
// from one thread.
class KdePointerSettings final : public PointerSettingsBackend {
public:
    KdePointerSettings(std::filesystem::path config_folder, bool wayland,
                       std::unique_ptr<KdeSession> session);

    [[nodiscard]] PointerSupport support() const override;
    void set_double_click_time(std::uint32_t ms) override;
    void set_pointer_motion(const PointerMotion& motion) override;
    void set_wheel_scroll(std::uint32_t lines_or_page) override;

private:
    void store(std::string_view file, std::string_view group,
               std::span<const KConfigEntry> entries);

    std::filesystem::path m_folder;
    bool m_wayland;
    bool m_kwinAnswered = false;
    std::unique_ptr<KdeSession> m_session;
};

// The folder of the user's configuration files: $XDG_CONFIG_HOME when it is an absolute path,
// otherwise $HOME/.config; empty when neither is known.
[[nodiscard]] std::filesystem::path user_config_folder();

} // namespace zemrak
