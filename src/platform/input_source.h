#pragma once
// A place key and mouse-button events come from: the input library, which sees the whole
// desktop, or the program's own windows. The shortcut dialog and the macro recorder take the
// events in the form the key tables read (see platform/evdev_keys.h).

#include <functional>

namespace zemrak {

// One event: message 1280 (key) or 1281 (mouse button or wheel), with its event and detail.
struct InputEvent {
    unsigned message = 0;
    unsigned long wparam = 0;
    long lparam = 0;

    friend bool operator==(const InputEvent&, const InputEvent&) = default;
};

// What a hook listens to.
enum class InputDevice {
    keyboard,
    mouse,
};

class InputSource {
public:
    // Called with each event, on whatever thread the source uses.
    using Sink = std::function<void(const InputEvent&)>;

    virtual ~InputSource() = default;
    // Starts delivering the events of `device` to `sink`, replacing an earlier sink. Events
    // are delivered until enable(device, false).
    virtual void install(InputDevice device, Sink sink) = 0;
    // Stops the events of `device`; once this returns the sink is never called again.
    virtual void remove(InputDevice device) = 0;
    // true: events are delivered; false: they are held back (dropped) until enabled again.
    virtual void enable(InputDevice device, bool on) = 0;
};

// A source that sees the whole desktop when this user may read the input devices.
class SystemInputSource : public InputSource {
public:
    // True when at least one keyboard or mouse can be read now.
    [[nodiscard]] virtual bool devices_readable() const = 0;
};

} // namespace zemrak
