#pragma once
// Chooses where the program writes pointer settings on the running desktop.

#include "platform/pointer_settings.h"

#include <memory>
#include <string_view>

namespace zemrak {

enum class PointerBackendKind {
    gnome, // GSettings, org.gnome.desktop.peripherals.mouse
    kde,   // Plasma's configuration files and session signals
    none,  // a desktop whose pointer settings the program cannot change
};

// The backend for a desktop: KDE when `current_desktop` has an entry "KDE" (Plasma sets
// exactly that), in any case; otherwise GNOME when `current_desktop` (the colon-separated list of
// $XDG_CURRENT_DESKTOP, such as "ubuntu:GNOME") has an entry "GNOME", in any case, and the
// GNOME mouse schema is installed; otherwise none. Desktops built on GNOME name it in the list,
// while those with settings of their own (such as "GNOME-Flashback" alone, or "X-Cinnamon")
// do not read the GNOME mouse keys.
[[nodiscard]] PointerBackendKind choose_pointer_backend(std::string_view current_desktop,
                                                        bool gnome_schema_installed);

// Whether the session runs on Wayland: $XDG_SESSION_TYPE is "wayland", or it is unset and
// $WAYLAND_DISPLAY is set.
[[nodiscard]] bool session_is_wayland(const char* session_type, const char* wayland_display);

// The backend for the running session, from $XDG_CURRENT_DESKTOP and the installed schemas
// (and for KDE, whether it runs on Wayland). Never null.
[[nodiscard]] std::unique_ptr<PointerSettingsBackend> make_pointer_settings_backend();

} // namespace zemrak
