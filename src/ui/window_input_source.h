#pragma once
// Keys and mouse buttons as the program's own windows receive them: available on every
// desktop, and the only source where no input device may be read. Events come on the UI
// thread, in the same form as the input library's.

#include "platform/input_source.h"

#include <QObject>

class QEvent;

namespace zemrak::ui {

class WindowInputSource final : public QObject, public InputSource {
    Q_OBJECT
public:
    explicit WindowInputSource(QObject* parent = nullptr);
    ~WindowInputSource() override;

    void install(InputDevice device, Sink sink) override;
    void remove(InputDevice device) override;
    void enable(InputDevice device, bool on) override;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    struct Hook {
        Sink sink;
        bool enabled = false;
    };
    void watch();
    void deliver(Hook& hook, const InputEvent& event);

    Hook m_keyboard;
    Hook m_mouse;
    bool m_watching = false;
    // Parts of a wheel notch (1/120 each) not delivered yet.
    int m_wheelRest = 0;
};

} // namespace zemrak::ui
