#include "device/pointer_change.h"
#include "model/config_defaults.h"
#include "model/sensors.h"
#include "platform/pointer_settings_gnome.h"

#include <cstdlib>
#include <memory>
#include <string>
#include <utility>

#include <gtest/gtest.h>

namespace zemrak {
namespace {

struct ObjectUnref {
    void operator()(gpointer object) const { g_object_unref(object); }
};
struct Free {
    void operator()(gpointer memory) const { g_free(memory); }
};
using Settings = std::unique_ptr<GSettings, ObjectUnref>;

// Runs against the installed schemas with GSettings' in-memory store, so the tests neither
// need a desktop session nor touch the user's settings. The store is shared by every GSettings
// object of the process, which lets a second object read back what the backend wrote.
class PointerGnome : public ::testing::Test {
protected:
    static void SetUpTestSuite() { ::setenv("GSETTINGS_BACKEND", "memory", 1); }

    void SetUp() override {
        ASSERT_TRUE(gnome_mouse_schema_installed()) << "gsettings-desktop-schemas is missing";
        m_reader.reset(g_settings_new(kGnomeMouseSchema));
        for (const char* key : {"speed", "accel-profile", "double-click"}) {
            g_settings_reset(m_reader.get(), key);
        }
    }

    [[nodiscard]] double speed() const { return g_settings_get_double(m_reader.get(), "speed"); }
    [[nodiscard]] std::string accel_profile() const {
        const std::unique_ptr<gchar, Free> nick(
            g_settings_get_string(m_reader.get(), "accel-profile"));
        return nick.get();
    }
    [[nodiscard]] int double_click() const {
        return g_settings_get_int(m_reader.get(), "double-click");
    }

    Settings m_reader;
};

TEST_F(PointerGnome, SpeedMapsLinearlyOntoTheDesktopRange) {
    GnomePointerSettings backend;
    ASSERT_TRUE(backend.available());
    const std::pair<std::int32_t, double> cases[] = {{1, -0.9}, {10, 0.0},   {15, 0.5}, {20, 1.0},
                                                     {0, -1.0}, {-30, -1.0}, {45, 1.0}};
    for (const auto& [system_speed, desktop_speed] : cases) {
        backend.set_pointer_motion(PointerMotion{false, system_speed});
        EXPECT_DOUBLE_EQ(desktop_speed, speed()) << "speed " << system_speed;
    }
}

TEST_F(PointerGnome, EnhancePrecisionChoosesTheAccelerationProfile) {
    GnomePointerSettings backend;
    g_settings_set_string(m_reader.get(), "accel-profile", "adaptive");
    backend.set_pointer_motion(PointerMotion{true, 10});
    EXPECT_EQ("default", accel_profile());
    backend.set_pointer_motion(PointerMotion{false, 10});
    EXPECT_EQ("flat", accel_profile());
}

TEST_F(PointerGnome, DoubleClickTimeIsClampedToASaneRange) {
    GnomePointerSettings backend;
    const std::pair<std::uint32_t, int> cases[] = {{550, 550}, {130, 130},   {10, 100},
                                                   {0, 100},   {5000, 5000}, {0xFFFFFFFF, 5000}};
    for (const auto& [ms, stored] : cases) {
        backend.set_double_click_time(ms);
        EXPECT_EQ(stored, double_click()) << ms << " ms";
    }
}

TEST_F(PointerGnome, AProfileChangeReachesTheDesktop) {
    ConfigBlock before;
    fill_defaults(before, kSensor3325);
    ConfigBlock after = before;
    after.set_double_click_level(6);
    after.set_pointer_speed(11);
    after.set_enhance_precision(1);
    g_settings_set_string(m_reader.get(), "accel-profile", "flat");

    GnomePointerSettings backend;
    apply_pointer_settings(pointer_settings_change(after, before), backend);
    EXPECT_EQ(480, double_click());
    EXPECT_DOUBLE_EQ(1.0, speed());
    EXPECT_EQ("default", accel_profile());
}

// GNOME has a double-click time and pointer motion of its own, but no lines per wheel notch.
TEST_F(PointerGnome, ReportsTheWheelAsLeftAlone) {
    const GnomePointerSettings backend;
    EXPECT_EQ((PointerSupport{"", "", kPointerNoWheelSetting}), backend.support());
}

} // namespace
} // namespace zemrak
