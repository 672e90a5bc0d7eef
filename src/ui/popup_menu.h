#pragma once

#include <QList>
#include <QObject>
#include <QPoint>
#include <QPointer>
#include <QString>
#include <QStringList>
#include <functional>
#include <vector>

class QAction;
class QMenu;
class QWidget;

namespace zemrak::ui {

// One entry of a menu file: the item's name, which is what choosing it reports, and the
// language key of its text. An entry that holds items is a submenu: choosing it reports
// nothing, and its name only names the submenu. A checkable item wears a check mark whose
// state the menu's owner sets (set_checked) before it opens the menu.
struct MenuItem {
    QString name;
    QString text_key;
    std::vector<MenuItem> children{};
    bool checkable = false;

    friend bool operator==(const MenuItem&, const MenuItem&) = default;
};

// A pop-up menu read from one of the program's menu files (res/menus/*.xml):
//
//   <Menu>
//     <MenuElement name="import_profile" textkey="import_profile_text"/>
//     <MenuElement name="autostart" textkey="menu_autostart_text" checkable="true"/>
//     <MenuElement name="media_menu" textkey="media_menu_text">
//       <MenuElement name="play_pause" textkey="play_pause_text"/>
//     </MenuElement>
//   </Menu>
//
// Each item shows the language text of its key; an element that holds items is a submenu.
// Choosing an item, in the menu or in any of its submenus, closes the whole menu and calls
// on_chosen with the item's name. The menu is read when the object is made, so make one per
// opening. Its owner keeps at most one open.
class PopupMenu final : public QObject {
    Q_OBJECT
public:
    // The items of a menu file in file order, submenus with theirs. A file that is missing
    // or not a well-formed menu gives no items; items without a name are skipped.
    [[nodiscard]] static std::vector<MenuItem> read_items(const QString& path);

    // `parent` owns the menu like any child, and its style sheet reaches the menu.
    explicit PopupMenu(const QString& path, QWidget* parent = nullptr);
    ~PopupMenu() override;

    PopupMenu(const PopupMenu&) = delete;
    PopupMenu& operator=(const PopupMenu&) = delete;

    // Shows the menu with its top-left corner at `anchor` (global coordinates), kept on the
    // screen, and returns at once.
    void open(QPoint anchor);
    void close();
    [[nodiscard]] bool is_open() const;

    // Puts checkable items with `texts` before the item named `before` (at the end when there is
    // none), set off by separators, in place of those the last call put there; they are named
    // `prefix` followed by their index from 0 ("profile_0", "profile_1", ...), and the one at
    // `checked` is checked (none when it is out of range). Choosing one closes the menu and
    // reports its name as any item does. A menu that stays open (the tray's) is kept up to date
    // with this.
    void set_choices(const QString& before, const QString& prefix, const QStringList& texts,
                     int checked);

    // Item names in menu order, the items of a submenu in its place.
    [[nodiscard]] QStringList item_names() const;

    // Ticks or clears the check mark of the checkable items of that name.
    void set_checked(const QString& item, bool checked);

    // Chooses an item, in the menu or a submenu, as a click on it would: the menu closes,
    // then on_chosen runs. False when the menu has no enabled item of that name.
    bool choose(const QString& item);

    // The menu shown last while it is still open, or null; lets a UI script pick an item.
    [[nodiscard]] static PopupMenu* open_menu();

    // Called with the chosen item's name after the menu has closed. It may destroy this menu.
    std::function<void(const QString& item)> on_chosen;

    [[nodiscard]] QMenu* menu() const;

private:
    void add_items(QMenu* menu, const std::vector<MenuItem>& items);
    void deliver(QString item);

    QPointer<QMenu> m_menu;
    // What set_choices() added, separators included.
    QList<QAction*> m_choices;
};

} // namespace zemrak::ui
