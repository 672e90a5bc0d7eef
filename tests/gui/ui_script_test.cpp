// UI scripts: what a script may say, and that its lines reach the real widgets, dialogs and
// menus the way a person's actions do.

#include "platform/evdev_keys.h"
#include "ui/modal.h"
#include "ui/notify_router.h"
#include "ui/popup_menu.h"
#include "ui/ui_script.h"
#include "ui/window_input_source.h"

#include <QApplication>
#include <QComboBox>
#include <QDialog>
#include <QFile>
#include <QLineEdit>
#include <QPushButton>
#include <QSlider>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <memory>
#include <string>
#include <vector>

#include <gtest/gtest.h>

namespace zemrak::ui {
namespace {

using Verb = UiScriptStep::Verb;

UiScriptStep step(Verb verb, int line, const QString& name = {}, const QString& value = {},
                  int number = 0) {
    return UiScriptStep{verb, name, value, number, line};
}

TEST(UiScript, ParsesEveryCommandAndSkipsBlankAndCommentLines) {
    const UiScriptParse parsed =
        UiScript::parse(QStringLiteral("# open the dialog\r\n"
                                       "\n"
                                       "click btn_add_profile\n"
                                       "   # indented comment\n"
                                       "set edit_profile_name  My Profile 2 \n"
                                       "set edit_profile_name\n"
                                       "menu export_profile\n"
                                       "tray right\n"
                                       "tray left\n"
                                       "answer OK\n"
                                       "answer cancel\n"
                                       "expect btn_apply  Übernehmen \n"
                                       "wait 250\n"
                                       "\t\n"
                                       "wait-apply\n"
                                       "quit"));
    ASSERT_TRUE(parsed.error.isEmpty()) << parsed.error.toStdString();
    const std::vector<UiScriptStep> expected{
        step(Verb::Click, 3, QStringLiteral("btn_add_profile")),
        step(Verb::Set, 5, QStringLiteral("edit_profile_name"), QStringLiteral("My Profile 2")),
        step(Verb::Set, 6, QStringLiteral("edit_profile_name")),
        step(Verb::Menu, 7, QStringLiteral("export_profile")),
        step(Verb::Tray, 8, {}, {}, UiScriptStep::kTrayRight),
        step(Verb::Tray, 9, {}, {}, UiScriptStep::kTrayLeft),
        step(Verb::Answer, 10, {}, {}, kDialogOk),
        step(Verb::Answer, 11, {}, {}, kDialogCancel),
        step(Verb::Expect, 12, QStringLiteral("btn_apply"), QStringLiteral("Übernehmen")),
        step(Verb::Wait, 13, {}, {}, 250),
        step(Verb::WaitApply, 15),
        step(Verb::Quit, 16),
    };
    EXPECT_EQ(parsed.steps, expected);
}

TEST(UiScript, LineItCannotReadIsReportedWithItsNumber) {
    const struct {
        const char* script;
        const char* error;
    } cases[] = {
        {"click ok_btn\nklick ok_btn", "line 2: unknown command \"klick\""},
        {"\n\nclick ok_btn cancel_btn", "line 3: \"click\" takes one name"},
        {"answer MAYBE", "line 1: \"answer\" takes OK or CANCEL, not \"MAYBE\""},
        {"wait -5", "line 1: \"wait\" takes a pause in milliseconds, not \"-5\""},
        {"quit now", "line 1: \"quit\" takes nothing after it"},
        {"tray middle", "line 1: \"tray\" takes left or right, not \"middle\""},
        {"expect", "line 1: \"expect\" takes a name and a text"},
        {"key Shift+A", "line 1: \"key\" takes a key as Qt names it (A, Tab, F5, Shift...), "
                        "not \"Shift+A\""},
        {"press Ctrl", "line 1: \"press\" takes a key as Qt names it (A, Tab, F5, Shift...), "
                       "not \"Ctrl\""},
        {"press Shift\nrelease Shift\nrelease shift",
         "line 3: \"release\" of \"shift\", which is not pressed"},
        {"key A\nrelease A", "line 2: \"release\" of \"A\", which is not pressed"},
        {"mouse back ok_btn",
         "line 1: \"mouse\" takes left, right or middle and one name, not \"back ok_btn\""},
        {"mouse left", "line 1: \"mouse\" takes left, right or middle and one name, not \"left\""},
    };
    for (const auto& bad : cases) {
        SCOPED_TRACE(bad.script);
        const UiScriptParse parsed = UiScript::parse(QString::fromUtf8(bad.script));
        EXPECT_EQ(parsed.error.toStdString(), bad.error);
        EXPECT_TRUE(parsed.steps.empty());
    }
}

TEST(UiScript, KeysAreTakenByQtsNamesWhateverTheirCase) {
    const UiScriptParse parsed = UiScript::parse(
        QStringLiteral("press shift\nkey a\nkey 1\nkey -\nkey space\nkey F5\n"
                       "release SHIFT\nkey Return\nkey Esc\nmouse right btn_record\n"));
    ASSERT_TRUE(parsed.error.isEmpty()) << parsed.error.toStdString();
    const std::vector<UiScriptStep> expected{
        step(Verb::Press, 1, QStringLiteral("shift"), {}, Qt::Key_Shift),
        step(Verb::Key, 2, QStringLiteral("a"), {}, Qt::Key_A),
        step(Verb::Key, 3, QStringLiteral("1"), {}, Qt::Key_1),
        step(Verb::Key, 4, QStringLiteral("-"), {}, Qt::Key_Minus),
        step(Verb::Key, 5, QStringLiteral("space"), {}, Qt::Key_Space),
        step(Verb::Key, 6, QStringLiteral("F5"), {}, Qt::Key_F5),
        step(Verb::Release, 7, QStringLiteral("SHIFT"), {}, Qt::Key_Shift),
        step(Verb::Key, 8, QStringLiteral("Return"), {}, Qt::Key_Return),
        step(Verb::Key, 9, QStringLiteral("Esc"), {}, Qt::Key_Escape),
        step(Verb::Mouse, 10, QStringLiteral("btn_record"), {}, Qt::RightButton),
    };
    EXPECT_EQ(parsed.steps, expected);
}

// A small window with the kinds of controls scripts drive, and a dialog and a menu that its
// buttons open.
class UiScriptWindow : public testing::Test {
protected:
    UiScriptWindow() {
        m_window.setObjectName(QStringLiteral("main_wnd"));
        m_slider = make<QSlider>("speed_slider");
        m_slider->setRange(0, 20);
        m_combo = make<QComboBox>("rate_combo");
        m_combo->addItems({QStringLiteral("125"), QStringLiteral("500"), QStringLiteral("1000")});
        m_edit = make<QLineEdit>("name_edit");
        auto* open_btn = make<QPushButton>("open_btn");
        QObject::connect(open_btn, &QPushButton::clicked, [this] { open_dialog(); });
        // Opens its dialog a turn later, as the main window runs menu commands.
        auto* later_btn = make<QPushButton>("later_btn");
        QObject::connect(later_btn, &QPushButton::clicked,
                         [this] { QTimer::singleShot(0, &m_window, [this] { open_dialog(); }); });
        auto* menu_btn = make<QPushButton>("menu_btn");
        QObject::connect(menu_btn, &QPushButton::clicked, [this] { open_menu(); });
        auto* apply_btn = make<QPushButton>("apply_btn");
        QObject::connect(apply_btn, &QPushButton::clicked,
                         [this] { m_idleChecksAtApply = m_idleChecks; });

        m_router = std::make_unique<NotifyRouter>([this](const Notification& n) {
            // Where the pointer happens to be is no business of these tests.
            if (n.type != u"mouseenter" && n.type != u"mouseleave") {
                m_notified.append(n.type + ' ' + n.sender);
            }
        });
        m_router->attach(&m_window);
        QObject::connect(m_edit, &QLineEdit::editingFinished, [this] { ++m_editingFinished; });
    }

    ~UiScriptWindow() override { ModalAnswers::clear(); }

    template <typename Control>
    Control* make(const char* name) {
        auto* control = new Control(&m_window);
        control->setObjectName(QLatin1String(name));
        return control;
    }

    void open_dialog() {
        QDialog dialog(&m_window);
        auto* name = new QLineEdit(&dialog);
        name->setObjectName(QStringLiteral("name_edit")); // the window has one too
        auto* ok = new QPushButton(&dialog);
        ok->setObjectName(QStringLiteral("ok_btn"));
        QObject::connect(ok, &QPushButton::clicked, &dialog, [&dialog] { dialog.done(kDialogOk); });
        m_dialogResults.push_back(run_modal(dialog));
        m_dialogText = name->text();
    }

    void open_menu() {
        m_menu = std::make_unique<PopupMenu>(
            QStringLiteral(ZEMRAK_SOURCE_DIR "/res/menus/profilemenu.xml"), &m_window);
        m_menu->on_chosen = [this](const QString& item) { m_chosen.append(item); };
        m_menu->open(QPoint(20, 20));
    }

    std::unique_ptr<UiScript> script(const char* text) {
        auto made = std::make_unique<UiScript>(
            &m_window, [this] { return ++m_idleChecks >= 3; }, [this] { ++m_quits; });
        made->set_failure_handler([this](const QString& message) { m_failures.append(message); });
        EXPECT_EQ(made->load_text(QString::fromUtf8(text)), QString());
        return made;
    }

    static bool run(UiScript& script) {
        script.run();
        return QTest::qWaitFor([&script] { return script.is_finished(); }, 5000);
    }

    QWidget m_window;
    QSlider* m_slider = nullptr;
    QComboBox* m_combo = nullptr;
    QLineEdit* m_edit = nullptr;
    std::unique_ptr<NotifyRouter> m_router;
    std::unique_ptr<PopupMenu> m_menu;
    QStringList m_notified;
    QStringList m_failures;
    QStringList m_chosen;
    std::vector<int> m_dialogResults;
    QString m_dialogText;
    int m_editingFinished = 0;
    int m_idleChecks = 0;
    int m_idleChecksAtApply = -1;
    int m_quits = 0;
};

TEST_F(UiScriptWindow, SetGivesValuesThroughTheControlsOwnSignals) {
    // Shown, the window takes real focus changes; hidden in the tray it has no focus to give.
    for (const bool shown : {true, false}) {
        SCOPED_TRACE(shown ? "shown" : "hidden");
        m_window.setVisible(shown);
        if (shown) {
            m_window.activateWindow();
            ASSERT_TRUE(QTest::qWaitForWindowActive(&m_window));
        }
        m_slider->setValue(0);
        m_combo->setCurrentIndex(0);
        m_edit->clear();
        m_notified.clear();
        m_editingFinished = 0;
        auto scripted = script("set speed_slider 7\n"
                               "set rate_combo 2\n"
                               "set name_edit Sniper 1\n");
        ASSERT_TRUE(run(*scripted));

        EXPECT_TRUE(m_failures.isEmpty());
        EXPECT_EQ(m_slider->value(), 7);
        EXPECT_EQ(m_combo->currentIndex(), 2);
        EXPECT_EQ(m_edit->text(), QStringLiteral("Sniper 1"));
        EXPECT_FALSE(m_edit->hasFocus());
        EXPECT_EQ(m_editingFinished, 1);
        const QStringList expected{
            QStringLiteral("valuechanged speed_slider"), QStringLiteral("itemselect rate_combo"),
            QStringLiteral("setfocus name_edit"),        QStringLiteral("textchanged name_edit"),
            QStringLiteral("killfocus name_edit"),
        };
        EXPECT_EQ(m_notified, expected);
    }
}

TEST_F(UiScriptWindow, AnswerClosesTheDialogThatTheNextClickOpens) {
    auto scripted = script("answer CANCEL\nclick open_btn\nset speed_slider 3");
    ASSERT_TRUE(run(*scripted));
    EXPECT_TRUE(m_failures.isEmpty());
    EXPECT_EQ(m_dialogResults, std::vector<int>{kDialogCancel});
    EXPECT_FALSE(ModalAnswers::pending());
    EXPECT_EQ(m_slider->value(), 3);
}

TEST_F(UiScriptWindow, LinesAfterAClickRunInsideTheDialogItOpened) {
    // The dialog's name_edit is found before the window's.
    auto scripted =
        script("click open_btn\nset name_edit Renamed\nclick ok_btn\nset name_edit Main");
    ASSERT_TRUE(run(*scripted));
    EXPECT_TRUE(m_failures.isEmpty());
    EXPECT_EQ(m_dialogResults, std::vector<int>{kDialogOk});
    EXPECT_EQ(m_dialogText, QStringLiteral("Renamed"));
    EXPECT_EQ(m_edit->text(), QStringLiteral("Main"));
}

TEST_F(UiScriptWindow, NextLineWaitsForWhatTheClickPutOff) {
    auto scripted = script("click later_btn\nset name_edit Later\nclick ok_btn");
    ASSERT_TRUE(run(*scripted));
    EXPECT_TRUE(m_failures.isEmpty()) << m_failures.join(' ').toStdString();
    EXPECT_EQ(m_dialogResults, std::vector<int>{kDialogOk});
    EXPECT_EQ(m_dialogText, QStringLiteral("Later"));
}

TEST_F(UiScriptWindow, MenuChoosesFromTheOpenMenu) {
    auto scripted = script("click menu_btn\nmenu export_profile\nmenu import_profile");
    ASSERT_TRUE(run(*scripted));
    EXPECT_EQ(m_chosen, QStringList{QStringLiteral("export_profile")});
    // The menu closed with the first choice.
    ASSERT_EQ(m_failures.size(), 1);
    EXPECT_EQ(m_failures[0].toStdString(),
              "line 3: no pop-up menu is open to choose \"import_profile\"");

    auto unknown_item = script("click menu_btn\nmenu exit");
    ASSERT_TRUE(run(*unknown_item));
    ASSERT_EQ(m_failures.size(), 2);
    EXPECT_EQ(m_failures[1].toStdString(), "line 2: the open menu has no item \"exit\"");
    m_menu.reset();
}

TEST_F(UiScriptWindow, WaitApplyHoldsLaterLinesAndQuitEndsTheScript) {
    auto scripted = script("wait 20\nwait-apply\nclick apply_btn\nquit\nclick open_btn");
    ASSERT_TRUE(run(*scripted));
    EXPECT_GE(m_idleChecksAtApply, 3);
    EXPECT_EQ(m_quits, 1);
    EXPECT_TRUE(m_dialogResults.empty());
    EXPECT_TRUE(m_failures.isEmpty());
}

TEST_F(UiScriptWindow, LineThatCannotBePerformedStopsTheScriptThere) {
    auto scripted = script("set speed_slider 5\nclick no_such_btn\nset speed_slider 9\n"
                           "set rate_combo 3");
    ASSERT_TRUE(run(*scripted));
    EXPECT_EQ(m_failures, QStringList{QStringLiteral("line 2: no control named \"no_such_btn\"")});
    EXPECT_EQ(m_slider->value(), 5);

    auto no_such_row = script("set rate_combo 3");
    ASSERT_TRUE(run(*no_such_row));
    EXPECT_EQ(m_failures.last(), QStringLiteral("line 1: \"rate_combo\" has no row 3"));
}

// Texts compare exactly, so that a script can tell which language the window shows.
TEST_F(UiScriptWindow, ExpectHoldsOnlyForTheTextTheControlShows) {
    m_window.findChild<QPushButton*>(QStringLiteral("apply_btn"))
        ->setText(QStringLiteral("Übernehmen"));
    m_edit->setText(QStringLiteral("Sniper 1"));
    m_combo->setCurrentIndex(1);
    auto holds = script("expect apply_btn Übernehmen\nexpect name_edit Sniper 1\n"
                        "expect rate_combo 500\nset speed_slider 4");
    ASSERT_TRUE(run(*holds));
    EXPECT_TRUE(m_failures.isEmpty()) << m_failures.join(' ').toStdString();
    EXPECT_EQ(m_slider->value(), 4);

    const struct {
        const char* script;
        const char* failure;
    } cases[] = {
        {"expect apply_btn Apply", "line 1: \"apply_btn\" shows \"Übernehmen\", not \"Apply\""},
        {"expect apply_btn übernehmen",
         "line 1: \"apply_btn\" shows \"Übernehmen\", not \"übernehmen\""},
        {"expect name_edit Sniper", "line 1: \"name_edit\" shows \"Sniper 1\", not \"Sniper\""},
        {"expect rate_combo 125", "line 1: \"rate_combo\" shows \"500\", not \"125\""},
        {"expect no_such_btn OK", "line 1: no control named \"no_such_btn\""},
        {"expect speed_slider 4",
         "line 1: \"speed_slider\" is not a button, label, edit or drop-down"},
    };
    for (const auto& bad : cases) {
        SCOPED_TRACE(bad.script);
        m_failures.clear();
        auto scripted = script((std::string(bad.script) + "\nset speed_slider 9").c_str());
        ASSERT_TRUE(run(*scripted));
        EXPECT_EQ(m_failures, QStringList{QString::fromUtf8(bad.failure)});
        EXPECT_EQ(m_slider->value(), 4) << "the script stops at the failed line";
    }
}

// Keys and clicks reach the window as the desktop's do: the program's own capture reads them
// as the physical keys and buttons, and the widgets under the pointer and with the focus act.
TEST_F(UiScriptWindow, KeysAndClicksReachTheWindowAsADesktopSendsThem) {
    auto* apply_btn = m_window.findChild<QPushButton*>(QStringLiteral("apply_btn"));
    auto* menu_btn = m_window.findChild<QPushButton*>(QStringLiteral("menu_btn"));
    m_window.resize(300, 200);
    apply_btn->setGeometry(10, 10, 80, 30);
    menu_btn->setGeometry(100, 10, 80, 30);
    m_edit->setGeometry(10, 60, 200, 30);
    m_edit->raise();
    int applied = 0;
    QObject::connect(apply_btn, &QPushButton::clicked, [&applied] { ++applied; });
    m_window.show();
    m_window.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&m_window));
    m_edit->setFocus();

    std::vector<InputEvent> captured;
    WindowInputSource source;
    const auto sink = [&captured](const InputEvent& event) { captured.push_back(event); };
    source.install(InputDevice::keyboard, sink);
    source.install(InputDevice::mouse, sink);

    auto scripted = script("key A\npress Shift\nkey B\nkey 1\nrelease Shift\nkey Space\n"
                           "mouse left apply_btn\nmouse right menu_btn\nkey F5\n");
    ASSERT_TRUE(run(*scripted));
    EXPECT_TRUE(m_failures.isEmpty()) << m_failures.join(' ').toStdString();

    EXPECT_EQ(m_edit->text(), QStringLiteral("aB! "));
    EXPECT_EQ(applied, 1);
    EXPECT_TRUE(m_menu == nullptr) << "a right click is no click";
    EXPECT_FALSE(apply_btn->underMouse()) << "the pointer moved on to the next control";
    EXPECT_TRUE(menu_btn->underMouse());
    EXPECT_FALSE(m_edit->hasFocus()) << "the click took the focus";
    const auto key = [](unsigned long virtual_key, bool down) {
        return InputEvent{kKeyboardMessage, virtual_key, down ? 0L : 1L};
    };
    const auto button = [](unsigned long message) { return InputEvent{kMouseMessage, message, 0}; };
    const std::vector<InputEvent> expected{
        key('A', true),     key('A', false),  key(0xA0, true),   key('B', true),
        key('B', false),    key('1', true),   key('1', false),   key(0xA0, false),
        key(' ', true),     key(' ', false),  button(kLeftDown), button(kLeftUp),
        button(kRightDown), button(kRightUp), key(0x74, true),   key(0x74, false),
    };
    EXPECT_EQ(captured, expected);

    m_window.hide();
    auto hidden = script("key A");
    ASSERT_TRUE(run(*hidden));
    EXPECT_EQ(m_failures,
              QStringList{QStringLiteral("line 1: no window is shown to type \"A\" on")});
    m_failures.clear();
    auto not_shown = script("mouse left apply_btn");
    ASSERT_TRUE(run(*not_shown));
    EXPECT_EQ(m_failures, QStringList{QStringLiteral("line 1: \"apply_btn\" is not shown")});
}

TEST_F(UiScriptWindow, ScriptThatCannotBeReadEndsTheProgramWithStatusThree) {
    QTemporaryDir dir;
    const QString broken = dir.filePath(QStringLiteral("broken.txt"));
    QFile file(broken);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write("click open_btn\npress ok_btn\n");
    file.close();

    for (const QString& path : {broken, dir.filePath(QStringLiteral("missing.txt"))}) {
        SCOPED_TRACE(path.toStdString());
        auto scripted = UiScript::start(path, &m_window, {}, {});
        QObject guard;
        QTimer::singleShot(5000, &guard, [] { QCoreApplication::exit(-1); });
        EXPECT_EQ(QApplication::exec(), kUiScriptFailureStatus);
        EXPECT_TRUE(m_dialogResults.empty()); // not even the lines before the broken one
    }
}

} // namespace
} // namespace zemrak::ui
