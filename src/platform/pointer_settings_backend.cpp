#include "platform/pointer_settings_backend.h"

#include "platform/pointer_settings_gnome.h"
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

bool names_gnome(std::string_view desktops) {
    while (true) {
        const std::size_t colon = desktops.find(':');
        if (equals_ignoring_case(desktops.substr(0, colon), "GNOME")) {
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
    return gnome_schema_installed && names_gnome(current_desktop) ? PointerBackendKind::gnome
                                                                  : PointerBackendKind::none;
}

std::unique_ptr<PointerSettingsBackend> make_pointer_settings_backend() {
    const char* desktop = std::getenv("XDG_CURRENT_DESKTOP");
    const std::string_view desktops = desktop != nullptr ? desktop : "";
    if (choose_pointer_backend(desktops, gnome_mouse_schema_installed()) ==
        PointerBackendKind::gnome) {
        return std::make_unique<GnomePointerSettings>();
    }
    return std::make_unique<NoopPointerSettings>();
}

} // namespace zemrak
