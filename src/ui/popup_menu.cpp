#include "ui/popup_menu.h"

#include "platform/file_io.h"
#include "ui/texts.h"

#include <QAction>
#include <QByteArray>
#include <QFileInfo>
#include <QMenu>
#include <QXmlStreamReader>
#include <cstdint>
#include <functional>
#include <iostream>
#include <vector>

namespace zemrak::ui {
namespace {

PopupMenu* g_openMenu = nullptr;
// How many on_chosen calls are running. A menu destroyed by one of them is still inside the
// signal of its own action, so its QMenu must wait for the event loop to go.
int g_delivering = 0;

// The elements inside the current one, up to its end tag.
std::vector<MenuItem> read_elements(QXmlStreamReader& xml) {
    std::vector<MenuItem> items;
    while (xml.readNextStartElement()) {
        if (xml.name() != u"MenuElement") {
            xml.skipCurrentElement();
            continue;
        }
        const QXmlStreamAttributes attributes = xml.attributes();
        MenuItem item{attributes.value(QLatin1StringView("name")).toString(),
                      attributes.value(QLatin1StringView("textkey")).toString(),
                      {},
                      attributes.value(QLatin1StringView("checkable")) == u"true"};
        item.children = read_elements(xml);
        if (!item.children.empty() || !item.name.isEmpty()) {
            items.push_back(std::move(item));
        }
    }
    return items;
}

} // namespace

std::vector<MenuItem> PopupMenu::read_items(const QString& path) {
    // Through the program's own file layer, which neither waits on a pipe nor reads a device
    // in place of a menu: the menu is read on the window's thread.
    std::vector<std::uint8_t> bytes;
    if (const std::error_code error = read_file(path.toStdString(), bytes)) {
        if (!file_missing(error)) {
            std::cerr << "zemrak-mouse: " << path.toLocal8Bit().constData() << ": "
                      << error.message() << '\n';
        }
        return {};
    }
    QXmlStreamReader xml(QByteArray(reinterpret_cast<const char*>(bytes.data()),
                                    static_cast<qsizetype>(bytes.size())));
    if (!xml.readNextStartElement() || xml.name() != u"Menu") {
        return {};
    }
    std::vector<MenuItem> items = read_elements(xml);
    if (xml.hasError()) {
        return {}; // half a menu would offer commands the file never meant to
    }
    return items;
}

PopupMenu::PopupMenu(const QString& path, QWidget* parent)
    : QObject(parent), m_menu(new QMenu(parent)) {
    m_menu->setObjectName(QFileInfo(path).completeBaseName());
    add_items(m_menu, read_items(path));
    // Counted however the menu comes up: through open(), or shown by the tray for its icon.
    connect(m_menu, &QMenu::aboutToShow, this, [this] { g_openMenu = this; });
    connect(m_menu, &QMenu::aboutToHide, this, [this] {
        if (g_openMenu == this) {
            g_openMenu = nullptr;
        }
    });
}

void PopupMenu::add_items(QMenu* menu, const std::vector<MenuItem>& items) {
    for (const MenuItem& item : items) {
        if (!item.children.empty()) {
            // A child of the menu, so that it goes with it.
            QMenu* submenu = menu->addMenu(Texts::text(item.text_key));
            submenu->setObjectName(item.name);
            add_items(submenu, item.children);
            continue;
        }
        QAction* action = menu->addAction(Texts::text(item.text_key));
        action->setObjectName(item.name);
        action->setCheckable(item.checkable);
        connect(action, &QAction::triggered, this, [this, name = item.name] { deliver(name); });
    }
}

PopupMenu::~PopupMenu() {
    if (g_openMenu == this) {
        g_openMenu = nullptr;
    }
    if (m_menu == nullptr) {
        return; // went with its parent
    }
    m_menu->disconnect(this);
    m_menu->hide();
    if (g_delivering > 0) {
        m_menu->deleteLater();
    } else {
        delete m_menu.data();
    }
}

void PopupMenu::open(QPoint anchor) {
    if (m_menu == nullptr || m_menu->actions().isEmpty()) {
        return; // a menu without items is not worth a window
    }
    g_openMenu = this;
    m_menu->popup(anchor);
}

void PopupMenu::close() {
    if (m_menu != nullptr) {
        m_menu->hide();
    }
}

void PopupMenu::set_choices(const QString& before, const QString& prefix, const QStringList& texts,
                            int checked) {
    if (m_menu == nullptr) {
        return;
    }
    for (QAction* old : std::as_const(m_choices)) {
        m_menu->removeAction(old);
        old->setObjectName(QString()); // choose() must not find it before it is gone
        // One of them may be the item whose choice is running right now.
        old->deleteLater();
    }
    m_choices.clear();
    if (texts.isEmpty()) {
        return;
    }
    QAction* next = m_menu->findChild<QAction*>(before, Qt::FindDirectChildrenOnly);
    if (next != nullptr && !m_menu->actions().contains(next)) {
        next = nullptr;
    }
    const auto insert = [this, next](QAction* action) {
        m_menu->insertAction(next, action);
        m_choices.append(action);
    };
    const auto separator = [this] {
        auto* line = new QAction(m_menu);
        line->setSeparator(true);
        return line;
    };
    insert(separator());
    for (int i = 0; i < texts.size(); ++i) {
        auto* action = new QAction(texts.at(i), m_menu);
        const QString name = prefix + QString::number(i);
        action->setObjectName(name);
        action->setCheckable(true);
        action->setChecked(i == checked);
        connect(action, &QAction::triggered, this, [this, name] { deliver(name); });
        insert(action);
    }
    if (next != nullptr) {
        insert(separator());
    }
}

QMenu* PopupMenu::menu() const {
    return m_menu.data();
}

bool PopupMenu::is_open() const {
    return m_menu != nullptr && m_menu->isVisible();
}

QStringList PopupMenu::item_names() const {
    QStringList names;
    if (m_menu != nullptr) {
        // Depth first, in the order the menus list their actions.
        const std::function<void(const QMenu*)> walk = [&](const QMenu* menu) {
            const auto actions = menu->actions();
            for (const QAction* action : actions) {
                if (const QMenu* submenu = action->menu()) {
                    walk(submenu);
                } else if (!action->isSeparator()) {
                    names.append(action->objectName());
                }
            }
        };
        walk(m_menu);
    }
    return names;
}

void PopupMenu::set_checked(const QString& item, bool checked) {
    if (m_menu == nullptr) {
        return;
    }
    const auto actions = m_menu->findChildren<QAction*>(item);
    for (QAction* action : actions) {
        if (action->isCheckable()) {
            action->setChecked(checked);
        }
    }
}

bool PopupMenu::choose(const QString& item) {
    if (m_menu == nullptr) {
        return false;
    }
    const auto actions = m_menu->findChildren<QAction*>(item);
    for (QAction* action : actions) {
        if (action->menu() == nullptr && action->isEnabled()) {
            // A click closes the menu, with any submenu open beside it, before the item runs.
            const auto submenus = m_menu->findChildren<QMenu*>();
            for (QMenu* submenu : submenus) {
                submenu->hide();
            }
            m_menu->hide();
            action->trigger();
            return true; // on_chosen may have destroyed this menu
        }
    }
    return false;
}

PopupMenu* PopupMenu::open_menu() {
    return g_openMenu != nullptr && g_openMenu->is_open() ? g_openMenu : nullptr;
}

void PopupMenu::deliver(QString item) {
    if (!on_chosen) {
        return;
    }
    // The item and the callback are copies: the callback may destroy this object, with its
    // actions and on_chosen.
    const auto chosen = on_chosen;
    ++g_delivering;
    chosen(item);
    --g_delivering;
}

} // namespace zemrak::ui
