#include "device/hid_library.h"
#include "device/report_types.h"
#include "test_support/temp_dir.h"
#include "test_support/virtual_mouse.h"

#include <atomic>
#include <cstdlib>
#include <dlfcn.h>
#include <fstream>
#include <regex>

#include <gtest/gtest.h>

namespace zemrak {
namespace {

class VirtualMouseTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(m_library->usable()) << m_library->error();
        ASSERT_NE(nullptr, m_controls.set_plugged);
        m_controls.set_plugged(1);
        m_controls.fail_writes(0);
        ::setenv("ZEMRAK_VIRTUAL_MOUSE_LOG", (m_dir / "writes.log").c_str(), 1);
    }
    void TearDown() override { ::unsetenv("ZEMRAK_VIRTUAL_MOUSE_LOG"); }

    std::vector<std::string> log_lines() const {
        std::ifstream in(m_dir / "writes.log");
        std::vector<std::string> lines;
        for (std::string line; std::getline(in, line);) {
            lines.push_back(line);
        }
        return lines;
    }

    test::TempDir m_dir;
    std::unique_ptr<HidLibrary> m_library = HidLibrary::load(ZEMRAK_VIRTUAL_MOUSE_PATH);
    test::VirtualMouseControls m_controls;
};

TEST(HidLibraryPath, EnvironmentNamesAnotherLibrary) {
    EXPECT_EQ(std::filesystem::path("/opt/zm/libzemrak-hid.so"),
              hid_library_path("/opt/zm", nullptr));
    EXPECT_EQ(std::filesystem::path("/opt/zm/libzemrak-hid.so"), hid_library_path("/opt/zm", ""));
    EXPECT_EQ(std::filesystem::path("/x/other.so"), hid_library_path("/opt/zm", "/x/other.so"));
}

TEST(HidLibrary, MissingLibraryOrEntryPointIsAMouseNeverConnected) {
    for (const char* file : {"/nonexistent/libzemrak-hid.so", "libm.so.6"}) {
        const auto library = HidLibrary::load(file);
        EXPECT_FALSE(library->usable()) << file;
        EXPECT_FALSE(library->error().empty());
        library->set_identity(0x04D9, 0xA09F);
        library->open_monitor([](PresenceNotice) { FAIL() << "no monitor without a library"; });
        EXPECT_FALSE(library->open_command());
        EXPECT_FALSE(library->open_data());
        const CommandReport report = make_command_report();
        EXPECT_FALSE(library->write_command(report));
    }
    EXPECT_NE(std::string::npos, HidLibrary::load("libm.so.6")->error().find("SetHIDFeature"));
}

TEST_F(VirtualMouseTest, WritesReachTheLogWithChannelAndBytes) {
    m_library->set_identity(0x04D9, 0xA09F);
    ASSERT_TRUE(m_library->open_command());
    ASSERT_TRUE(m_library->open_data());
    EXPECT_TRUE(m_library->write_command(make_announcement(kAnnounceColours)));
    Payload payload{};
    payload[63] = 0x7E;
    EXPECT_TRUE(m_library->write_data(make_data_report(payload)));

    const auto lines = log_lines();
    ASSERT_EQ(2u, lines.size());
    EXPECT_TRUE(std::regex_match(lines[0], std::regex("[0-9]+ cmd 01aa000000050000"))) << lines[0];
    EXPECT_TRUE(std::regex_match(lines[1], std::regex("[0-9]+ data 00(00){63}7e"))) << lines[1];
}

TEST_F(VirtualMouseTest, UnplugNotifiesAndMakesWritesFailUntilReopened) {
    std::vector<PresenceNotice> notices;
    m_library->open_monitor([&notices](PresenceNotice notice) { notices.push_back(notice); });
    ASSERT_TRUE(m_library->open_command());
    m_controls.set_plugged(0);
    EXPECT_FALSE(m_library->write_command(make_command_report()));
    EXPECT_FALSE(m_library->open_command()) << "nothing to open while unplugged";
    m_controls.set_plugged(1);
    EXPECT_FALSE(m_library->write_command(make_command_report())) << "channel still closed";
    ASSERT_TRUE(m_library->open_command());
    EXPECT_TRUE(m_library->write_command(make_command_report()));
    EXPECT_EQ((std::vector{PresenceNotice::removed, PresenceNotice::arrived}), notices);
    EXPECT_EQ(1u, log_lines().size()) << "refused writes leave no line";
}

TEST_F(VirtualMouseTest, FailedWritesAreCountedDown) {
    ASSERT_TRUE(m_library->open_command());
    m_controls.fail_writes(2);
    EXPECT_FALSE(m_library->write_command(make_command_report()));
    EXPECT_FALSE(m_library->write_command(make_command_report()));
    EXPECT_TRUE(m_library->write_command(make_command_report()));
}

} // namespace
} // namespace zemrak
