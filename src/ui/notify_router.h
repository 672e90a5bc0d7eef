#pragma once

#include "ui/notification.h"

#include <QHash>
#include <QObject>
#include <QPointer>
#include <functional>

class QWidget;

namespace zemrak::ui {

// Turns the signals of every named control under a root widget into notifications and
// hands them to one sink. A control belongs to the page whose container carries the
// dynamic property "virtualwnd" (the page's virtual-window name) nearest above it.
//
//   buttons                        "click"
//   option buttons (auto-exclusive) "click", then "selectchanged" (wparam: checked)
//   check boxes                    "checkclick" (wparam: checked)
//   sliders                        "movevaluechanged" while dragged, "valuechanged" otherwise
//                                  and on release (wparam: value)
//   drop-downs and lists           "itemselect" (wparam: new index), also when set by code
//   edits                          "textchanged" on typing, "setfocus", "killfocus"
//   any named control              "mouseenter", "mouseleave"
class NotifyRouter final : public QObject {
    Q_OBJECT
public:
    using Sink = std::function<void(const Notification&)>;

    explicit NotifyRouter(Sink sink, QObject* parent = nullptr);

    // Connects every named control under `root` (and `root` itself when named). Controls
    // added later are connected by calling attach() on them.
    void attach(QWidget* root);

    // Sends a notification on behalf of `control` (for controls with signals of their own).
    void send(QObject* control, const QString& type, qint64 wparam = 0, qint64 lparam = 0);

    // Sends "timer" notifications (wparam: `timer_id`) for `control` every `interval_ms`
    // until kill_timer(); setting a running timer again restarts it with the new interval.
    void set_timer(QObject* control, int timer_id, int interval_ms);
    void kill_timer(QObject* control, int timer_id);

    // The virtual-window name of the page `control` belongs to, or empty.
    [[nodiscard]] static QString page_of(const QObject* control);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void timerEvent(QTimerEvent* event) override;

private:
    struct ControlTimer {
        QPointer<QObject> control;
        int id = 0;
    };

    void connect_control(QWidget* control);

    Sink m_sink;
    QHash<int, ControlTimer> m_timers; // by Qt's timer id
};

} // namespace zemrak::ui
