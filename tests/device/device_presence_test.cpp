#include "device/device_presence.h"
#include "test_support/device_fakes.h"

#include <gtest/gtest.h>

namespace zemrak {
namespace {

using test::EventLog;

class DevicePresenceTest : public ::testing::Test {
protected:
    EventLog m_log;
    test::RecordingChannels m_channels{m_log};
    test::RecordingPause m_pause{m_log};
    DevicePresence m_presence{
        m_channels, m_pause, {[this] { m_log.add("arrived"); }, [this] { m_log.add("removed"); }}};

    std::vector<std::string> events_after(std::size_t from) const {
        const auto all = m_log.events();
        return {all.begin() + static_cast<std::ptrdiff_t>(from), all.end()};
    }
};

TEST_F(DevicePresenceTest, StartOpensDataChannelOnlyAfterTheCommandChannel) {
    EXPECT_EQ(DeviceState::Connected, m_presence.start());
    EXPECT_EQ((std::vector<std::string>{"open command", "open data"}), m_log.events());

    EventLog log;
    test::RecordingChannels absent(log);
    absent.command_opens = false;
    test::RecordingPause pause(log);
    DevicePresence presence(absent, pause, {});
    EXPECT_EQ(DeviceState::NotConnected, presence.start());
    EXPECT_EQ((std::vector<std::string>{"open command"}), log.events());
}

TEST_F(DevicePresenceTest, ArrivalWaitsOpensBothAndTellsWithoutWriting) {
    m_channels.command_opens = false;
    ASSERT_EQ(DeviceState::NotConnected, m_presence.start());
    m_channels.command_opens = true;
    const std::size_t mark = m_log.events().size();
    m_presence.on_presence(PresenceNotice::arrived);
    EXPECT_EQ(DeviceState::Connected, m_presence.state());
    EXPECT_EQ((std::vector<std::string>{"pause 500", "open command", "open data", "arrived"}),
              events_after(mark));
    m_presence.on_presence(PresenceNotice::arrived);
    EXPECT_EQ(4u, events_after(mark).size()) << "an arrival while connected opens nothing";
}

TEST_F(DevicePresenceTest, AnArrivalWhoseChannelsDoNotOpenIsNoConnection) {
    // A node this user may not write to: the mouse is there, the program cannot reach it.
    m_channels.data_opens = false;
    ASSERT_EQ(DeviceState::NotConnected, m_presence.start());
    const std::size_t mark = m_log.events().size();
    m_presence.on_presence(PresenceNotice::arrived);
    EXPECT_EQ(DeviceState::NotConnected, m_presence.state());
    EXPECT_EQ((std::vector<std::string>{"pause 500", "open command", "open data", "close command",
                                        "close data"}),
              events_after(mark))
        << "nothing is left half open, and the arrival is not announced";

    m_channels.data_opens = true;
    m_presence.on_presence(PresenceNotice::arrived);
    EXPECT_EQ(DeviceState::Connected, m_presence.state()) << "the next notice tries again";
}

TEST_F(DevicePresenceTest, RemovalClosesBothOnceAndTells) {
    ASSERT_EQ(DeviceState::Connected, m_presence.start());
    const std::size_t mark = m_log.events().size();
    m_presence.on_presence(PresenceNotice::removed);
    EXPECT_EQ(DeviceState::Removed, m_presence.state());
    m_presence.on_presence(PresenceNotice::removed);
    EXPECT_EQ((std::vector<std::string>{"close command", "close data", "removed"}),
              events_after(mark));
    m_presence.on_presence(PresenceNotice::arrived);
    EXPECT_EQ(DeviceState::Connected, m_presence.state()) << "removed -> connected on arrival";
}

TEST_F(DevicePresenceTest, RemovalBeforeAnyConnectionStillCounts) {
    m_channels.command_opens = false;
    ASSERT_EQ(DeviceState::NotConnected, m_presence.start());
    m_presence.on_presence(PresenceNotice::removed);
    EXPECT_EQ(DeviceState::Removed, m_presence.state());
}

} // namespace
} // namespace zemrak
