#include "ui/notify_router.h"

#include "ui/colour_palette.h"

#include <QAbstractButton>
#include <QAbstractSlider>
#include <QCheckBox>
#include <QComboBox>
#include <QEvent>
#include <QLineEdit>
#include <QListWidget>
#include <QRadioButton>
#include <QTimerEvent>
#include <QWidget>

namespace zemrak::ui {

NotifyRouter::NotifyRouter(Sink sink, QObject* parent) : QObject(parent), m_sink(std::move(sink)) {}

QString NotifyRouter::page_of(const QObject* control) {
    for (const QObject* o = control; o != nullptr; o = o->parent()) {
        const QVariant name = o->property("virtualwnd");
        if (name.isValid()) {
            return name.toString();
        }
    }
    return {};
}

void NotifyRouter::send(QObject* control, const QString& type, qint64 wparam, qint64 lparam) {
    Notification n;
    n.type = type;
    n.sender = control->objectName();
    n.wparam = wparam;
    n.lparam = lparam;
    n.page = page_of(control);
    n.control = control;
    if (const auto* edit = qobject_cast<QLineEdit*>(control)) {
        n.text = edit->text();
    }
    m_sink(n);
}

void NotifyRouter::attach(QWidget* root) {
    if (!root->objectName().isEmpty()) {
        connect_control(root);
    }
    const auto children = root->findChildren<QWidget*>();
    for (QWidget* child : children) {
        if (!child->objectName().isEmpty() && !child->objectName().startsWith("qt_")) {
            connect_control(child);
        }
    }
}

void NotifyRouter::connect_control(QWidget* control) {
    if (control->property("zemrak_routed").toBool()) {
        return; // attached twice: connect once
    }
    control->setProperty("zemrak_routed", true);
    control->installEventFilter(this);

    if (auto* check = qobject_cast<QCheckBox*>(control)) {
        connect(check, &QCheckBox::clicked, this,
                [this, check](bool on) { send(check, "checkclick", on ? 1 : 0); });
    } else if (auto* button = qobject_cast<QAbstractButton*>(control)) {
        connect(button, &QAbstractButton::clicked, this, [this, button] { send(button, "click"); });
        if (button->isCheckable() &&
            (button->autoExclusive() || qobject_cast<QRadioButton*>(button) != nullptr)) {
            connect(button, &QAbstractButton::toggled, this,
                    [this, button](bool on) { send(button, "selectchanged", on ? 1 : 0); });
        }
    } else if (auto* slider = qobject_cast<QAbstractSlider*>(control)) {
        connect(slider, &QAbstractSlider::valueChanged, this, [this, slider](int value) {
            send(slider, slider->isSliderDown() ? "movevaluechanged" : "valuechanged", value);
        });
        connect(slider, &QAbstractSlider::sliderReleased, this,
                [this, slider] { send(slider, "valuechanged", slider->value()); });
    } else if (auto* combo = qobject_cast<QComboBox*>(control)) {
        connect(combo, &QComboBox::currentIndexChanged, this,
                [this, combo](int index) { send(combo, "itemselect", index); });
    } else if (auto* list = qobject_cast<QListWidget*>(control)) {
        connect(list, &QListWidget::currentRowChanged, this,
                [this, list](int row) { send(list, "itemselect", row); });
    } else if (auto* edit = qobject_cast<QLineEdit*>(control)) {
        connect(edit, &QLineEdit::textEdited, this, [this, edit] { send(edit, "textchanged"); });
    } else if (auto* palette = qobject_cast<ColourPalette*>(control)) {
        connect(palette, &ColourPalette::colour_changed, this,
                [this, palette](QRgb argb) { send(palette, "colorchanged", argb); });
        connect(palette, &ColourPalette::colour_released, this,
                [this, palette](QRgb argb) { send(palette, "colorchangedbuttonup", argb); });
    }
}

void NotifyRouter::set_timer(QObject* control, int timer_id, int interval_ms) {
    kill_timer(control, timer_id);
    m_timers.insert(startTimer(interval_ms), {control, timer_id});
}

void NotifyRouter::kill_timer(QObject* control, int timer_id) {
    for (auto it = m_timers.begin(); it != m_timers.end();) {
        if (it->control == control && it->id == timer_id) {
            killTimer(it.key());
            it = m_timers.erase(it);
        } else {
            ++it;
        }
    }
}

void NotifyRouter::timerEvent(QTimerEvent* event) {
    const auto found = m_timers.constFind(event->timerId());
    if (found == m_timers.constEnd()) {
        return;
    }
    if (found->control.isNull()) {
        // The control is gone: its timer goes with it.
        killTimer(event->timerId());
        m_timers.remove(event->timerId());
        return;
    }
    send(found->control, "timer", found->id);
}

bool NotifyRouter::eventFilter(QObject* watched, QEvent* event) {
    switch (event->type()) {
    case QEvent::Enter:
        send(watched, "mouseenter");
        break;
    case QEvent::Leave:
        send(watched, "mouseleave");
        break;
    case QEvent::FocusIn:
        if (qobject_cast<QLineEdit*>(watched) != nullptr) {
            send(watched, "setfocus");
        }
        break;
    case QEvent::FocusOut:
        if (qobject_cast<QLineEdit*>(watched) != nullptr) {
            send(watched, "killfocus");
        }
        break;
    default:
        break;
    }
    return QObject::eventFilter(watched, event);
}

} // namespace zemrak::ui
