#pragma once

#include <QObject>
#include <QString>
#include <QSystemTrayIcon>
#include <functional>

class QIcon;
class QMenu;

namespace zemrak::app {

// The program's icon in the notification area. The owner gives it its icon, tool tip and menu
// and says what a left click (show the window) does. The menu is the icon's context menu: the
// notification area shows it on a right click, an X tray through Qt and a StatusNotifier host
// (KDE, GNOME's AppIndicator extension) from the copy Qt exports over D-Bus, which follows
// every change made to the menu. The icon leaves the notification area when this object is
// destroyed.
class CTrayIcon final : public QObject {
    Q_OBJECT
public:
    explicit CTrayIcon(QObject* parent = nullptr);
    ~CTrayIcon() override;

    CTrayIcon(const CTrayIcon&) = delete;
    CTrayIcon& operator=(const CTrayIcon&) = delete;

    void set_icon(const QIcon& icon);
    void set_tool_tip(const QString& text);
    [[nodiscard]] QString tool_tip() const;
    // The menu of a right click; it must outlive this object or be taken away first.
    void set_menu(QMenu* menu);
    void show();
    void hide();
    [[nodiscard]] bool is_visible() const;

    // A short notice beside the icon that needs no answer.
    void show_message(const QString& title, const QString& text);

    // Whether the desktop has a notification area at all. Without one the icon cannot be
    // clicked, and the owner keeps the program reachable some other way.
    [[nodiscard]] static bool available();

    std::function<void()> on_left_click;

private:
    void activated(QSystemTrayIcon::ActivationReason reason) const;

    QSystemTrayIcon* m_icon;
};

} // namespace zemrak::app
