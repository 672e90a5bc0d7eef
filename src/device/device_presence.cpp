#include "device/device_presence.h"

#include <utility>

namespace zemrak {

DevicePresence::DevicePresence(HidChannels& channels, Pause& pause, Hooks hooks)
    : m_channels(channels), m_pause(pause), m_hooks(std::move(hooks)) {}

DeviceState DevicePresence::start() {
    const bool open = m_channels.open_command() && m_channels.open_data();
    m_state = open ? DeviceState::Connected : DeviceState::NotConnected;
    return m_state;
}

void DevicePresence::on_presence(PresenceNotice notice) {
    if (notice == PresenceNotice::arrived && m_state != DeviceState::Connected) {
        m_pause.pause(kArrivalSettle);
        m_state = DeviceState::Connected;
        // The results are not needed: a channel that failed to open makes the writes of the
        // next apply fail, and that apply reports it.
        static_cast<void>(m_channels.open_command());
        static_cast<void>(m_channels.open_data());
        if (m_hooks.arrived) {
            m_hooks.arrived();
        }
    } else if (notice == PresenceNotice::removed && m_state != DeviceState::Removed) {
        m_state = DeviceState::Removed;
        m_channels.close_command();
        m_channels.close_data();
        if (m_hooks.removed) {
            m_hooks.removed();
        }
    }
}

} // namespace zemrak
