#pragma once

#include <QObject>
#include <QString>
#include <QSystemTrayIcon>
#include <functional>

class QIcon;

namespace zemrak::app {

// The program's icon in the notification area. The owner gives it its icon and tool tip and
// says what a left click (show the window) and a right click (open the tray menu) do. The
// icon leaves the notification area when this object is destroyed.
class CTrayIcon final : public QObject {
    Q_OBJECT
public:
    explicit CTrayIcon(QObject* parent = nullptr);
    ~CTrayIcon() override;

    CTrayIcon(const CTrayIcon&) = delete;
    CTrayIcon& operator=(const CTrayIcon&) = delete;

    void set_icon(const QIcon& icon);
    void set_tool_tip(const QString& text);
    void show();
    void hide();
    [[nodiscard]] bool is_visible() const;

    // A short notice beside the icon that needs no answer.
    void show_message(const QString& title, const QString& text);

    // Whether the desktop has a notification area at all. Without one the icon cannot be
    // clicked, and the owner keeps the program reachable some other way.
    [[nodiscard]] static bool available();

    std::function<void()> on_left_click;
    std::function<void()> on_right_click;

private:
    void activated(QSystemTrayIcon::ActivationReason reason) const;

    QSystemTrayIcon* m_icon;
};

} // namespace zemrak::app
