// The window and its dialogs driven from the keyboard alone.

#include "app/main_wnd.h"
#include "macros/edit_macro_name.h"
#include "macros/macro_library.h"
#include "model/light_effects.h"
#include "program_folder.h"
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
#include <QMenu>
#include <QPushButton>
#include <QStackedWidget>
#include <QTest>
#include <QTimer>
#include <algorithm>
#include <functional>
#include <map>
#include <set>
#include <vector>

#include <gtest/gtest.h>

namespace zemrak {
namespace {

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
