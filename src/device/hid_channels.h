#pragma once

namespace zemrak {

// What a device monitor reports of the mouse.
enum class PresenceNotice {
    removed,
    arrived,
};

// Opening and closing the mouse's two feature-report channels.
class HidChannels {
public:
    virtual ~HidChannels() = default;
    // True when the command channel is open.
    [[nodiscard]] virtual bool open_command() = 0;
    // True when the data channel is open.
    [[nodiscard]] virtual bool open_data() = 0;
    virtual void close_command() = 0;
    virtual void close_data() = 0;
};

} // namespace zemrak
