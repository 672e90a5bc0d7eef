// Pop-up menus from the program's menu files: what a file offers, and what choosing reports.

#include "model/button_functions.h"
#include "test_support/named_pipe.h"
#include "ui/popup_menu.h"
#include "ui/texts.h"

#include <QAction>
#include <QFile>
#include <QMenu>
#include <QTemporaryDir>
#include <QTest>
#include <memory>
#include <vector>

#include <gtest/gtest.h>

namespace zemrak::ui {
namespace {

QString shipped_menu(const char* file_name) {
    return QStringLiteral(ZEMRAK_SOURCE_DIR "/res/menus/") + QLatin1String(file_name);
}

QString write_file(const QTemporaryDir& dir, const QString& name, const QByteArray& contents) {
    const QString path = dir.filePath(name);
    QFile file(path);
    if (file.open(QIODevice::WriteOnly)) {
        file.write(contents);
    }
    return path;
}

QAction* action_named(const PopupMenu& menu, const QString& name) {
    return menu.menu()->findChild<QAction*>(name);
}

TEST(PopupMenu, ReadsItemsInFileOrder) {
    QTemporaryDir dir;
    const QString path = write_file(dir, QStringLiteral("test.xml"), R"(<?xml version="1.0"?>
<!-- a comment -->
<Menu>
    <MenuElement name="rename_macro" textkey="rename_macro_text"/>
    <MenuElement textkey="nameless_text"/>
    <Separator/>
    <MenuElement name="export_macro"/>
</Menu>)");
    const std::vector<MenuItem> expected{
        {QStringLiteral("rename_macro"), QStringLiteral("rename_macro_text")},
        {QStringLiteral("export_macro"), QString()},
    };
    EXPECT_EQ(PopupMenu::read_items(path), expected);
}

TEST(PopupMenu, OnlyItemsMarkedCheckableWearTheMarkTheOwnerSets) {
    QTemporaryDir dir;
    const QString path = write_file(dir, QStringLiteral("test.xml"), R"(<Menu>
    <MenuElement name="autostart" textkey="a_text" checkable="true"/>
    <MenuElement name="about" textkey="b_text"/>
</Menu>)");
    const std::vector<MenuItem> expected{
        {QStringLiteral("autostart"), QStringLiteral("a_text"), {}, true},
        {QStringLiteral("about"), QStringLiteral("b_text")},
    };
    EXPECT_EQ(PopupMenu::read_items(path), expected);

    PopupMenu menu(path);
    QAction* autostart = action_named(menu, QStringLiteral("autostart"));
    QAction* about = action_named(menu, QStringLiteral("about"));
    EXPECT_TRUE(autostart->isCheckable());
    EXPECT_FALSE(autostart->isChecked());
    menu.set_checked(QStringLiteral("autostart"), true);
    menu.set_checked(QStringLiteral("about"), true);
    EXPECT_TRUE(autostart->isChecked());
    EXPECT_FALSE(about->isCheckable());
    EXPECT_FALSE(about->isChecked());
    menu.set_checked(QStringLiteral("autostart"), false);
    EXPECT_FALSE(autostart->isChecked());
}

TEST(PopupMenu, FileThatIsNotAMenuGivesNoItems) {
    QTemporaryDir dir;
    const QString broken = write_file(dir, QStringLiteral("broken.xml"),
                                      R"(<Menu><MenuElement name="exit" textkey="x"/>)");
    const QString other_root = write_file(dir, QStringLiteral("other.xml"),
                                          R"(<Language><MenuElement name="exit"/></Language>)");
    EXPECT_TRUE(PopupMenu::read_items(dir.filePath(QStringLiteral("missing.xml"))).empty());
    EXPECT_TRUE(PopupMenu::read_items(broken).empty());
    EXPECT_TRUE(PopupMenu::read_items(other_root).empty());
    // The window's thread reads the menu: a pipe in its place must not hold it.
    const QString pipe = dir.filePath(QStringLiteral("pipe.xml"));
    test::make_pipe(pipe.toStdString());
    std::vector<MenuItem> from_pipe{{QStringLiteral("x"), QString()}};
    EXPECT_TRUE(test::returns_without_waiting(pipe.toStdString(),
                                              [&] { from_pipe = PopupMenu::read_items(pipe); }));
    EXPECT_TRUE(from_pipe.empty());

    // Nothing to choose, so nothing opens.
    PopupMenu menu(broken);
    menu.open(QPoint(10, 10));
    EXPECT_FALSE(menu.is_open());
    EXPECT_EQ(PopupMenu::open_menu(), nullptr);
}

TEST(PopupMenu, ShippedMenusNameTheirCommandsAndShowLanguageTexts) {
    const struct {
        const char* file;
        QStringList items;
        QStringList text_keys;
    } menus[] = {
        {"traymenu.xml",
         {QStringLiteral("configuration"), QStringLiteral("exit")},
         {QStringLiteral("menu_configuration_text"), QStringLiteral("menu_exit_text")}},
        {"profilemenu.xml",
         {QStringLiteral("import_profile"), QStringLiteral("export_profile")},
         {QStringLiteral("import_profile_text"), QStringLiteral("export_profile_text")}},
        {"mainmenu.xml",
         {QStringLiteral("autostart"), QStringLiteral("about"), QStringLiteral("exit")},
         {QStringLiteral("menu_autostart_text"), QStringLiteral("menu_about_text"),
          QStringLiteral("menu_exit_text")}},
    };
    for (const auto& shipped : menus) {
        SCOPED_TRACE(shipped.file);
        const PopupMenu menu(shipped_menu(shipped.file));
        ASSERT_EQ(menu.item_names(), shipped.items);
        for (qsizetype i = 0; i < shipped.items.size(); ++i) {
            const QString text = action_named(menu, shipped.items[i])->text();
            EXPECT_FALSE(text.isEmpty());
            EXPECT_EQ(text, Texts::text(shipped.text_keys[i]));
        }
    }
}

TEST(PopupMenu, SubmenusHoldTheirItemsAndTheirItemsAreChosenLikeAnyOther) {
    QTemporaryDir dir;
    const QString path = write_file(dir, QStringLiteral("nested.xml"), R"(<Menu>
    <MenuElement name="first" textkey="import_profile_text"/>
    <MenuElement name="group_menu" textkey="export_profile_text">
        <MenuElement name="inner" textkey="menu_exit_text"/>
        <MenuElement textkey="nameless_text"/>
        <MenuElement name="deep_menu" textkey="menu_configuration_text">
            <MenuElement name="deepest" textkey="ok_text"/>
        </MenuElement>
    </MenuElement>
    <MenuElement name="hollow" textkey="cancel_text"><MenuElement textkey="x"/></MenuElement>
    <MenuElement name="last" textkey="cancel_text"/>
</Menu>)");
    const std::vector<MenuItem> expected{
        {"first", "import_profile_text", {}},
        {"group_menu",
         "export_profile_text",
         {{"inner", "menu_exit_text", {}},
          {"deep_menu", "menu_configuration_text", {{"deepest", "ok_text", {}}}}}},
        {"hollow", "cancel_text", {}},
        {"last", "cancel_text", {}},
    };
    EXPECT_EQ(PopupMenu::read_items(path), expected);

    PopupMenu menu(path);
    EXPECT_EQ(menu.item_names(), (QStringList{"first", "inner", "deepest", "hollow", "last"}));
    auto* submenu = menu.menu()->findChild<QMenu*>("group_menu");
    ASSERT_NE(nullptr, submenu);
    EXPECT_EQ(submenu->title(), Texts::text("export_profile_text"));

    QStringList chosen;
    menu.on_chosen = [&](const QString& item) { chosen.append(item); };
    menu.open(QPoint(40, 40));
    submenu->popup(QPoint(120, 60)); // as hovering over its entry opens it
    ASSERT_TRUE(submenu->isVisible());
    EXPECT_FALSE(menu.choose("group_menu")) << "a submenu is no item";
    EXPECT_TRUE(menu.choose("deepest"));
    EXPECT_EQ(chosen, QStringList{"deepest"});
    EXPECT_FALSE(menu.is_open());
    EXPECT_FALSE(submenu->isVisible());
    EXPECT_EQ(PopupMenu::open_menu(), nullptr);
}

TEST(PopupMenu, TheButtonMenuOffersEveryFunctionOnceUnderATitledGroup) {
    const PopupMenu menu(shipped_menu("buttonmenu.xml"));
    QStringList offered;
    for (const ButtonFunction& function : button_functions()) {
        if (!function.item.empty()) {
            offered << QString::fromLatin1(function.item.data(),
                                           static_cast<qsizetype>(function.item.size()));
        }
    }
    QStringList items = menu.item_names();
    items.sort();
    offered.sort();
    EXPECT_EQ(items, offered);
    for (const QString& item : items) {
        EXPECT_FALSE(action_named(menu, item)->text().isEmpty()) << item.toStdString();
    }
    const auto submenus = menu.menu()->findChildren<QMenu*>();
    EXPECT_EQ(9, submenus.size());
    for (const QMenu* submenu : submenus) {
        EXPECT_FALSE(submenu->title().isEmpty()) << submenu->objectName().toStdString();
    }
}

TEST(PopupMenu, ChoosingAnItemClosesTheMenuThenReportsTheItem) {
    PopupMenu menu(shipped_menu("profilemenu.xml"));
    QStringList chosen;
    bool open_while_reporting = true;
    menu.on_chosen = [&](const QString& item) {
        chosen.append(item);
        open_while_reporting = menu.is_open();
    };

    menu.open(QPoint(40, 40));
    ASSERT_TRUE(menu.is_open());
    EXPECT_EQ(PopupMenu::open_menu(), &menu);
    EXPECT_FALSE(menu.choose(QStringLiteral("exit")));
    EXPECT_TRUE(menu.is_open());

    // A real click on the item.
    QMenu* widget = menu.menu();
    QTest::mouseClick(widget, Qt::LeftButton, {},
                      widget->actionGeometry(action_named(menu, "export_profile")).center());
    EXPECT_EQ(chosen, QStringList{QStringLiteral("export_profile")});
    EXPECT_FALSE(open_while_reporting);
    EXPECT_FALSE(menu.is_open());
    EXPECT_EQ(PopupMenu::open_menu(), nullptr);

    // As a UI script chooses.
    menu.open(QPoint(40, 40));
    EXPECT_TRUE(menu.choose(QStringLiteral("import_profile")));
    EXPECT_EQ(chosen.last(), QStringLiteral("import_profile"));
    EXPECT_FALSE(open_while_reporting);
    EXPECT_EQ(PopupMenu::open_menu(), nullptr);
}

TEST(PopupMenu, OwnerMayDestroyTheMenuWhenAnItemIsChosen) {
    auto menu = std::make_unique<PopupMenu>(shipped_menu("traymenu.xml"));
    QString chosen;
    menu->on_chosen = [&](const QString& item) {
        menu.reset(); // as an owner does that opens the next menu at once
        chosen = item;
    };
    menu->open(QPoint(5, 5));
    QMenu* widget = menu->menu();
    QTest::mouseClick(widget, Qt::LeftButton, {},
                      widget->actionGeometry(action_named(*menu, "exit")).center());
    EXPECT_EQ(chosen, QStringLiteral("exit"));
    EXPECT_EQ(menu, nullptr);
    EXPECT_EQ(PopupMenu::open_menu(), nullptr);
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

} // namespace
} // namespace zemrak::ui
