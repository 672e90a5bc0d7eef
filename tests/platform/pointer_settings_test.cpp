#include "device/pointer_change.h"
#include "model/config_defaults.h"
#include "model/sensors.h"
#include "platform/pointer_settings.h"
#include "platform/pointer_settings_backend.h"
#include "platform/pointer_settings_noop.h"

#include <limits>
#include <sstream>
#include <string>
#include <vector>

#include <gtest/gtest.h>

namespace zemrak {
namespace {

constexpr std::int32_t kSensor = kSensor3325;

ConfigBlock default_profile() {
    ConfigBlock block;
    fill_defaults(block, kSensor);
    return block;
}

// Writes each call down as text, so that a test can check both values and order.
class RecordingBackend final : public PointerSettingsBackend {
public:
    [[nodiscard]] PointerSupport support() const override { return {}; }
    void set_double_click_time(std::uint32_t ms) override {
        calls.push_back("double-click " + std::to_string(ms));
    }
    void set_pointer_motion(const PointerMotion& motion) override {
        calls.push_back(std::string("motion ") +
                        (motion.enhance_precision ? "enhanced " : "flat ") +
                        std::to_string(motion.speed));
    }
    void set_wheel_scroll(std::uint32_t lines_or_page) override {
        calls.push_back("wheel " + std::to_string(lines_or_page));
    }

    std::vector<std::string> calls;
};

std::vector<std::string> apply(const ConfigBlock& current, const ConfigBlock& last_applied) {
    RecordingBackend backend;
    apply_pointer_settings(pointer_settings_change(current, last_applied), backend);
    return backend.calls;
}

TEST(PointerSettingsChange, AnApplyRightAfterLoadChangesNothing) {
    const ConfigBlock loaded = default_profile();
    const ConfigBlock copy = loaded;
    EXPECT_TRUE(pointer_settings_change(loaded, copy).empty());
    EXPECT_TRUE(apply(loaded, copy).empty());
}

TEST(PointerSettingsChange, PageScrollAloneSetsOnlyTheWheel) {
    const ConfigBlock before = default_profile();
    ConfigBlock paged = before;
    paged.set_page_scroll(1);
    EXPECT_EQ((std::vector<std::string>{"wheel 4294967295"}), apply(paged, before));
    // Clearing it again sends the stored line count.
    EXPECT_EQ((std::vector<std::string>{"wheel 3"}), apply(before, paged));

    // A new line count while paging still scrolls a page; a negative one scrolls nothing.
    ConfigBlock more_lines = paged;
    more_lines.set_wheel_lines(7);
    EXPECT_EQ(kScrollOnePage, pointer_settings_change(more_lines, paged).wheel_scroll);
    ConfigBlock negative = before;
    negative.set_wheel_lines(-4);
    EXPECT_EQ(0U, pointer_settings_change(negative, before).wheel_scroll);
}

TEST(PointerSettingsChange, MotionCarriesBothHalvesWhenEitherChanges) {
    const ConfigBlock before = default_profile(); // speed level 6, enhance off
    ConfigBlock enhanced = before;
    enhanced.set_enhance_precision(1);
    EXPECT_EQ((std::vector<std::string>{"motion enhanced 10"}), apply(enhanced, before));

    ConfigBlock faster = enhanced;
    faster.set_pointer_speed(11);
    EXPECT_EQ((std::vector<std::string>{"motion enhanced 20"}), apply(faster, enhanced));
    faster.set_enhance_precision(0);
    EXPECT_EQ((std::vector<std::string>{"motion flat 20"}), apply(faster, enhanced));
}

TEST(PointerSettingsChange, EverythingChangedIsAppliedInOrder) {
    const ConfigBlock before = default_profile();
    ConfigBlock after = before;
    // Set in the reverse of the order in which they must reach the desktop.
    after.set_page_scroll(1);
    after.set_enhance_precision(1);
    after.set_pointer_speed(3);
    after.set_double_click_level(2);
    EXPECT_EQ(
        (std::vector<std::string>{"double-click 760", "motion enhanced 4", "wheel 4294967295"}),
        apply(after, before));
}

TEST(PointerSettingsValues, DoubleClickTimeFollowsTheLevelWithinASaneRange) {
    EXPECT_EQ(550U, double_click_time_ms(5));
    EXPECT_EQ(830U, double_click_time_ms(1));
    EXPECT_EQ(130U, double_click_time_ms(11));
    EXPECT_EQ(900U, double_click_time_ms(0));
    // Levels whose time would fall below 100 ms, to zero or below, all give 100 ms.
    EXPECT_EQ(kMinDoubleClickMs, double_click_time_ms(12));
    EXPECT_EQ(kMinDoubleClickMs, double_click_time_ms(13));
    EXPECT_EQ(kMinDoubleClickMs, double_click_time_ms(std::numeric_limits<std::int32_t>::max()));
    EXPECT_EQ(kMaxDoubleClickMs, double_click_time_ms(std::numeric_limits<std::int32_t>::min()));
}

TEST(PointerSettingsValues, SpeedLevelsMapOntoTheDesktopScale) {
    const std::vector<std::int32_t> expected{1, 2, 4, 6, 8, 10, 12, 14, 16, 18, 20};
    for (std::int32_t level = 1; level <= 11; ++level) {
        EXPECT_EQ(expected[static_cast<std::size_t>(level - 1)], system_pointer_speed(level))
            << "level " << level;
    }
    for (const std::int32_t outside : {0, -1, 12, std::numeric_limits<std::int32_t>::min()}) {
        EXPECT_EQ(10, system_pointer_speed(outside)) << "level " << outside;
    }
}

TEST(PointerBackendChoice, GnomeOnlyWhenTheSessionNamesItAndTheSchemaIsThere) {
    for (const char* desktop :
         {"GNOME", "gnome", "ubuntu:GNOME", "GNOME-Classic:GNOME", ":GNOME:"}) {
        EXPECT_EQ(PointerBackendKind::gnome, choose_pointer_backend(desktop, true)) << desktop;
        EXPECT_EQ(PointerBackendKind::none, choose_pointer_backend(desktop, false)) << desktop;
    }
    for (const char* desktop : {"", "GNOME-Flashback", "X-Cinnamon", "XGNOME:XFCE", ":"}) {
        EXPECT_EQ(PointerBackendKind::none, choose_pointer_backend(desktop, true)) << desktop;
    }
}

TEST(PointerBackendChoice, KdeWhenTheSessionNamesIt) {
    for (const char* desktop : {"KDE", "kde", "XGNOME:KDE", "KDE:GNOME"}) {
        EXPECT_EQ(PointerBackendKind::kde, choose_pointer_backend(desktop, true)) << desktop;
        EXPECT_EQ(PointerBackendKind::kde, choose_pointer_backend(desktop, false)) << desktop;
    }
    for (const char* desktop : {"KDE-Neon", "LXQt", "XKDE"}) {
        EXPECT_EQ(PointerBackendKind::none, choose_pointer_backend(desktop, false)) << desktop;
    }
    EXPECT_TRUE(session_is_wayland("wayland", nullptr));
    EXPECT_FALSE(session_is_wayland("x11", "wayland-0")) << "the session type decides";
    EXPECT_TRUE(session_is_wayland(nullptr, "wayland-0"));
    EXPECT_TRUE(session_is_wayland("", "wayland-0"));
    EXPECT_FALSE(session_is_wayland(nullptr, ""));
}

TEST(PointerNoopBackend, SaysOnceThatNothingIsApplied) {
    std::ostringstream notices;
    NoopPointerSettings backend(notices);
    EXPECT_EQ((PointerSupport{kPointerOtherDesktop, kPointerOtherDesktop, kPointerOtherDesktop}),
              backend.support());
    EXPECT_EQ("", notices.str()) << "nothing said before anything is asked";
    backend.set_double_click_time(550);
    backend.set_pointer_motion(PointerMotion{true, 12});
    backend.set_wheel_scroll(3);
    EXPECT_EQ("zemrak-mouse: pointer settings are not applied on this desktop\n", notices.str());
}

} // namespace
} // namespace zemrak
