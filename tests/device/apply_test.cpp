#include "device/apply.h"
#include "model/sensors.h"
#include "test_support/device_fakes.h"
#include "test_support/temp_dir.h"
#include "test_support/unreadable_file.h"

#include <gtest/gtest.h>

namespace zemrak {
namespace {

using test::EventLog;

class ApplyTest : public ::testing::Test {
protected:
    void SetUp() override { static_cast<void>(m_store.load_all(kSensor3327, u"Profile")); }

    ApplyOutcome apply() {
        const auto snapshot = take_apply_snapshot(m_store);
        EXPECT_TRUE(snapshot);
        return run_apply(*snapshot, m_store.profiles().last_applied(), m_services);
    }

    std::vector<std::string> events_starting_with(const std::string& prefix) const {
        std::vector<std::string> out;
        for (const auto& e : m_log.events()) {
            if (e.starts_with(prefix)) {
                out.push_back(e);
            }
        }
        return out;
    }

    test::TempDir m_dir;
    ProfileStore m_store{folders_in(m_dir.path())};
    EventLog m_log;
    test::RecordingWriter m_writer{m_log};
    test::RecordingPause m_pause{m_log};
    test::RecordingPointerBackend m_pointer{m_log};
    DeviceParams m_params;
    ApplyServices m_services{m_writer, m_pause, m_pointer, m_params};
};

TEST_F(ApplyTest, RightAfterLoadNoPointerSettingChangesButAllReportsGo) {
    const ApplyOutcome outcome = apply();
    EXPECT_TRUE(outcome.reports.ok());
    EXPECT_TRUE(outcome.saved());
    EXPECT_EQ(5u, outcome.reports.written);
    EXPECT_TRUE(events_starting_with("double-click").empty());
    EXPECT_TRUE(events_starting_with("motion").empty());
    EXPECT_TRUE(events_starting_with("wheel").empty());
}

TEST_F(ApplyTest, PointerSettingsComeFirstAndTheCopyFollowsTheApply) {
    ConfigBlock& current = *m_store.profiles().current();
    current.set_page_scroll(1);
    current.set_double_click_level(5);
    m_store.profiles().last_applied().set_double_click_level(4);
    static_cast<void>(apply());
    const auto events = m_log.events();
    ASSERT_GE(events.size(), 3u);
    EXPECT_EQ("double-click 550", events[0]);
    EXPECT_EQ("wheel 4294967295", events[1]);
    EXPECT_TRUE(events[2].starts_with("cmd ")) << "reports after the pointer settings";
    EXPECT_EQ(current, m_store.profiles().last_applied());

    current.set_page_scroll(0);
    static_cast<void>(apply());
    EXPECT_EQ("wheel 3", events_starting_with("wheel").back()) << "the stored line count";
}

TEST_F(ApplyTest, SavesTheIndexAndEveryProfile) {
    m_store.profiles().append(m_store.profiles().factory_image());
    ASSERT_TRUE(m_store.profiles().select(1));
    static_cast<void>(apply());
    EXPECT_EQ((std::vector<std::uint8_t>{1, 0, 0, 0, 0, 0, 0, 0}),
              test::read_bytes(m_store.index_file()));
    EXPECT_EQ(2 * ConfigBlock::kSize, test::read_bytes(m_store.profiles_file()).size());
}

TEST_F(ApplyTest, FailedSavesAndWritesAreReportedWithoutStoppingTheRest) {
    m_writer.fail = [](const std::string& channel, std::size_t) { return channel == "cmd"; };
    auto snapshot = take_apply_snapshot(m_store);
    ASSERT_TRUE(snapshot);
    test::write_text(m_dir / "blocker", "");
    snapshot->index_file = m_dir / "blocker" / "Data.bin";
    const ApplyOutcome outcome =
        run_apply(*snapshot, m_store.profiles().last_applied(), m_services);
    EXPECT_EQ(3u, outcome.reports.failed);
    EXPECT_EQ(2u, outcome.reports.skipped);
    EXPECT_TRUE(outcome.index_error);
    EXPECT_FALSE(outcome.profiles_error) << "profile.bin is still saved";
}

TEST_F(ApplyTest, FilesThatCouldNotBeReadAtStartUpAreNotWrittenButTheMouseIs) {
    for (const test::Unreadable way : test::unreadable_ways()) {
        SCOPED_TRACE(test::describe(way));
        test::make_unreadable(m_store.index_file(), way);
        test::make_unreadable(m_store.profiles_file(), way);
        static_cast<void>(m_store.load_all(kSensor3327, u"Profile"));
        const ApplyOutcome outcome = apply();
        EXPECT_TRUE(outcome.reports.ok());
        EXPECT_EQ(test::unreadable_reason(way), outcome.index_error);
        EXPECT_EQ(test::unreadable_reason(way), outcome.profiles_error);
        EXPECT_TRUE(test::left_as_made(m_store.index_file(), way));
        EXPECT_TRUE(test::left_as_made(m_store.profiles_file(), way));
    }
}

} // namespace
} // namespace zemrak
