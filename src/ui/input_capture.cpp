#include "ui/input_capture.h"

#include "ui/window_input_source.h"

namespace zemrak::ui {

InputCapture::InputCapture(SystemLoader load_system, QObject* parent)
    : QObject(parent), m_loadSystem(std::move(load_system)), m_window(new WindowInputSource(this)) {
}

InputCapture::~InputCapture() {
    remove(InputDevice::keyboard);
    remove(InputDevice::mouse);
}

SystemInputSource* InputCapture::system() {
    if (!m_systemTried) {
        m_systemTried = true;
        if (m_loadSystem) {
            m_system = m_loadSystem();
        }
    }
    return m_system.get();
}

InputCapture::Hook& InputCapture::hook_of(InputDevice device) {
    return m_hooks.at(device == InputDevice::keyboard ? 0 : 1);
}

CaptureScope InputCapture::scope() {
    SystemInputSource* library = system();
    return library != nullptr && library->devices_readable() ? CaptureScope::system_wide
                                                             : CaptureScope::window_only;
}

bool InputCapture::library_without_devices() {
    SystemInputSource* library = system();
    return library != nullptr && !library->devices_readable();
}

void InputCapture::install(InputDevice device, Sink sink) {
    remove(device);
    Hook& hook = hook_of(device);
    hook.sink = std::move(sink);
    hook.enabled = true;
    const std::uint64_t generation = ++hook.generation;
    if (scope() == CaptureScope::system_wide) {
        hook.source = m_system.get();
        // The library calls on its own thread: the event travels to the UI thread, where it
        // counts only if its hook is still the one installed.
        hook.source->install(device, [this, device, generation](const InputEvent& event) {
            QMetaObject::invokeMethod(
                this, [this, device, generation, event] { deliver(device, generation, event); },
                Qt::QueuedConnection);
        });
    } else {
        hook.source = m_window;
        hook.source->install(device, [this, device, generation](const InputEvent& event) {
            deliver(device, generation, event);
        });
    }
}

void InputCapture::remove(InputDevice device) {
    Hook& hook = hook_of(device);
    if (hook.source != nullptr) {
        hook.source->remove(device);
    }
    hook.source = nullptr;
    hook.sink = nullptr;
    hook.enabled = false;
    ++hook.generation;
}

void InputCapture::enable(InputDevice device, bool on) {
    Hook& hook = hook_of(device);
    hook.enabled = on;
    if (hook.source != nullptr) {
        hook.source->enable(device, on);
    }
}

void InputCapture::deliver(InputDevice device, std::uint64_t generation, const InputEvent& event) {
    Hook& hook = hook_of(device);
    if (hook.generation != generation || !hook.enabled || !hook.sink) {
        return;
    }
    const Sink sink = hook.sink; // the sink may remove its own hook
    sink(event);
}

} // namespace zemrak::ui
