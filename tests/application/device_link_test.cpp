#include "application/device_link.h"
#include "model/sensors.h"
#include "test_support/device_fakes.h"
#include "test_support/temp_dir.h"
#include "test_support/virtual_mouse.h"

#include <atomic>
#include <condition_variable>
#include <mutex>
#include <thread>
#include <vector>

#include <gtest/gtest.h>

namespace zemrak {
namespace {

// Notes the thread each pause runs on, so a test can tell that the caller never waited.
class ThreadNotingPause final : public Pause {
public:
    void pause(std::chrono::milliseconds duration) override {
        const std::lock_guard lock(m_mutex);
        m_pauses.emplace_back(duration, std::this_thread::get_id());
    }
    [[nodiscard]] std::vector<std::pair<std::chrono::milliseconds, std::thread::id>> pauses() {
        const std::lock_guard lock(m_mutex);
        return m_pauses;
    }

private:
    std::mutex m_mutex;
    std::vector<std::pair<std::chrono::milliseconds, std::thread::id>> m_pauses;
};

class DeviceLinkTest : public ::testing::Test {
protected:
    void SetUp() override {
        static_cast<void>(m_store.load_all(kSensor3327, u"Profile"));
        ASSERT_NE(nullptr, m_mouse.set_plugged);
        m_mouse.set_plugged(1);
        m_mouse.fail_writes(0);
    }
    void TearDown() override { m_mouse.set_plugged(1); }

    std::unique_ptr<DeviceLink> make_link() {
        return std::make_unique<DeviceLink>(
            m_store, DeviceLinkServices{m_params, m_pause, m_pointer, m_nodes},
            DeviceLink::Hooks{{},
                              [this](const ApplyOutcome& outcome) {
                                  const std::lock_guard lock(m_mutex);
                                  m_outcomes.push_back(outcome);
                                  m_changed.notify_all();
                              },
                              [this](DeviceState state) {
                                  const std::lock_guard lock(m_mutex);
                                  m_presence.push_back(state);
                                  m_changed.notify_all();
                              }});
    }

    // Waits until `done` holds under the lock; false after five seconds.
    template <typename Done>
    bool wait_for(Done done) {
        std::unique_lock lock(m_mutex);
        return m_changed.wait_for(lock, std::chrono::seconds(5), done);
    }

    test::TempDir m_dir;
    ProfileStore m_store{folders_in(m_dir.path())};
    DeviceParams m_params;
    ThreadNotingPause m_pause;
    test::EventLog m_log;
    test::RecordingPointerBackend m_pointer{m_log};
    test::FakeHidNodeProbe m_nodes;
    test::VirtualMouseControls m_mouse;

    std::mutex m_mutex;
    std::condition_variable m_changed;
    std::vector<ApplyOutcome> m_outcomes;
    std::vector<DeviceState> m_presence;
};

TEST_F(DeviceLinkTest, AMissingLibraryIsAMouseThatIsNeverThereYetAppliesStillSave) {
    auto link = make_link();
    EXPECT_EQ(DeviceState::NotConnected, link->open({m_dir / "missing.so", {}}));
    EXPECT_FALSE(link->simulated()) << "a forced library is taken as it is";
    EXPECT_NE(std::string::npos, link->library_error().find("missing.so"));
    link->request_apply();
    link.reset();
    ASSERT_EQ(1u, m_outcomes.size());
    EXPECT_EQ(0u, m_outcomes[0].reports.written);
    EXPECT_TRUE(m_outcomes[0].saved());
    EXPECT_TRUE(std::filesystem::exists(m_dir / "Data" / "profile.bin"));
}

TEST_F(DeviceLinkTest, TheVirtualMouseStandsInOnlyWhenAskedTo) {
    // A folder without the real library: nothing is found there.
    std::filesystem::create_directories(m_dir / "lib");
    std::filesystem::copy_file(ZEMRAK_VIRTUAL_MOUSE_PATH, m_dir / "lib" / kVirtualMouseFileName);
    auto link = make_link();
    EXPECT_EQ(DeviceState::NotConnected, link->open({{}, m_dir / "lib"}));
    EXPECT_FALSE(link->simulated());
    EXPECT_EQ(DeviceState::Connected, link->simulate(m_dir / "lib"));
    EXPECT_TRUE(link->simulated());
    EXPECT_FALSE(link->library_error().empty()) << "the real library is still the one followed";

    auto forced = make_link();
    EXPECT_EQ(DeviceState::Connected, forced->open({ZEMRAK_VIRTUAL_MOUSE_PATH, {}}));
    EXPECT_TRUE(forced->simulated()) << "a forced virtual mouse is a simulation too";
}

// The program folder of a run where the mouse is plugged in later: its "real" library is a
// copy of the virtual mouse, a mouse of its own with its own plug, and the virtual mouse
// beside it is the one the tests control as m_mouse.
class LaterMouseTest : public DeviceLinkTest {
protected:
    void SetUp() override {
        DeviceLinkTest::SetUp();
        std::filesystem::create_directories(m_dir / "lib");
        std::filesystem::copy_file(ZEMRAK_VIRTUAL_MOUSE_PATH, m_dir / "lib" / kHidLibraryFileName);
        std::filesystem::create_symlink(ZEMRAK_VIRTUAL_MOUSE_PATH,
                                        m_dir / "lib" / kVirtualMouseFileName);
        m_real = std::make_unique<test::VirtualMouseControls>(
            (m_dir / "lib" / kHidLibraryFileName).c_str());
        ASSERT_NE(nullptr, m_real->set_plugged);
        m_real->set_plugged(0);
    }

    // Applies the current profile and waits for it; the number of outcomes so far.
    std::size_t apply_and_wait(DeviceLink& link) {
        std::size_t before = 0;
        {
            const std::lock_guard lock(m_mutex);
            before = m_outcomes.size();
        }
        EXPECT_TRUE(link.request_apply());
        EXPECT_TRUE(wait_for([&] { return m_outcomes.size() == before + 1; }));
        return before + 1;
    }

    std::unique_ptr<test::VirtualMouseControls> m_real;
};

TEST_F(LaterMouseTest, TheSimulationGivesWayToAMouseThatArrives) {
    auto link = make_link();
    ASSERT_EQ(DeviceState::NotConnected, link->open({{}, m_dir / "lib"}));
    ASSERT_EQ(DeviceState::Connected, link->simulate(m_dir / "lib"));
    const int simulated_before = m_mouse.accepted_writes();
    apply_and_wait(*link);
    EXPECT_EQ(simulated_before + 5, m_mouse.accepted_writes()) << "the simulation took it";
    EXPECT_EQ(0, m_real->accepted_writes());

    m_real->set_plugged(1);
    ASSERT_TRUE(wait_for([this] { return !m_presence.empty(); }));
    EXPECT_EQ(DeviceState::Connected, m_presence.back());
    EXPECT_FALSE(link->simulated()) << "the real mouse took over";
    apply_and_wait(*link);
    EXPECT_EQ(5, m_real->accepted_writes());
    EXPECT_EQ(simulated_before + 5, m_mouse.accepted_writes()) << "nothing more was simulated";

    m_real->set_plugged(0);
    ASSERT_TRUE(wait_for([this] { return m_presence.size() == 2; }));
    EXPECT_EQ(DeviceState::Removed, link->state()) << "the simulation does not come back by itself";
    EXPECT_FALSE(link->simulated());
}

TEST_F(LaterMouseTest, ANodeThisUserMayNotWriteToIsToldApartFromNoMouse) {
    m_nodes.set_nodes({{"/dev/hidraw7", std::make_error_code(std::errc::permission_denied)},
                       {"/dev/hidraw8", std::make_error_code(std::errc::permission_denied)}});
    auto link = make_link();
    ASSERT_EQ(DeviceState::NotConnected, link->open({{}, m_dir / "lib"}));
    const auto denied = link->access_denied();
    ASSERT_TRUE(denied.has_value());
    EXPECT_EQ("/dev/hidraw7", denied->node);

    // The rule installed, the mouse plugged in again: the link reaches it and says so.
    m_nodes.set_nodes({{"/dev/hidraw7", {}}, {"/dev/hidraw8", {}}});
    m_real->set_plugged(1);
    ASSERT_TRUE(wait_for([this] { return !m_presence.empty(); }));
    EXPECT_EQ(DeviceState::Connected, link->state());
    EXPECT_FALSE(link->access_denied().has_value());

    auto no_mouse = make_link();
    m_nodes.set_nodes({});
    m_real->set_plugged(0);
    ASSERT_EQ(DeviceState::NotConnected, no_mouse->open({{}, m_dir / "missing"}));
    EXPECT_FALSE(no_mouse->access_denied().has_value());
}

TEST_F(DeviceLinkTest, AppliesGoToTheLibraryInUseAfterASwitch) {
    auto link = make_link();
    ASSERT_EQ(DeviceState::NotConnected, link->open({m_dir / "missing.so", {}}));
    link->request_apply();
    const int before = m_mouse.accepted_writes();
    EXPECT_EQ(DeviceState::Connected,
              link->use_library(HidLibrary::load(ZEMRAK_VIRTUAL_MOUSE_PATH), true));
    EXPECT_TRUE(link->simulated());
    EXPECT_EQ(before, m_mouse.accepted_writes()) << "the apply queued before went nowhere";
    link->request_apply();
    link.reset();
    ASSERT_EQ(2u, m_outcomes.size());
    EXPECT_EQ(0u, m_outcomes[0].reports.written);
    EXPECT_EQ(5u, m_outcomes[1].reports.written);
    EXPECT_EQ(before + 5, m_mouse.accepted_writes());
}

TEST_F(DeviceLinkTest, ALibraryThatIsReplacedLetsGoOfTheMouse) {
    auto link = make_link();
    ASSERT_EQ(DeviceState::Connected, link->open({ZEMRAK_VIRTUAL_MOUSE_PATH, {}}));
    // Another binding of the same loaded library sees the channels the link holds.
    const auto other = HidLibrary::load(ZEMRAK_VIRTUAL_MOUSE_PATH);
    EXPECT_TRUE(other->write_command(make_command_report()));
    EXPECT_EQ(DeviceState::NotConnected,
              link->use_library(HidLibrary::load(m_dir / "missing.so"), false));
    EXPECT_FALSE(other->write_command(make_command_report())) << "both channels were closed";
}

TEST_F(DeviceLinkTest, ArrivalSettlesOnTheWorkerAndRemovalIsReported) {
    auto link = make_link();
    ASSERT_EQ(DeviceState::Connected, link->open({ZEMRAK_VIRTUAL_MOUSE_PATH, {}}));

    m_mouse.set_plugged(0);
    ASSERT_TRUE(wait_for([this] { return m_presence.size() == 1; }));
    EXPECT_EQ(DeviceState::Removed, m_presence[0]);
    EXPECT_EQ(DeviceState::Removed, link->state());

    m_mouse.set_plugged(1);
    ASSERT_TRUE(wait_for([this] { return m_presence.size() == 2; }));
    EXPECT_EQ(DeviceState::Connected, m_presence[1]);
    EXPECT_EQ(DeviceState::Connected, link->state());
    const auto pauses = m_pause.pauses();
    ASSERT_EQ(1u, pauses.size()) << "nothing is written on arrival, so the settle wait is all";
    EXPECT_EQ(DevicePresence::kArrivalSettle, pauses[0].first);
    EXPECT_NE(std::this_thread::get_id(), pauses[0].second)
        << "the caller's thread never waits for the mouse to settle";
    link.reset();
    EXPECT_TRUE(m_outcomes.empty()) << "arrival applies nothing";
}

} // namespace
} // namespace zemrak
