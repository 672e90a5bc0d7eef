#include "test_support/device_fakes.h"

#include "model/byte_io.h"

namespace zemrak::test {

void EventLog::add(std::string event) {
    const std::lock_guard lock(m_mutex);
    m_events.push_back(std::move(event));
}

std::vector<std::string> EventLog::events() const {
    const std::lock_guard lock(m_mutex);
    return m_events;
}

bool RecordingWriter::record(const std::string& channel, std::span<const std::uint8_t> bytes) {
    const bool failed = fail && fail(channel, m_writes);
    ++m_writes;
    m_log.add(channel + (failed ? "! " : " ") + to_hex(bytes));
    return !failed;
}

bool RecordingWriter::write_command(std::span<const std::uint8_t, kCommandReportSize> r) {
    return record("cmd", r);
}

bool RecordingWriter::write_data(std::span<const std::uint8_t, kDataReportSize> r) {
    return record("data", r);
}

void RecordingPause::pause(std::chrono::milliseconds duration) {
    m_log.add("pause " + std::to_string(duration.count()));
}

bool RecordingChannels::open_command() {
    m_log.add("open command");
    return command_opens;
}

bool RecordingChannels::open_data() {
    m_log.add("open data");
    return data_opens;
}

void RecordingChannels::close_command() {
    m_log.add("close command");
}
void RecordingChannels::close_data() {
    m_log.add("close data");
}

void RecordingPointerBackend::set_double_click_time(std::uint32_t ms) {
    m_log.add("double-click " + std::to_string(ms));
}

void RecordingPointerBackend::set_pointer_motion(const PointerMotion& motion) {
    m_log.add(std::string("motion ") + (motion.enhance_precision ? "enhanced " : "plain ") +
              std::to_string(motion.speed));
}

void RecordingPointerBackend::set_wheel_scroll(std::uint32_t lines_or_page) {
    m_log.add("wheel " + std::to_string(lines_or_page));
}

} // namespace zemrak::test
