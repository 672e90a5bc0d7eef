#include "platform/pointer_settings_kde.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <cstdlib>
#include <gio/gio.h>
#include <iostream>
#include <system_error>

namespace zemrak {
namespace {

constexpr const char* kGlobalsFile = "kdeglobals";
constexpr const char* kGlobalsGroup = "KDE";
constexpr const char* kInputFile = "kcminputrc";
constexpr const char* kInputGroup = "Mouse";

// KGlobalSettings' change types and, for "settings changed", its categories.
constexpr gint32 kSettingsChanged = 3;
constexpr gint32 kSettingsMouse = 0;

constexpr const char* kKwinService = "org.kde.KWin";
constexpr const char* kKwinDevices = "/org/kde/KWin/InputDevice";
constexpr const char* kKwinManagerInterface = "org.kde.KWin.InputDeviceManager";
constexpr const char* kKwinDeviceInterface = "org.kde.KWin.InputDevice";
// A KWin that does not answer within this time is taken for absent.
constexpr gint kCallTimeoutMs = 2000;

struct ObjectUnref {
    void operator()(gpointer object) const { g_object_unref(object); }
};
struct VariantUnref {
    void operator()(GVariant* value) const { g_variant_unref(value); }
};
struct ErrorFree {
    void operator()(GError* error) const { g_error_free(error); }
};
using Variant = std::unique_ptr<GVariant, VariantUnref>;

class DbusSession final : public KdeSession {
public:
    DbusSession() : m_bus(g_bus_get_sync(G_BUS_TYPE_SESSION, nullptr, nullptr)) {}

    void announce_mouse_settings() override {
        emit("/KGlobalSettings", "org.kde.KGlobalSettings", "notifyChange",
             g_variant_new("(ii)", kSettingsChanged, kSettingsMouse));
    }

    void announce_config_change(std::string_view file, std::string_view group,
                                std::span<const KConfigEntry> keys) override {
        GVariantBuilder names;
        g_variant_builder_init(&names, G_VARIANT_TYPE("as"));
        for (const KConfigEntry& key : keys) {
            g_variant_builder_add(&names, "s", key.key.c_str());
        }
        GVariantBuilder groups;
        g_variant_builder_init(&groups, G_VARIANT_TYPE("a{sas}"));
        g_variant_builder_add(&groups, "{sas}", std::string(group).c_str(), &names);
        const std::string path = "/" + std::string(file);
        emit(path.c_str(), "org.kde.kconfig.notify", "ConfigChanged",
             g_variant_new("(a{sas})", &groups));
    }

    std::optional<std::vector<std::string>> kwin_mice() override {
        const Variant names = get_property(kKwinDevices, kKwinManagerInterface, "devicesSysNames");
        if (!names || !g_variant_is_of_type(names.get(), G_VARIANT_TYPE_STRING_ARRAY)) {
            return std::nullopt;
        }
        std::vector<std::string> mice;
        gsize count = 0;
        const gchar** list = g_variant_get_strv(names.get(), &count);
        for (gsize i = 0; i < count; ++i) {
            const std::string path = std::string(kKwinDevices) + "/" + list[i];
            if (g_variant_is_object_path(path.c_str()) == FALSE) {
                continue;
            }
            if (flag(path, "pointer") && !flag(path, "touchpad")) {
                mice.emplace_back(list[i]);
            }
        }
        g_free(static_cast<gpointer>(list));
        return mice;
    }

    bool set_kwin_mouse_motion(const std::string& sys_name, bool flat,
                               double acceleration) override {
        const std::string path = std::string(kKwinDevices) + "/" + sys_name;
        const char* profile =
            flat ? "pointerAccelerationProfileFlat" : "pointerAccelerationProfileAdaptive";
        const bool profile_set = set_property(path, profile, g_variant_new_boolean(TRUE));
        const bool speed_set =
            set_property(path, "pointerAcceleration", g_variant_new_double(acceleration));
        return profile_set && speed_set;
    }

    void reapply_x11_mouse() override {
        // Plasma's mouse module reads kcminputrc's [Mouse] group and sets the X server's
        // pointer properties; without it the values wait for the next login.
        std::array<gchar*, 3> argv{const_cast<gchar*>("kcminit"), const_cast<gchar*>("kcm_mouse"),
                                   nullptr};
        GError* error = nullptr;
        const auto flags = static_cast<GSpawnFlags>(
            G_SPAWN_SEARCH_PATH | G_SPAWN_STDOUT_TO_DEV_NULL | G_SPAWN_STDERR_TO_DEV_NULL);
        if (g_spawn_async(nullptr, argv.data(), nullptr, flags, nullptr, nullptr, nullptr,
                          &error) == FALSE) {
            const std::unique_ptr<GError, ErrorFree> owned(error);
            std::cerr << "zemrak-mouse: kcminit: " << error->message << '\n';
        }
    }

private:
    void emit(const char* path, const char* interface, const char* member, GVariant* arguments) {
        const Variant owned(g_variant_ref_sink(arguments));
        if (!m_bus) {
            return;
        }
        g_dbus_connection_emit_signal(m_bus.get(), nullptr, path, interface, member, owned.get(),
                                      nullptr);
        // The program may quit right after an apply: the signal must have left by then.
        g_dbus_connection_flush_sync(m_bus.get(), nullptr, nullptr);
    }

    Variant call(const std::string& path, const char* method, GVariant* arguments,
                 const GVariantType* reply) {
        const Variant owned(g_variant_ref_sink(arguments));
        if (!m_bus) {
            return nullptr;
        }
        return Variant(g_dbus_connection_call_sync(
            m_bus.get(), kKwinService, path.c_str(), "org.freedesktop.DBus.Properties", method,
            owned.get(), reply, G_DBUS_CALL_FLAGS_NO_AUTO_START, kCallTimeoutMs, nullptr, nullptr));
    }

    Variant get_property(const std::string& path, const char* interface, const char* name) {
        const Variant reply =
            call(path, "Get", g_variant_new("(ss)", interface, name), G_VARIANT_TYPE("(v)"));
        if (!reply) {
            return nullptr;
        }
        GVariant* value = nullptr;
        g_variant_get(reply.get(), "(v)", &value);
        return Variant(value);
    }

    bool flag(const std::string& path, const char* name) {
        const Variant value = get_property(path, kKwinDeviceInterface, name);
        return value && g_variant_is_of_type(value.get(), G_VARIANT_TYPE_BOOLEAN) &&
               g_variant_get_boolean(value.get()) != FALSE;
    }

    bool set_property(const std::string& path, const char* name, GVariant* value) {
        return call(path, "Set", g_variant_new("(ssv)", kKwinDeviceInterface, name, value),
                    nullptr) != nullptr;
    }

    std::unique_ptr<GDBusConnection, ObjectUnref> m_bus;
};

} // namespace

std::unique_ptr<KdeSession> make_kde_dbus_session() {
    return std::make_unique<DbusSession>();
}

double kde_pointer_acceleration(std::int32_t speed) {
    return std::clamp((static_cast<double>(speed) - 10.0) / 10.0, -1.0, 1.0);
}

std::string kde_number_text(double value) {
    std::array<char, 32> buffer{};
    const auto result = std::to_chars(buffer.data(), buffer.data() + buffer.size(), value);
    return {buffer.data(), result.ptr};
}

KdePointerSettings::KdePointerSettings(std::filesystem::path config_folder, bool wayland,
                                       std::unique_ptr<KdeSession> session)
    : m_folder(std::move(config_folder)), m_wayland(wayland), m_session(std::move(session)) {
    if (m_wayland) {
        m_kwinAnswered = m_session->kwin_mice().has_value();
    }
}

PointerSupport KdePointerSettings::support() const {
    PointerSupport support;
    if (m_wayland && !m_kwinAnswered) {
        support.motion = kPointerNoCompositor;
    }
    return support;
}

void KdePointerSettings::store(std::string_view file, std::string_view group,
                               std::span<const KConfigEntry> entries) {
    if (m_folder.empty()) {
        return;
    }
    if (const std::error_code error = update_kconfig_file(m_folder / file, group, entries)) {
        std::cerr << "zemrak-mouse: " << (m_folder / file).string() << ": " << error.message()
                  << '\n';
        return;
    }
    m_session->announce_config_change(file, group, entries);
    m_session->announce_mouse_settings();
}

void KdePointerSettings::set_double_click_time(std::uint32_t ms) {
    const std::uint32_t clamped = std::clamp(ms, kMinDoubleClickMs, kMaxDoubleClickMs);
    const std::array entries{KConfigEntry{"DoubleClickInterval", std::to_string(clamped)}};
    store(kGlobalsFile, kGlobalsGroup, entries);
}

void KdePointerSettings::set_wheel_scroll(std::uint32_t lines_or_page) {
    if (lines_or_page == kScrollOnePage) {
        return; // Plasma scrolls by lines only
    }
    const std::array entries{KConfigEntry{
        "WheelScrollLines", std::to_string(std::max<std::uint32_t>(lines_or_page, 1))}};
    store(kGlobalsFile, kGlobalsGroup, entries);
}

void KdePointerSettings::set_pointer_motion(const PointerMotion& motion) {
    const bool flat = !motion.enhance_precision;
    const double acceleration = kde_pointer_acceleration(motion.speed);
    if (m_wayland) {
        // Asked again each time: mice come and go, and KWin may have restarted.
        const auto mice = m_session->kwin_mice();
        for (const std::string& mouse : mice.value_or(std::vector<std::string>{})) {
            static_cast<void>(m_session->set_kwin_mouse_motion(mouse, flat, acceleration));
        }
        return;
    }
    const std::array entries{
        KConfigEntry{"XLbInptAccelProfileFlat", flat ? "true" : "false"},
        KConfigEntry{"XLbInptPointerAcceleration", kde_number_text(acceleration)}};
    store(kInputFile, kInputGroup, entries);
    m_session->reapply_x11_mouse();
}

std::filesystem::path user_config_folder() {
    const char* config = std::getenv("XDG_CONFIG_HOME");
    if (config != nullptr && config[0] == '/') {
        return config;
    }
    const char* home = std::getenv("HOME");
    if (home != nullptr && home[0] != '\0') {
        return std::filesystem::path(home) / ".config";
    }
    return {};
}

} // namespace zemrak
