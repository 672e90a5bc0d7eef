#include "device/apply_worker.h"
#include "model/sensors.h"
#include "test_support/device_fakes.h"
#include "test_support/temp_dir.h"

#include <atomic>
#include <thread>

#include <gtest/gtest.h>

namespace zemrak {
namespace {

using test::EventLog;

// Sleeps for real, so that an apply takes long enough for the test to edit during it.
class ShortPause final : public Pause {
public:
    void pause(std::chrono::milliseconds) override {
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
};

class ApplyWorkerTest : public ::testing::Test {
protected:
    void SetUp() override { static_cast<void>(m_store.load_all(kSensor3327, u"Profile")); }

    std::unique_ptr<ApplyWorker> make_worker(Pause& pause) {
        return std::make_unique<ApplyWorker>(
            ApplyServices{m_writer, pause, m_pointer, m_params},
            [this] { return take_apply_snapshot(m_store); }, m_store.profiles().last_applied(),
            ApplyWorker::Hooks{[this](bool busy) { m_log.add(busy ? "busy" : "idle"); },
                               [this](const ApplyOutcome& outcome) {
                                   m_failed += outcome.reports.failed;
                                   m_superseded += outcome.profiles_superseded ? 1 : 0;
                                   ++m_finished;
                               }});
    }

    test::TempDir m_dir;
    ProfileStore m_store{folders_in(m_dir.path())};
    EventLog m_log;
    test::RecordingWriter m_writer{m_log};
    test::RecordingPause m_pause{m_log};
    test::RecordingPointerBackend m_pointer{m_log};
    DeviceParams m_params;
    std::atomic<int> m_finished{0};
    std::atomic<std::size_t> m_failed{0};
    std::atomic<int> m_superseded{0};
};

TEST_F(ApplyWorkerTest, QueuedAppliesRunOneAfterTheOtherEachWithItsOwnSnapshot) {
    {
        auto worker = make_worker(m_pause);
        m_store.profiles().current()->set_light_mode(4);
        worker->request_apply();
        m_store.profiles().current()->set_light_mode(7);
        worker->request_apply();
    } // the destructor finishes the queue
    EXPECT_EQ(2, m_finished.load());
    std::vector<std::string> marks;
    std::vector<std::string> modes;
    for (const auto& e : m_log.events()) {
        if (e == "busy" || e == "idle") {
            marks.push_back(e);
        } else if (e.starts_with("cmd 01aa") && e.substr(14, 2) == "00") {
            modes.push_back(e.substr(8, 2)); // byte 2: the light mode
        }
    }
    EXPECT_EQ((std::vector<std::string>{"busy", "idle", "busy", "idle"}), marks);
    EXPECT_EQ((std::vector<std::string>{"04", "07"}), modes);
}

TEST_F(ApplyWorkerTest, TasksRunInTurnWithAppliesAndNeverApply) {
    {
        auto worker = make_worker(m_pause);
        worker->run_on_worker([this] { m_log.add("task 1"); });
        worker->request_apply();
        worker->run_on_worker([this] { m_log.add("task 2"); });
    }
    EXPECT_EQ(1, m_finished.load()) << "a task is no apply";
    const auto events = m_log.events();
    ASSERT_GE(events.size(), 4u);
    EXPECT_EQ("task 1", events.front());
    EXPECT_EQ("busy", events[1]);
    EXPECT_EQ("idle", events[events.size() - 2]);
    EXPECT_EQ("task 2", events.back());
}

TEST_F(ApplyWorkerTest, NoCurrentProfileQueuesNoApply) {
    m_store.profiles().clear();
    {
        auto worker = make_worker(m_pause);
        EXPECT_FALSE(worker->request_apply());
    }
    EXPECT_EQ(0, m_finished.load());
    EXPECT_TRUE(m_log.events().empty());
}

TEST_F(ApplyWorkerTest, FailedWritesAreReportedBack) {
    m_writer.fail = [](const std::string&, std::size_t) { return true; };
    {
        auto worker = make_worker(m_pause);
        worker->request_apply();
    }
    EXPECT_EQ(1, m_finished.load());
    EXPECT_EQ(3u, m_failed.load());
}

// Holds the worker in its first pause until the test lets it go on.
class GatePause final : public Pause {
public:
    void pause(std::chrono::milliseconds) override { m_open.wait(false); }
    void open() {
        m_open = true;
        m_open.notify_all();
    }

private:
    std::atomic<bool> m_open{false};
};

TEST_F(ApplyWorkerTest, AListSavedWhileAnApplyRunsIsNotOverwrittenByIt) {
    ProfileList& profiles = m_store.profiles();
    profiles.append(profiles.factory_image()).set_name(u"Two");
    profiles.append(profiles.factory_image()).set_name(u"Three");
    GatePause gate;
    {
        auto worker = make_worker(gate);
        ASSERT_TRUE(worker->request_apply()); // takes the three profiles
        // Meanwhile the window deletes one and saves the list at once.
        profiles.remove(1);
        ASSERT_FALSE(m_store.save_profiles());
        gate.open();
    }
    EXPECT_EQ(1, m_finished.load());
    EXPECT_EQ(1, m_superseded.load());
    EXPECT_EQ(2 * ConfigBlock::kSize, test::read_bytes(m_store.profiles_file()).size())
        << "the deleted profile must not come back";

    // An apply taken after that save writes its own list again.
    {
        auto worker = make_worker(m_pause);
        ASSERT_TRUE(worker->request_apply());
    }
    EXPECT_EQ(1, m_superseded.load());
    EXPECT_EQ(2 * ConfigBlock::kSize, test::read_bytes(m_store.profiles_file()).size());
}

// Run under ThreadSanitizer in CI: the worker must never read the record being edited.
TEST_F(ApplyWorkerTest, EditsDuringAnApplyDoNotRaceWithIt) {
    ShortPause pause;
    auto worker = make_worker(pause);
    constexpr int kApplies = 3;
    for (int i = 0; i < kApplies; ++i) {
        worker->request_apply();
    }
    ConfigBlock& live = *m_store.profiles().current();
    const ConfigBlock before = live;
    std::int32_t value = 0;
    ConfigBlock expected = live;
    while (m_finished.load() < kApplies) {
        live.set_light_brightness(value++ % 11);
        live.set_stage_dpi_code(static_cast<std::size_t>(value % 8), value % 80);
        live.button(static_cast<std::size_t>(value % 16)).set_function_code(1);
        // The same edits on a record no apply ever sees.
        expected.set_light_brightness((value - 1) % 11);
        expected.set_stage_dpi_code(static_cast<std::size_t>(value % 8), value % 80);
        expected.button(static_cast<std::size_t>(value % 16)).set_function_code(1);
    }
    worker.reset();
    EXPECT_EQ(kApplies, m_finished.load());
    ASSERT_GT(value, 0) << "the edits ran while the applies did";
    EXPECT_TRUE(live == expected) << "no edit made during the applies was lost or undone";
    EXPECT_FALSE(live == before);
}

} // namespace
} // namespace zemrak
