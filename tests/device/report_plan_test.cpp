#include "device/report_plan.h"
#include "model/config_defaults.h"
#include "model/sensors.h"
#include "test_support/device_fakes.h"

#include <gtest/gtest.h>

namespace zemrak {
namespace {

using test::EventLog;
using test::RecordingPause;
using test::RecordingWriter;

ConfigBlock default_profile() {
    ConfigBlock block;
    fill_defaults(block, kSensor3327);
    return block;
}

ConfigBlock profile_with_two_macros() {
    ConfigBlock block = default_profile();
    for (const std::size_t record : {std::size_t{3}, std::size_t{5}}) {
        block.button(record).set_function_code(22);
        block.button(record).set_action_count(1);
        MacroAction press;
        press.set_kind(MacroAction::Press);
        press.set_code(4);
        press.set_delay(10);
        block.button(record).set_action(0, press);
    }
    return block;
}

// Only the kind of each event and, for command reports, the announce byte.
std::vector<std::string> shape(const std::vector<std::string>& events) {
    std::vector<std::string> out;
    for (const std::string& e : events) {
        if (e.starts_with("cmd")) {
            out.push_back(e.substr(0, e.find(' ')) + " " + e.substr(e.find(' ') + 11, 2));
        } else {
            out.push_back(e.substr(0, e.find(' ')));
        }
    }
    return out;
}

TEST(ReportPlan, ProfileWithoutMacrosIsModeSensitivityAndColours) {
    const auto steps = plan_reports(default_profile(), DeviceParams{});
    ASSERT_EQ(3u, steps.size());
    EXPECT_FALSE(steps[0].data) << "the mode report stands alone";
    EXPECT_EQ(make_announcement(kAnnounceSensitivity), steps[1].command);
    EXPECT_EQ(make_announcement(kAnnounceColours), steps[2].command);
    ASSERT_TRUE(steps[1].data && steps[2].data);
    EXPECT_EQ(0, (*steps[1].data)[0]) << "data reports carry report ID 0";
}

TEST(ReportPlan, MacroPagesComeBetweenModeAndSensitivityInButtonOrder) {
    const auto steps = plan_reports(profile_with_two_macros(), DeviceParams{});
    ASSERT_EQ(5u, steps.size());
    EXPECT_EQ(make_announcement(0x02), steps[1].command);
    EXPECT_EQ(make_announcement(0x03), steps[2].command);
    EXPECT_EQ(make_announcement(kAnnounceSensitivity), steps[3].command);
    // Both pages hold the same press: loop count 0, then the press with its code.
    EXPECT_EQ(0x05, (*steps[1].data)[3]);
    EXPECT_EQ(0x04, (*steps[1].data)[4]);
}

TEST(SendReports, EverySuccessfulWriteIsFollowedByTheReportPause) {
    EventLog log;
    RecordingWriter writer(log);
    RecordingPause pause(log);
    const auto steps = plan_reports(profile_with_two_macros(), DeviceParams{});
    const SendResult result = send_reports(steps, writer, pause);
    EXPECT_TRUE(result.ok());
    EXPECT_EQ(9u, result.written);
    const std::vector<std::string> expected = {
        "cmd 00", "pause",  "cmd 02", "pause", "data",  "pause",  "cmd 03", "pause", "data",
        "pause",  "cmd 04", "pause",  "data",  "pause", "cmd 05", "pause",  "data",  "pause"};
    EXPECT_EQ(expected, shape(log.events())) << "the mode report's byte 5 is 0";
}

TEST(SendReports, FailedAnnouncementSkipsItsDataButNotTheNextPage) {
    EventLog log;
    RecordingWriter writer(log);
    RecordingPause pause(log);
    // Write 1 is the announcement of macro page 0.
    writer.fail = [](const std::string&, std::size_t index) { return index == 1; };
    const SendResult result =
        send_reports(plan_reports(profile_with_two_macros(), {}), writer, pause);
    EXPECT_EQ(1u, result.failed);
    EXPECT_EQ(1u, result.skipped);
    EXPECT_EQ(7u, result.written);
    EXPECT_FALSE(result.ok());
    const auto got = shape(log.events());
    ASSERT_GE(got.size(), 5u);
    EXPECT_EQ("cmd! 02", got[2]) << "no pause after a failed write";
    EXPECT_EQ("cmd 03", got[3]) << "the next page is announced at once";
}

TEST(SendReports, FailedDataReportDoesNotStopTheLaterReports) {
    EventLog log;
    RecordingWriter writer(log);
    RecordingPause pause(log);
    writer.fail = [](const std::string& channel, std::size_t) { return channel == "data"; };
    const SendResult result = send_reports(plan_reports(default_profile(), {}), writer, pause);
    EXPECT_EQ(2u, result.failed);
    EXPECT_EQ(3u, result.written);
    const std::vector<std::string> expected = {"cmd 00", "pause",  "cmd 04", "pause",
                                               "data!",  "cmd 05", "pause",  "data!"};
    EXPECT_EQ(expected, shape(log.events()));
}

} // namespace
} // namespace zemrak
