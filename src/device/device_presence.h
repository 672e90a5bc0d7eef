#pragma once

#include "device/hid_channels.h"
#include "device/hid_writer.h"

#include <atomic>
#include <chrono>
#include <cstdint>
#include <functional>

namespace zemrak {

// Whether the mouse can be written to. The values are those the program has always stored.
enum class DeviceState : std::int32_t {
    NotConnected = 0, // the channels could not be opened at start-up
    Connected = 1,
    Removed = 2, // removed since start-up
};

// Follows the mouse's arrival and removal and keeps its channels open while it is there.
// start() and on_presence() run on one thread (the device link's worker); state() may be
// read from any thread.
class DevicePresence {
public:
    // The wait between an arrival notice and opening the channels: the device needs it to
    // finish setting up its interfaces.
    static constexpr std::chrono::milliseconds kArrivalSettle{500};

    struct Hooks {
        std::function<void()> arrived; // after the channels were opened on arrival
        std::function<void()> removed; // after the channels were closed on removal
    };

    DevicePresence(HidChannels& channels, Pause& pause, Hooks hooks);

    // Opens the command channel and, only when that worked, the data channel. Connected
    // when both opened, NotConnected otherwise.
    DeviceState start();

    // A presence notice from the device monitor. Repeated notices (one per interface of the
    // mouse) change nothing.
    void on_presence(PresenceNotice notice);

    [[nodiscard]] DeviceState state() const { return m_state.load(); }

private:
    HidChannels& m_channels;
    Pause& m_pause;
    Hooks m_hooks;
    std::atomic<DeviceState> m_state{DeviceState::NotConnected};
};

} // namespace zemrak
