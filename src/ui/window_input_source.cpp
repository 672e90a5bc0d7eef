#include "ui/window_input_source.h"

#include "platform/evdev_keys.h"

#include <QApplication>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QWheelEvent>

namespace zemrak::ui {
namespace {

// X11 and Wayland both give the evdev code plus 8 as the native scan code.
constexpr quint32 kScanCodeOffset = 8;
constexpr int kNotch = 120;

// The mouse message of a Qt button going down or up; none for other buttons.
std::optional<MouseButtonMessage> button_message(Qt::MouseButton button, bool pressed) {
    const auto pick = [pressed](unsigned long down, unsigned long up, long detail) {
        return MouseButtonMessage{pressed ? down : up, detail};
    };
    switch (button) {
    case Qt::LeftButton:
        return pick(kLeftDown, kLeftUp, 0);
    case Qt::RightButton:
        return pick(kRightDown, kRightUp, 0);
    case Qt::MiddleButton:
        return pick(kMiddleDown, kMiddleUp, 0);
    case Qt::BackButton:
        return pick(kSideDown, kSideUp, kBackButton);
    case Qt::ForwardButton:
        return pick(kSideDown, kSideUp, kForwardButton);
    default:
        return std::nullopt;
    }
}

} // namespace

WindowInputSource::WindowInputSource(QObject* parent) : QObject(parent) {}

WindowInputSource::~WindowInputSource() {
    if (m_watching) {
        qApp->removeEventFilter(this);
    }
}

void WindowInputSource::install(InputDevice device, Sink sink) {
    Hook& hook = device == InputDevice::keyboard ? m_keyboard : m_mouse;
    hook.sink = std::move(sink);
    hook.enabled = true;
    watch();
}

void WindowInputSource::remove(InputDevice device) {
    Hook& hook = device == InputDevice::keyboard ? m_keyboard : m_mouse;
    hook = Hook{};
    watch();
}

void WindowInputSource::enable(InputDevice device, bool on) {
    (device == InputDevice::keyboard ? m_keyboard : m_mouse).enabled = on;
}

void WindowInputSource::watch() {
    // The application's events are looked at only while a hook is installed.
    const bool wanted = m_keyboard.sink || m_mouse.sink;
    if (wanted && !m_watching) {
        qApp->installEventFilter(this);
    } else if (!wanted && m_watching) {
        qApp->removeEventFilter(this);
    }
    m_watching = wanted;
}

void WindowInputSource::deliver(Hook& hook, const InputEvent& event) {
    if (hook.sink && hook.enabled) {
        // A copy: the sink may remove its own hook.
        const Sink sink = hook.sink;
        sink(event);
    }
}

bool WindowInputSource::eventFilter(QObject* watched, QEvent* event) {
    // Input reaches a top-level window first, once, and travels on from there to the focus
    // widget and maybe its parents: only the window's copy counts.
    if (!watched->isWindowType()) {
        return QObject::eventFilter(watched, event);
    }
    switch (event->type()) {
    case QEvent::KeyPress:
    case QEvent::KeyRelease: {
        const auto* key = static_cast<const QKeyEvent*>(event);
        const bool pressed = event->type() == QEvent::KeyPress;
        // A held key repeats as further key downs; the releases between them are not real.
        if (!m_keyboard.sink || (!pressed && key->isAutoRepeat()) ||
            key->nativeScanCode() < kScanCodeOffset) {
            break;
        }
        const auto code = static_cast<std::uint16_t>(key->nativeScanCode() - kScanCodeOffset);
        if (const auto virtual_key = virtual_key_from_evdev(code)) {
            deliver(m_keyboard, {kKeyboardMessage, *virtual_key, pressed ? 0L : 1L});
        }
        break;
    }
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonDblClick:
    case QEvent::MouseButtonRelease: {
        if (!m_mouse.sink) {
            break;
        }
        const auto* mouse = static_cast<const QMouseEvent*>(event);
        const bool pressed = event->type() != QEvent::MouseButtonRelease;
        if (const auto message = button_message(mouse->button(), pressed)) {
            deliver(m_mouse, {kMouseMessage, message->message, message->detail});
        }
        break;
    }
    case QEvent::Wheel: {
        if (!m_mouse.sink) {
            break;
        }
        // One message a notch, however finely the device reports it; the direction is not
        // part of the message.
        m_wheelRest += static_cast<const QWheelEvent*>(event)->angleDelta().y();
        while (m_wheelRest >= kNotch || m_wheelRest <= -kNotch) {
            m_wheelRest -= m_wheelRest > 0 ? kNotch : -kNotch;
            deliver(m_mouse, {kMouseMessage, kWheel, 0});
        }
        break;
    }
    default:
        break;
    }
    return QObject::eventFilter(watched, event);
}

} // namespace zemrak::ui
