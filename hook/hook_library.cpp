// libzemrak-hook.so: the keys and mouse buttons pressed anywhere on the system, for the
// shortcut dialog and the macro recorder. While a hook is installed one thread reads the
// kernel's keyboard and mouse devices (input_reader.h) and calls the hook's notify function.

#include "input_devices.h"
#include "input_reader.h"
#include "platform/evdev_keys.h"
#include "zemrak_hook.h"

#include <array>
#include <condition_variable>
#include <cstddef>
#include <libudev.h>
#include <memory>
#include <mutex>
#include <vector>

namespace {

using zemrak::hook::HookMessage;
using zemrak::hook::InputReader;

constexpr std::size_t kKeyboard = 0;
constexpr std::size_t kMouse = 1;
constexpr std::size_t kNone = 2;

// The hook whose notify function this thread is running, if any.
thread_local std::size_t t_delivering = kNone;

struct Hook {
    HookNotifyFn fn = nullptr;
    void* ctx = nullptr;
    bool enabled = true;
    unsigned running = 0; // calls of fn in progress
};

// The two hooks and the reader that feeds them: the reader runs while either hook is
// installed. Every member is guarded by m_mutex, which is never held while a notify function
// runs or while a reader is stopped, so that notify functions may install, remove and enable
// hooks themselves.
class Hooks {
public:
    // The readers lock udev_mutex() when they are destroyed, here too: made first, it goes
    // after this.
    Hooks() { static_cast<void>(zemrak::hook::udev_mutex()); }
    ~Hooks() {
        std::unique_ptr<InputReader> reader;
        std::vector<std::unique_ptr<InputReader>> retired;
        {
            const std::lock_guard lock(m_mutex);
            reader = std::move(m_reader);
            retired = std::move(m_retired);
        }
    }
    Hooks(const Hooks&) = delete;
    Hooks& operator=(const Hooks&) = delete;

    void install(std::size_t kind, HookNotifyFn fn, void* ctx) {
        // Installing again replaces the hook: the old context is free to go, as after remove.
        remove(kind);
        if (fn == nullptr) {
            return;
        }
        const std::lock_guard lock(m_mutex);
        Hook& hook = m_hooks[kind];
        hook.fn = fn;
        hook.ctx = ctx;
        hook.enabled = true;
        if (!m_reader) {
            // A reader that cannot start leaves the hook installed and silent; the next install
            // tries again.
            m_reader =
                InputReader::start([this](const InputReader& reader, const HookMessage& message) {
                    deliver(reader, message);
                });
        }
    }

    void remove(std::size_t kind) {
        std::vector<std::unique_ptr<InputReader>> stopping;
        {
            std::unique_lock lock(m_mutex);
            Hook& hook = m_hooks[kind];
            hook.fn = nullptr;
            hook.ctx = nullptr;
            hook.enabled = true;
            // Once this returns the caller may free the context, so no call may still be using
            // it; a notify function removing its own hook is the one call left.
            const unsigned own_call = t_delivering == kind ? 1U : 0U;
            m_idle.wait(lock, [&] { return hook.running <= own_call; });
            if (m_reader && m_hooks[kKeyboard].fn == nullptr && m_hooks[kMouse].fn == nullptr) {
                m_retired.push_back(std::move(m_reader));
            }
            if (InputReader::on_reader_thread()) {
                // A reader's thread cannot wait for itself: the readers are told to stop and
                // are waited for by the next call from another thread, or at unload.
                for (const auto& reader : m_retired) {
                    reader->request_stop();
                }
            } else {
                stopping = std::move(m_retired);
                m_retired.clear();
            }
        }
        stopping.clear(); // stops the threads and closes the devices
    }

    void enable(std::size_t kind, bool on) {
        const std::lock_guard lock(m_mutex);
        m_hooks[kind].enabled = on;
    }

private:
    void deliver(const InputReader& reader, const HookMessage& message) {
        const std::size_t kind = message.message == zemrak::kKeyboardMessage ? kKeyboard : kMouse;
        std::unique_lock lock(m_mutex);
        Hook& hook = m_hooks[kind];
        // A reader being stopped delivers nothing more, even to a hook installed meanwhile.
        if (m_reader.get() != &reader || hook.fn == nullptr || !hook.enabled) {
            return;
        }
        const HookNotifyFn fn = hook.fn;
        void* const ctx = hook.ctx;
        ++hook.running;
        lock.unlock();
        t_delivering = kind;
        fn(ctx, message.message, message.wparam, message.lparam);
        t_delivering = kNone;
        lock.lock();
        --hook.running;
        m_idle.notify_all();
    }

    std::mutex m_mutex;
    std::condition_variable m_idle; // a notify function returned
    std::array<Hook, 2> m_hooks;
    std::unique_ptr<InputReader> m_reader;
    std::vector<std::unique_ptr<InputReader>> m_retired; // readers to stop and wait for
};

Hooks& hooks() {
    static Hooks instance;
    return instance;
}

} // namespace

extern "C" {

void installhook(HookNotifyFn fn, void* ctx) {
    hooks().install(kKeyboard, fn, ctx);
}

void removehook(void) {
    hooks().remove(kKeyboard);
}

void enablehook(int on) {
    hooks().enable(kKeyboard, on != 0);
}

void installmousehook(HookNotifyFn fn, void* ctx) {
    hooks().install(kMouse, fn, ctx);
}

void removemousehook(void) {
    hooks().remove(kMouse);
}

void enablemousehook(int on) {
    hooks().enable(kMouse, on != 0);
}

void MouseMoveHook(void) {}

int hookavailable(void) {
    std::vector<zemrak::hook::InputNode> nodes;
    {
        const std::lock_guard lock(zemrak::hook::udev_mutex());
        const zemrak::UdevPtr context(udev_new());
        if (!context) {
            return 0;
        }
        nodes = zemrak::hook::input_nodes(context.get());
    }
    for (const zemrak::hook::InputNode& node : nodes) {
        if (zemrak::hook::InputDevice::open(node)) {
            return 1;
        }
    }
    return 0;
}

} // extern "C"
