#include "platform/hook_library.h"

#include "platform/evdev_keys.h"
#include "platform/symbol_lookup.h"

#include <dlfcn.h>
#include <utility>

namespace zemrak {

using HookNotify = void (*)(void*, unsigned, unsigned long, long);

struct HookLibrary::EntryPoints {
    void (*installhook)(HookNotify, void*) = nullptr;
    void (*removehook)() = nullptr;
    void (*enablehook)(int) = nullptr;
    void (*installmousehook)(HookNotify, void*) = nullptr;
    void (*removemousehook)() = nullptr;
    void (*enablemousehook)(int) = nullptr;
    void (*mouse_move_hook)() = nullptr; // looked up so that an incomplete library is refused
    int (*hookavailable)() = nullptr;
};

std::filesystem::path hook_library_path(const std::filesystem::path& libraries,
                                        const char* variable_value) {
    if (variable_value != nullptr && *variable_value != '\0') {
        return variable_value;
    }
    return libraries / kHookLibraryFileName;
}

HookLibrary::HookLibrary() : m_entries(std::make_unique<EntryPoints>()) {}

std::unique_ptr<HookLibrary> HookLibrary::load(const std::filesystem::path& file,
                                               std::string& error) {
    // Never closed: the library's thread may outlive a binding.
    void* handle = ::dlopen(file.c_str(), RTLD_NOW | RTLD_LOCAL);
    if (handle == nullptr) {
        const char* reason = ::dlerror();
        error = reason != nullptr ? reason : "cannot load " + file.string();
        return nullptr;
    }
    std::unique_ptr<HookLibrary> library(new HookLibrary());
    EntryPoints& e = *library->m_entries;
    std::string missing;
    bool all = true;
    all &= resolve_symbol(handle, "installhook", e.installhook, missing);
    all &= resolve_symbol(handle, "removehook", e.removehook, missing);
    all &= resolve_symbol(handle, "enablehook", e.enablehook, missing);
    all &= resolve_symbol(handle, "installmousehook", e.installmousehook, missing);
    all &= resolve_symbol(handle, "removemousehook", e.removemousehook, missing);
    all &= resolve_symbol(handle, "enablemousehook", e.enablemousehook, missing);
    all &= resolve_symbol(handle, "MouseMoveHook", e.mouse_move_hook, missing);
    all &= resolve_symbol(handle, "hookavailable", e.hookavailable, missing);
    if (!all) {
        error = file.string() + " lacks " + missing;
        return nullptr;
    }
    return library;
}

HookLibrary::~HookLibrary() {
    remove(InputDevice::keyboard);
    remove(InputDevice::mouse);
}

bool HookLibrary::devices_readable() const {
    return m_entries->hookavailable() != 0;
}

HookLibrary::Sink& HookLibrary::sink_of(InputDevice device) {
    return device == InputDevice::keyboard ? m_keyboard : m_mouse;
}

void HookLibrary::install(InputDevice device, Sink sink) {
    {
        const std::lock_guard lock(m_mutex);
        sink_of(device) = std::move(sink);
    }
    if (device == InputDevice::keyboard) {
        m_entries->installhook(&HookLibrary::on_event, this);
        m_entries->enablehook(1);
        m_keyboardInstalled = true;
    } else {
        m_entries->installmousehook(&HookLibrary::on_event, this);
        m_entries->enablemousehook(1);
        m_mouseInstalled = true;
    }
}

void HookLibrary::remove(InputDevice device) {
    // The library returns once no call of ours is running, so the sink can go after it.
    if (device == InputDevice::keyboard && m_keyboardInstalled) {
        m_entries->removehook();
        m_keyboardInstalled = false;
    } else if (device == InputDevice::mouse && m_mouseInstalled) {
        m_entries->removemousehook();
        m_mouseInstalled = false;
    }
    const std::lock_guard lock(m_mutex);
    sink_of(device) = nullptr;
}

void HookLibrary::enable(InputDevice device, bool on) {
    if (device == InputDevice::keyboard) {
        m_entries->enablehook(on ? 1 : 0);
    } else {
        m_entries->enablemousehook(on ? 1 : 0);
    }
}

void HookLibrary::on_event(void* context, unsigned message, unsigned long wparam, long lparam) {
    auto* self = static_cast<HookLibrary*>(context);
    Sink sink;
    {
        const std::lock_guard lock(self->m_mutex);
        sink = message == kKeyboardMessage ? self->m_keyboard : self->m_mouse;
    }
    if (sink) {
        sink(InputEvent{message, wparam, lparam});
    }
}

} // namespace zemrak
