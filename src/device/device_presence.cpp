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
        // A mouse whose channels do not open (no permission, an interface not there yet) is
        // not connected: the next notice of the same mouse tries again.
        if (!m_channels.open_command() || !m_channels.open_data()) {
            m_channels.close_command();
            m_channels.close_data();
            return;
        }
        m_state = DeviceState::Connected;
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
