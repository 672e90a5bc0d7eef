#include "ui/notify_pump.h"

namespace zemrak::ui {

void CNotifyPump::notify(const Notification& notification) const {
    const auto handler = m_handlers.constFind(notification.type);
    if (handler != m_handlers.constEnd()) {
        (*handler)(notification);
    }
}

void CNotifyPump::on(const QString& type, Handler handler) {
    m_handlers.insert(type, std::move(handler));
}

} // namespace zemrak::ui
