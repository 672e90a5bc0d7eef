#pragma once
// The one place the shortcut dialog and the macro recorder get keys and mouse buttons from:
// the input library when it is there and may read the devices (the whole desktop), else the
// program's own windows. Events always arrive on the UI thread, and never from both sources.

#include "platform/input_source.h"

#include <QObject>
#include <array>
#include <cstdint>
#include <functional>
#include <memory>

namespace zemrak::ui {

class WindowInputSource;

enum class CaptureScope {
    system_wide, // the input library reads the devices
    window_only, // only what reaches the program's windows
};

class InputCapture final : public QObject {
    Q_OBJECT
public:
    // Loads the input library; null when it cannot be loaded. Called once, on first use, so
    // nothing is loaded or opened before a capture is wanted.
    using SystemLoader = std::function<std::unique_ptr<SystemInputSource>()>;
    using Sink = std::function<void(const InputEvent&)>;

    explicit InputCapture(SystemLoader load_system, QObject* parent = nullptr);
    ~InputCapture() override;

    // Starts delivering the events of `device` to `sink` on the UI thread, enabled, from the
    // source scope() names; replaces an earlier hook of the same device.
    void install(InputDevice device, Sink sink);
    // Stops them; no event of `device` reaches the old sink after this, not even one that
    // was on its way.
    void remove(InputDevice device);
    // false holds events back (they are dropped) until enabled again.
    void enable(InputDevice device, bool on);

    // Where a capture installed now would come from.
    [[nodiscard]] CaptureScope scope();
    // True when the input library is there but may read no device: the user could allow it.
    [[nodiscard]] bool library_without_devices();

private:
    struct Hook {
        Sink sink;
        InputSource* source = nullptr;
        bool enabled = false;
        std::uint64_t generation = 0;
    };
    [[nodiscard]] SystemInputSource* system();
    [[nodiscard]] Hook& hook_of(InputDevice device);
    void deliver(InputDevice device, std::uint64_t generation, const InputEvent& event);

    SystemLoader m_loadSystem;
    bool m_systemTried = false;
    std::unique_ptr<SystemInputSource> m_system;
    WindowInputSource* m_window = nullptr;
    std::array<Hook, 2> m_hooks;
};

} // namespace zemrak::ui
