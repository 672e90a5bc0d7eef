#pragma once
// Recording stand-ins for the mouse, the report pause and the desktop's pointer settings.
// Each appends what happens to one shared event log, so tests can check the order of steps.

#include "device/hid_channels.h"
#include "device/hid_writer.h"
#include "platform/hid_nodes.h"
#include "platform/pointer_settings.h"

#include <chrono>
#include <functional>
#include <mutex>
#include <string>
#include <vector>

namespace zemrak::test {

// A thread-safe list of events such as "cmd 01aa..." or "pause 20".
class EventLog {
public:
    void add(std::string event);
    [[nodiscard]] std::vector<std::string> events() const;

private:
    mutable std::mutex m_mutex;
    std::vector<std::string> m_events;
};

// Records every write as "cmd <hex>" or "data <hex>". A write fails when `fail` says so;
// failed writes are recorded as "cmd! <hex>" / "data! <hex>".
class RecordingWriter final : public HidWriter {
public:
    explicit RecordingWriter(EventLog& log) : m_log(log) {}
    std::function<bool(const std::string& channel, std::size_t write_index)> fail;

    [[nodiscard]] bool write_command(std::span<const std::uint8_t, kCommandReportSize> r) override;
    [[nodiscard]] bool write_data(std::span<const std::uint8_t, kDataReportSize> r) override;

private:
    bool record(const std::string& channel, std::span<const std::uint8_t> bytes);
    EventLog& m_log;
    std::size_t m_writes = 0;
};

class RecordingPause final : public Pause {
public:
    explicit RecordingPause(EventLog& log) : m_log(log) {}
    void pause(std::chrono::milliseconds duration) override;

private:
    EventLog& m_log;
};

class RecordingChannels final : public HidChannels {
public:
    explicit RecordingChannels(EventLog& log) : m_log(log) {}
    bool command_opens = true;
    bool data_opens = true;
    [[nodiscard]] bool open_command() override;
    [[nodiscard]] bool open_data() override;
    void close_command() override;
    void close_data() override;

private:
    EventLog& m_log;
};

class RecordingPointerBackend final : public PointerSettingsBackend {
public:
    explicit RecordingPointerBackend(EventLog& log) : m_log(log) {}
    [[nodiscard]] PointerSupport support() const override { return {}; }
    void set_double_click_time(std::uint32_t ms) override;
    void set_pointer_motion(const PointerMotion& motion) override;
    void set_wheel_scroll(std::uint32_t lines_or_page) override;

private:
    EventLog& m_log;
};

// Answers with the nodes a test sets.
class FakeHidNodeProbe final : public HidNodeProbe {
public:
    [[nodiscard]] std::vector<HidNodeAccess> nodes(std::uint32_t, std::uint32_t) override {
        const std::lock_guard lock(m_mutex);
        return m_nodes;
    }
    void set_nodes(std::vector<HidNodeAccess> nodes) {
        const std::lock_guard lock(m_mutex);
        m_nodes = std::move(nodes);
    }

private:
    std::mutex m_mutex;
    std::vector<HidNodeAccess> m_nodes;
};

} // namespace zemrak::test
