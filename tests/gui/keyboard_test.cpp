// The window and its dialogs driven from the keyboard alone.

#include "app/main_wnd.h"
#include "macros/edit_macro_name.h"
#include "macros/macro_library.h"
#include "model/light_effects.h"
#include "program_folder.h"
#include "recoil/recoil_library.h"
#include "test_support/library_support.h"
#include "test_support/temp_dir.h"
#include "ui/colour_palette.h"
#include "ui/modal.h"
#include "ui/msg_wnd.h"
#include "ui/popup_menu.h"
#include "ui/select_color_wnd.h"

#include <QAbstractItemView>
#include <QAbstractSlider>
#include <QAbstractSpinBox>
#include <QApplication>
#include <QButtonGroup>
#include <QComboBox>
#include <QDialog>
#include <QKeySequence>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QPushButton>
#include <QStackedWidget>
#include <QTest>
#include <QTimer>
#include <algorithm>
#include <functional>
#include <map>
#include <set>
#include <string_view>
#include <vector>

#include <gtest/gtest.h>

namespace zemrak {
namespace {

// What a user can operate: the parts of a composite control (a combo's edit, a list's scroll
// bars) belong to it and count once.
bool is_control(const QWidget* widget) {
    return qobject_cast<const QAbstractButton*>(widget) != nullptr ||
           qobject_cast<const QAbstractSlider*>(widget) != nullptr ||
           qobject_cast<const QComboBox*>(widget) != nullptr ||
           qobject_cast<const QLineEdit*>(widget) != nullptr ||
           qobject_cast<const QAbstractItemView*>(widget) != nullptr ||
           qobject_cast<const QAbstractSpinBox*>(widget) != nullptr ||
           qobject_cast<const ui::ColourPalette*>(widget) != nullptr;
}

// Every control of `window` a user can see and use now.
std::vector<QWidget*> usable_controls(QWidget* window) {
    std::vector<QWidget*> found;
    for (QWidget* widget : window->findChildren<QWidget*>()) {
        if (widget->window() != window || !widget->isVisible() || !widget->isEnabled() ||
            !is_control(widget)) {
            continue;
        }
        bool part = false;
        for (const QWidget* up = widget->parentWidget(); up != window; up = up->parentWidget()) {
            part = part || is_control(up);
        }
        if (!part) {
            found.push_back(widget);
        }
    }
    return found;
}

QString name_of(const QWidget* widget) {
    return widget == nullptr                ? QStringLiteral("(none)")
           : widget->objectName().isEmpty() ? QString::fromLatin1(widget->metaObject()->className())
                                            : widget->objectName();
}

QRect place_of(const QWidget* widget) {
    return {widget->mapTo(widget->window(), QPoint(0, 0)), widget->size()};
}

// True when going from `from` to `to` reads backwards: leftwards along a line, or upwards
// without moving into a column further right.
bool reads_backwards(const QWidget* from, const QWidget* to) {
    const QRect a = place_of(from);
    const QRect b = place_of(to);
    const bool same_line = b.top() <= a.bottom() && a.top() <= b.bottom();
    if (same_line) {
        return b.center().x() < a.center().x();
    }
    return b.bottom() < a.top() && b.left() < a.right();
}

// The usable options that exclude each other with `widget`, itself included; empty when it
// is no such option.
std::vector<QWidget*> exclusive_set(QWidget* widget) {
    auto* button = qobject_cast<QAbstractButton*>(widget);
    if (button == nullptr || !button->isCheckable()) {
        return {};
    }
    QList<QAbstractButton*> members;
    if (button->group() != nullptr && button->group()->exclusive()) {
        members = button->group()->buttons();
    } else if (button->autoExclusive()) {
        members =
            button->parentWidget()->findChildren<QAbstractButton*>(Qt::FindDirectChildrenOnly);
    }
    std::vector<QWidget*> set;
    for (QAbstractButton* member : members) {
        if (member->isCheckable() && member->isVisible() && member->isEnabled() &&
            (member->group() != nullptr || member->autoExclusive())) {
            set.push_back(member);
        }
    }
    return set;
}

// Every control the arrow keys lead to from `start`, and on from those.
std::set<QWidget*> reached_by_arrows(QWidget* start) {
    std::set<QWidget*> reached{start};
    std::vector<QWidget*> next{start};
    while (!next.empty()) {
        QWidget* from = next.back();
        next.pop_back();
        for (const Qt::Key key : {Qt::Key_Left, Qt::Key_Right, Qt::Key_Up, Qt::Key_Down}) {
            from->setFocus(Qt::TabFocusReason);
            QTest::keyClick(from, key);
            QWidget* now = QApplication::focusWidget();
            if (now != nullptr && reached.insert(now).second) {
                next.push_back(now);
            }
        }
    }
    return reached;
}

void press(int key, Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
    QWidget* target = QApplication::focusWidget();
    if (target == nullptr) {
        target = QApplication::activeWindow();
    }
    ASSERT_NE(nullptr, target) << "no window takes the keys";
    QTest::keyClick(target, static_cast<Qt::Key>(key), modifiers);
}

class KeyboardTest : public ::testing::Test {
protected:
    void SetUp() override {
        // An effect with colours, so the light page shows all its kinds of control.
        ConfigBlock profile = test::profile_named(u"One");
        profile.set_light_mode(kLightColourCycle);
        test::lay_out_program_folder(m_dir.path(), {profile});
        // A macro and a recoil pattern, so their pages show their editors once one is chosen.
        MacroRecord macro = MacroRecord::make_macro(u"Fps", u"Burst");
        MacroAction press;
        press.set_code(0x04);
        press.set_kind(MacroAction::Press);
        macro.set_action(0, press);
        macro.set_action_count(1);
        test::write_bytes(m_dir / "Data" / kMacroFileName,
                          test::image_of({MacroRecord::make_folder(u"Fps"), macro}));
        RecoilRecord pattern = RecoilRecord::make_pattern(u"Rifles", u"Ak");
        pattern.set_bullet_count(3);
        test::write_bytes(m_dir / "Data" / kRecoilFileName,
                          test::image_of({RecoilRecord::make_folder(u"Rifles"), pattern}));
        m_window = test::start_main_window(m_dir.path());
        m_window->activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(m_window.get()));
    }
    void TearDown() override { ui::ModalAnswers::clear(); }

    template <typename T>
    T* control(const char* name) {
        T* found = m_window->findChild<T*>(name);
        EXPECT_NE(nullptr, found) << name;
        return found;
    }
    void focus(const char* name) {
        // A dialog that was shown may have left the window inactive.
        m_window->activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(m_window.get()));
        QWidget* widget = control<QWidget>(name);
        widget->setFocus(Qt::TabFocusReason);
        ASSERT_EQ(widget, QApplication::focusWidget()) << name;
    }

    // The Tab stops once round the window, starting where the focus is.
    std::vector<QWidget*> tab_round() {
        std::vector<QWidget*> stops;
        for (int i = 0; i < 400; ++i) {
            press(Qt::Key_Tab);
            QWidget* now = QApplication::focusWidget();
            if (now == nullptr || (!stops.empty() && now == stops.front())) {
                break;
            }
            stops.push_back(now);
        }
        return stops;
    }

    // The section shown: the selector that is checked and the two page levels.
    std::string shown_section() {
        std::string checked;
        for (const char* name :
             {"key_btn", "performance_btn", "light_btn", "macro_btn", "gun_btn"}) {
            if (control<QPushButton>(name)->isChecked()) {
                checked += name;
            }
        }
        return checked + " " +
               std::to_string(control<QStackedWidget>("config_tab")->currentIndex()) + "/" +
               std::to_string(control<QStackedWidget>("main_tab")->currentIndex());
    }

    test::TempDir m_dir;
    std::unique_ptr<app::CMainWnd> m_window;
};

TEST_F(KeyboardTest, TabReachesEveryControlOfEverySectionOnceInReadingOrder) {
    EXPECT_EQ(m_window.get(), QApplication::focusWidget())
        << "no control wears the focus mark as the window opens";
    press(Qt::Key_Tab);
    EXPECT_EQ("logo_btn", name_of(QApplication::focusWidget()).toStdString());

    for (const char* section :
         {"key_btn", "performance_btn", "light_btn", "macro_btn", "gun_btn"}) {
        SCOPED_TRACE(section);
        QTest::mouseClick(control<QPushButton>(section), Qt::LeftButton);
        // The library pages with an item and its editor shown: its action, its bullet rows.
        if (section == std::string_view("macro_btn")) {
            control<QListWidget>("macro_list")->setCurrentRow(0);
            control<QListWidget>("macro_action_list")->setCurrentRow(0);
        } else if (section == std::string_view("gun_btn")) {
            control<QListWidget>("gun_list")->setCurrentRow(0);
        }
        std::vector<QWidget*> stops = tab_round();
        const auto logo = std::find(stops.begin(), stops.end(), control<QWidget>("logo_btn"));
        ASSERT_NE(stops.end(), logo) << "the header's first control is never reached";
        std::rotate(stops.begin(), logo, stops.end());

        std::map<QWidget*, int> visits;
        for (QWidget* stop : stops) {
            ++visits[stop];
            EXPECT_TRUE(is_control(stop) && stop->isVisible())
                << name_of(stop).toStdString() << " is no usable control";
        }
        // An exclusive set of options is one stop, at one of its options; the arrows lead on
        // from there to the others.
        std::vector<std::vector<QWidget*>> sets;
        for (QWidget* wanted : usable_controls(m_window.get())) {
            const std::vector<QWidget*> set = exclusive_set(wanted);
            if (set.empty()) {
                EXPECT_EQ(1, visits[wanted]) << name_of(wanted).toStdString();
            } else if (set.front() == wanted) {
                sets.push_back(set);
            }
        }
        for (const std::vector<QWidget*>& set : sets) {
            const auto stop = std::find_if(set.begin(), set.end(),
                                           [&](QWidget* option) { return visits[option] > 0; });
            ASSERT_NE(set.end(), stop) << name_of(set.front()).toStdString() << "'s set";
            EXPECT_EQ(1, std::count_if(set.begin(), set.end(),
                                       [&](QWidget* option) { return visits[option] > 0; }))
                << name_of(set.front()).toStdString() << "'s set has more than one stop";
            // The arrows choose as they go: what they change is put back afterwards.
            ConfigBlock& profile = *m_window->store().profiles().current();
            const ConfigBlock before = profile;
            const std::set<QWidget*> reached = reached_by_arrows(*stop);
            for (QWidget* option : set) {
                EXPECT_EQ(1u, reached.count(option)) << name_of(option).toStdString();
            }
            profile = before;
            m_window->refresh_pages();
            QTest::mouseClick(control<QPushButton>(section), Qt::LeftButton);
        }

        for (std::size_t i = 1; i < stops.size(); ++i) {
            EXPECT_FALSE(reads_backwards(stops[i - 1], stops[i]))
                << name_of(stops[i - 1]).toStdString() << " -> " << name_of(stops[i]).toStdString();
        }
        EXPECT_EQ("btn_apply", name_of(stops.back()).toStdString()) << "Apply comes last";
    }
}

TEST_F(KeyboardTest, SectionKeysAndArrowsSwitchSectionsAsAClickDoes) {
    ASSERT_EQ("key_btn 0/0", shown_section());
    // From a control of the page: the next sections in turn, round to the first.
    focus("edit_profile_name");
    for (const char* expected :
         {"performance_btn 0/1", "light_btn 0/2", "macro_btn 1/2", "gun_btn 2/2", "key_btn 0/0"}) {
        press(Qt::Key_Tab, Qt::ControlModifier);
        EXPECT_EQ(expected, shown_section());
    }
    press(Qt::Key_Tab, Qt::ControlModifier | Qt::ShiftModifier);
    EXPECT_EQ("gun_btn 2/0", shown_section());
    press(Qt::Key_PageUp, Qt::ControlModifier);
    EXPECT_EQ("macro_btn 1/0", shown_section());
    press(Qt::Key_PageDown, Qt::ControlModifier);
    press(Qt::Key_PageDown, Qt::ControlModifier);
    EXPECT_EQ("key_btn 0/0", shown_section());
    EXPECT_EQ("key_btn", name_of(QApplication::focusWidget()).toStdString())
        << "the chosen selector has the focus, as after a click";

    // With a selector focused, the arrows move along them.
    press(Qt::Key_Right);
    press(Qt::Key_Right);
    EXPECT_EQ("light_btn 0/2", shown_section());
    press(Qt::Key_Left);
    EXPECT_EQ("performance_btn 0/1", shown_section());
    EXPECT_EQ("performance_btn", name_of(QApplication::focusWidget()).toStdString());
}

TEST_F(KeyboardTest, ReturnAndSpacePressTheFocusedButtonAndEscapeClosesItsMenu) {
    focus("btn_add_profile");
    press(Qt::Key_Return);
    EXPECT_EQ(2, control<QComboBox>("profile_combo")->count());

    // Buttons built with the pages: a stage colour and a cycle colour open the picker.
    focus("light_btn");
    press(Qt::Key_Space);
    ASSERT_EQ("light_btn 0/2", shown_section());
    for (const auto& [section, swatch] : {std::pair{"performance_btn", "mouse_dpi_color1"},
                                          std::pair{"light_btn", "btn_cycle_color_1"}}) {
        QTest::mouseClick(control<QPushButton>(section), Qt::LeftButton);
        for (const int key : {Qt::Key_Return, Qt::Key_Space}) {
            focus(swatch);
            ui::ModalAnswers::queue(ui::kDialogCancel);
            press(key);
            EXPECT_FALSE(ui::ModalAnswers::pending()) << swatch << " opened no picker on " << key;
            ui::ModalAnswers::clear();
        }
    }

    // The profile menu opens on Return and Escape closes it without choosing anything.
    focus("btn_menu_profile");
    press(Qt::Key_Return);
    ui::PopupMenu* menu = ui::PopupMenu::open_menu();
    ASSERT_NE(nullptr, menu) << "no menu opened";
    ASSERT_TRUE(QTest::qWaitFor([] { return QApplication::activePopupWidget() != nullptr; }));
    QTest::keyClick(QApplication::activePopupWidget(), Qt::Key_Escape);
    QApplication::processEvents();
    EXPECT_EQ(nullptr, ui::PopupMenu::open_menu());
    EXPECT_EQ(2, control<QComboBox>("profile_combo")->count());
    EXPECT_EQ("btn_menu_profile", name_of(m_window->focusWidget()).toStdString())
        << "the focus goes back where it was";
}

// Runs a dialog and, once it waits for an answer, works it with `steps` at whatever has its
// focus: a key ("Tab", "Return", "Escape"), "@name" for Tab until that control has the focus,
// or "'text" typed over the focused edit's text. The steps must close the dialog.
int answer_with(const std::function<int()>& run, const QStringList& steps) {
    bool closed = false;
    QTimer::singleShot(0, [&] {
        auto* dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget());
        if (dialog == nullptr) {
            ADD_FAILURE() << "no dialog is running";
            return;
        }
        const auto focused = [dialog] {
            return dialog->focusWidget() != nullptr ? dialog->focusWidget() : dialog;
        };
        for (const QString& step : steps) {
            if (step.startsWith('@')) {
                for (int i = 0; i < 20 && focused()->objectName() != step.mid(1); ++i) {
                    QTest::keyClick(focused(), Qt::Key_Tab);
                }
                EXPECT_EQ(step.mid(1), focused()->objectName()) << "never reached by Tab";
            } else if (step.startsWith('\'')) {
                auto* edit = qobject_cast<QLineEdit*>(focused());
                ASSERT_NE(nullptr, edit) << "no edit has the focus";
                edit->selectAll();
                QTest::keyClicks(edit, step.mid(1));
            } else if (dialog->isVisible()) {
                QTest::keyClick(focused(), static_cast<Qt::Key>(QKeySequence(step)[0].key()));
            }
        }
        closed = !dialog->isVisible();
        if (!closed) {
            dialog->done(-1);
        }
    });
    const int result = run();
    EXPECT_TRUE(closed) << "the keys left the dialog open: " << steps.join(' ').toStdString();
    return result;
}

TEST(DialogKeys, ReturnAcceptsAndEscapeCancelsEveryDialogWhereverTheFocusIs) {
    QWidget owner;
    owner.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&owner));
    ui::ModalAnswers::clear();
    const auto message = [&owner] {
        ui::CMsgWnd box(&owner);
        box.set_message_key(QStringLiteral("delete_profile_text"));
        return box.show_modal();
    };
    QRgb picked = 0;
    const auto picker = [&owner, &picked] {
        ui::CSelectColorWnd dialog(&owner);
        dialog.set_colour(qRgb(1, 2, 3));
        const int result = dialog.show_modal();
        picked = dialog.colour();
        return result;
    };
    const MacroLibrary library{std::filesystem::path("/nonexistent")};
    QString named;
    const auto name = [&owner, &library, &named] {
        pages::CEditMacroName dialog(&owner, library);
        dialog.set_mode(ui::NameMode::add_folder);
        const int result = dialog.show_modal();
        named = dialog.name();
        return result;
    };

    const int ok = ui::kDialogOk;
    const int cancel = ui::kDialogCancel;
    for (const auto& run : {std::function<int()>(message), std::function<int()>(picker)}) {
        EXPECT_EQ(ok, answer_with(run, {"Return"}));
        EXPECT_EQ(cancel, answer_with(run, {"Escape"}));
        EXPECT_EQ(cancel, answer_with(run, {"@cancel_btn", "Return"})) << "Return on Cancel";
        EXPECT_EQ(ok, answer_with(run, {"@cancel_btn", "@ok_btn", "Return"}));
    }
    EXPECT_EQ(ok, answer_with(picker, {"@r_edit", "'200", "Return"}));
    EXPECT_EQ(qRgb(200, 2, 3), picked) << "what was typed is taken";
    EXPECT_EQ(cancel, answer_with(picker, {"@r_edit", "'100", "Escape"}));

    EXPECT_EQ(ok, answer_with(name, {"'Fresh", "Return"}));
    EXPECT_EQ("Fresh", named);
    EXPECT_EQ(cancel, answer_with(name, {"'Other", "Escape"}));
    EXPECT_EQ(cancel, answer_with(name, {"'Other", "@cancel_btn", "Return"})) << "Return on Cancel";
    EXPECT_EQ(ok, answer_with(name, {"'Other", "@ok_btn", "Return"}));
    EXPECT_EQ("Other", named);
}

} // namespace
} // namespace zemrak
