#include "app/tray_icon.h"

#include <QIcon>

namespace zemrak::app {

CTrayIcon::CTrayIcon(QObject* parent) : QObject(parent), m_icon(new QSystemTrayIcon(this)) {
    connect(m_icon, &QSystemTrayIcon::activated, this, &CTrayIcon::activated);
}

CTrayIcon::~CTrayIcon() {
    m_icon->setContextMenu(nullptr);
    m_icon->hide();
}

void CTrayIcon::set_icon(const QIcon& icon) {
    m_icon->setIcon(icon);
}

void CTrayIcon::set_tool_tip(const QString& text) {
    m_icon->setToolTip(text);
}

QString CTrayIcon::tool_tip() const {
    return m_icon->toolTip();
}

void CTrayIcon::set_menu(QMenu* menu) {
    m_icon->setContextMenu(menu);
}

void CTrayIcon::show() {
    m_icon->show();
}

void CTrayIcon::hide() {
    m_icon->hide();
}

bool CTrayIcon::is_visible() const {
    return m_icon->isVisible();
}

void CTrayIcon::show_message(const QString& title, const QString& text) {
    m_icon->showMessage(title, text, m_icon->icon());
}

bool CTrayIcon::available() {
    return QSystemTrayIcon::isSystemTrayAvailable();
}

void CTrayIcon::activated(QSystemTrayIcon::ActivationReason reason) const {
    switch (reason) {
    case QSystemTrayIcon::Trigger:
    // Each click of a double click is a click of its own, as the user meant it.
    case QSystemTrayIcon::DoubleClick:
        if (on_left_click) {
            on_left_click();
        }
        break;
    default:
        break;
    }
}

} // namespace zemrak::app
