#include "platform/pointer_settings_backend.h"

#include "platform/pointer_settings_gnome.h"
#include "platform/pointer_settings_kde.h"
#include "platform/pointer_settings_noop.h"

#include <algorithm>
#include <cstdlib>

namespace zemrak {
namespace {

bool equals_ignoring_case(std::string_view a, std::string_view b) {
    const auto lower = [](char c) {
        return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
    };
    return std::ranges::equal(a, b, [&](char x, char y) { return lower(x) == lower(y); });
}

bool names_desktop(std::string_view desktops, std::string_view name) {
    while (true) {
        const std::size_t colon = desktops.find(':');
        if (equals_ignoring_case(desktops.substr(0, colon), name)) {
            return true;
        }
        if (colon == std::string_view::npos) {
            return false;
        }
        desktops.remove_prefix(colon + 1);
    }
}

} // namespace

PointerBackendKind choose_pointer_backend(std::string_view current_desktop,
                                          bool gnome_schema_installed) {
    if (names_desktop(current_desktop, "KDE")) {
        return PointerBackendKind::kde;
    }
    return gnome_schema_installed && names_desktop(current_desktop, "GNOME")
               ? PointerBackendKind::gnome
               : PointerBackendKind::none;
}

bool session_is_wayland(const char* session_type, const char* wayland_display) {
    if (session_type != nullptr && session_type[0] != '\0') {
        return std::string_view(session_type) == "wayland";
    }
    return wayland_display != nullptr && wayland_display[0] != '\0';
}

std::unique_ptr<PointerSettingsBackend> make_pointer_settings_backend() {
    const char* desktop = std::getenv("XDG_CURRENT_DESKTOP");
    const std::string_view desktops = desktop != nullptr ? desktop : "";
    switch (choose_pointer_backend(desktops, gnome_mouse_schema_installed())) {
    case PointerBackendKind::kde:
        return std::make_unique<KdePointerSettings>(
            user_config_folder(),
            session_is_wayland(std::getenv("XDG_SESSION_TYPE"), std::getenv("WAYLAND_DISPLAY")),
            make_kde_dbus_session());
    case PointerBackendKind::gnome:
        return std::make_unique<GnomePointerSettings>();
    case PointerBackendKind::none:
        break;
    }
    return std::make_unique<NoopPointerSettings>();
}

} // namespace zemrak
