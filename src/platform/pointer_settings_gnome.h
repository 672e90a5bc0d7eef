#pragma once
// Pointer settings of the GNOME desktop, written through GSettings to the keys of
// org.gnome.desktop.peripherals.mouse, which the desktop applies to every mouse at once.

#include "platform/pointer_settings.h"

#include <gio/gio.h>
#include <memory>

namespace zemrak {

inline constexpr const char* kGnomeMouseSchema = "org.gnome.desktop.peripherals.mouse";

// Whether the default schema source (the installed schemas, or GSETTINGS_SCHEMA_DIR) holds
// the GNOME mouse schema.
[[nodiscard]] bool gnome_mouse_schema_installed();

// The desktop's mouse speed (-1..1, 0 its default) for a pointer speed 1..20: the straight line
// (speed - 10) / 10, so the neutral speed 10 gives 0, 20 gives 1 and 1 gives -0.9. Speeds
// outside 0..20 are clamped to -1..1.
[[nodiscard]] double gnome_mouse_speed(std::int32_t speed);

// The desktop's acceleration profile: "default" with enhance precision on (the desktop's own
// adaptive acceleration for mice), "flat" with it off (a constant ratio to the mouse motion,
// which is what turning enhance precision off means).
[[nodiscard]] const char* gnome_accel_profile(bool enhance_precision);

// Writes to org.gnome.desktop.peripherals.mouse:
// - double-click time to "double-click" (int ms), clamped to kMinDoubleClickMs..
//   kMaxDoubleClickMs, since the schema sets no range of its own;
// - pointer motion to "accel-profile" and then "speed", mapped as above;
// - the wheel not at all: GNOME has no desktop-wide lines-per-notch or page-per-notch setting,
//   each program scrolls by its own step.
// support() names the wheel as left alone, and a setting whose keys the installed schema lacks.
// A key missing from the installed schema, or a value it refuses (of another type, or outside a
// range a later schema may declare), is skipped. The writes of one call reach the settings store
// as one change and are flushed before the call returns. Use one object from one thread.
class GnomePointerSettings final : public PointerSettingsBackend {
public:
    // Opens the mouse settings of the default schema source; without the schema the object
    // writes nothing and available() is false.
    GnomePointerSettings();

    [[nodiscard]] bool available() const { return m_settings != nullptr; }

    [[nodiscard]] PointerSupport support() const override;
    void set_double_click_time(std::uint32_t ms) override;
    void set_pointer_motion(const PointerMotion& motion) override;
    void set_wheel_scroll(std::uint32_t lines_or_page) override;

private:
    struct SchemaUnref {
        void operator()(GSettingsSchema* schema) const { g_settings_schema_unref(schema); }
    };
    struct ObjectUnref {
        void operator()(gpointer object) const { g_object_unref(object); }
    };

    // Stores `value` (a new, floating variant, always consumed) under `key` when the schema
    // has the key and accepts the value; returns whether it was stored. Stored values
    // take effect at the next commit().
    bool write(const char* key, GVariant* value);
    // Hands every write since the last commit to the settings store as one change.
    void commit();

    std::unique_ptr<GSettingsSchema, SchemaUnref> m_schema;
    std::unique_ptr<GSettings, ObjectUnref> m_settings;
};

} // namespace zemrak
