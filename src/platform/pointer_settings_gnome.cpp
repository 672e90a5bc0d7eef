#include "platform/pointer_settings_gnome.h"

#include <algorithm>

namespace zemrak {
namespace {

constexpr const char* kDoubleClickKey = "double-click";
constexpr const char* kAccelProfileKey = "accel-profile";
constexpr const char* kSpeedKey = "speed";

struct VariantUnref {
    void operator()(GVariant* value) const { g_variant_unref(value); }
};
struct SchemaUnref {
    void operator()(GSettingsSchema* schema) const { g_settings_schema_unref(schema); }
};
struct SchemaKeyUnref {
    void operator()(GSettingsSchemaKey* key) const { g_settings_schema_key_unref(key); }
};

GSettingsSchema* lookup_mouse_schema() {
    GSettingsSchemaSource* source = g_settings_schema_source_get_default();
    if (source == nullptr) {
        return nullptr;
    }
    return g_settings_schema_source_lookup(source, kGnomeMouseSchema, TRUE);
}

} // namespace

bool gnome_mouse_schema_installed() {
    const std::unique_ptr<GSettingsSchema, SchemaUnref> schema(lookup_mouse_schema());
    return schema != nullptr;
}

double gnome_mouse_speed(std::int32_t speed) {
    return std::clamp((static_cast<double>(speed) - 10.0) / 10.0, -1.0, 1.0);
}

const char* gnome_accel_profile(bool enhance_precision) {
    return enhance_precision ? "default" : "flat";
}

GnomePointerSettings::GnomePointerSettings() : m_schema(lookup_mouse_schema()) {
    if (m_schema) {
        m_settings.reset(g_settings_new_full(m_schema.get(), nullptr, nullptr));
        // Held back until commit(), so that acceleration and speed reach the desktop as one
        // change instead of the pointer briefly running with a new profile at the old speed.
        g_settings_delay(m_settings.get());
    }
}

PointerSupport GnomePointerSettings::support() const {
    const auto has_key = [this](const char* key) {
        return m_schema && g_settings_schema_has_key(m_schema.get(), key) != FALSE;
    };
    PointerSupport support;
    if (!has_key(kDoubleClickKey)) {
        support.double_click = kPointerNoSuchSetting;
    }
    // Speed alone is still worth writing when a schema lacks the profile, and the other way.
    if (!has_key(kSpeedKey) && !has_key(kAccelProfileKey)) {
        support.motion = kPointerNoSuchSetting;
    }
    support.wheel = kPointerNoWheelSetting;
    return support;
}

void GnomePointerSettings::set_double_click_time(std::uint32_t ms) {
    const std::uint32_t clamped = std::clamp(ms, kMinDoubleClickMs, kMaxDoubleClickMs);
    if (write(kDoubleClickKey, g_variant_new_int32(static_cast<gint32>(clamped)))) {
        commit();
    }
}

void GnomePointerSettings::set_pointer_motion(const PointerMotion& motion) {
    const bool profile_written = write(
        kAccelProfileKey, g_variant_new_string(gnome_accel_profile(motion.enhance_precision)));
    const bool speed_written =
        write(kSpeedKey, g_variant_new_double(gnome_mouse_speed(motion.speed)));
    if (profile_written || speed_written) {
        commit();
    }
}

void GnomePointerSettings::set_wheel_scroll(std::uint32_t /*lines_or_page*/) {
    // GNOME has no desktop-wide scroll amount: nothing to write.
}

void GnomePointerSettings::commit() {
    g_settings_apply(m_settings.get());
    // Without this the store may still be writing when the program quits.
    g_settings_sync();
}

bool GnomePointerSettings::write(const char* key, GVariant* value) {
    const std::unique_ptr<GVariant, VariantUnref> owned(g_variant_ref_sink(value));
    if (!m_settings || g_settings_schema_has_key(m_schema.get(), key) == FALSE) {
        return false;
    }
    const std::unique_ptr<GSettingsSchemaKey, SchemaKeyUnref> schema_key(
        g_settings_schema_get_key(m_schema.get(), key));
    // A schema of another version may have changed the key's type or values; checking first
    // keeps GSettings from refusing the write with a critical warning.
    if (g_variant_is_of_type(owned.get(), g_settings_schema_key_get_value_type(schema_key.get())) ==
            FALSE ||
        g_settings_schema_key_range_check(schema_key.get(), owned.get()) == FALSE) {
        return false;
    }
    return g_settings_set_value(m_settings.get(), key, owned.get()) != FALSE;
}

} // namespace zemrak
