#include "ui/notify_pump.h"

namespace zemrak::ui {

void CNotifyPump::notify(const Notification& notification) const {
    if (notification.control != nullptr) {
        const auto own = m_byControl.constFind(Key{notification.control, notification.type});
        if (own != m_byControl.constEnd()) {
            (*own)(notification);
            return;
        }
    }
    const auto handler = m_byType.constFind(notification.type);
    if (handler != m_byType.constEnd()) {
        (*handler)(notification);
    }
}

void CNotifyPump::on(const QObject* control, const QString& type, Handler handler) {
    m_byControl.insert(Key{control, type}, std::move(handler));
}

void CNotifyPump::on(const QString& type, Handler handler) {
    m_byType.insert(type, std::move(handler));
}

void CNotifyPump::forget(const QObject* control) {
    m_byControl.removeIf([control](const auto& entry) { return entry.key().control == control; });
}

} // namespace zemrak::ui
