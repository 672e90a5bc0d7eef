#pragma once

#include "ui/notification.h"

#include <QHash>
#include <QString>
#include <functional>

class QObject;

namespace zemrak::ui {

// A receiver of notifications. Handlers are registered per control and type; a handler
// registered for a type alone takes that type from every control without one of its own. A
// notification nobody handles is dropped. Every page is one.
class CNotifyPump {
public:
    using Handler = std::function<void(const Notification&)>;

    virtual ~CNotifyPump() = default;
    // Runs the handler of the notification's control and type, else the handler of its type.
    void notify(const Notification& notification) const;

protected:
    // `handler` takes notifications of `type` from `control` only. The control must outlive
    // the pump or be unregistered first; a second registration replaces the first.
    void on(const QObject* control, const QString& type, Handler handler);
    // `handler` takes notifications of `type` from any control without a handler of its own.
    void on(const QString& type, Handler handler);
    // Drops every handler of `control`.
    void forget(const QObject* control);

private:
    struct Key {
        const QObject* control;
        QString type;
        friend bool operator==(const Key&, const Key&) = default;
    };
    friend size_t qHash(const Key& key, size_t seed) noexcept {
        return qHashMulti(seed, key.control, key.type);
    }

    QHash<Key, Handler> m_byControl;
    QHash<QString, Handler> m_byType;
};

} // namespace zemrak::ui
