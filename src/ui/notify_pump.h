#pragma once

#include "ui/notification.h"

#include <QHash>
#include <QString>
#include <functional>

namespace zemrak::ui {

// A receiver of notifications with a map from notification type to handler; a type without
// a handler is dropped. Every page is one.
class CNotifyPump {
public:
    using Handler = std::function<void(const Notification&)>;

    virtual ~CNotifyPump() = default;
    // Runs the handler of the notification's type, if the map has one.
    void notify(const Notification& notification) const;
    [[nodiscard]] bool handles(const QString& type) const { return m_handlers.contains(type); }

protected:
    void on(const QString& type, Handler handler);

private:
    QHash<QString, Handler> m_handlers;
};

} // namespace zemrak::ui
