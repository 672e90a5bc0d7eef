// The message box: what each way of closing answers, the texts it shows and where it opens.

#include "ui/modal.h"
#include "ui/msg_wnd.h"
#include "ui/texts.h"

#include <QApplication>
#include <QLabel>
#include <QPushButton>
#include <QScreen>
#include <QTest>
#include <QTimer>
#include <functional>
#include <utility>
#include <vector>

#include <gtest/gtest.h>

namespace zemrak::ui {
namespace {

// The box that is running modally now; closes any stray box so a failing test cannot hang.
CMsgWnd* open_box() {
    auto* box = qobject_cast<CMsgWnd*>(QApplication::activeModalWidget());
    if (box == nullptr) {
        ADD_FAILURE() << "no message box is running modally";
        for (QWidget* widget : QApplication::topLevelWidgets()) {
            if (auto* stray = qobject_cast<CMsgWnd*>(widget); stray && stray->isVisible()) {
                stray->done(-1);
            }
        }
    }
    return box;
}

// Runs `action` on the box once its modal loop is running.
void when_open(std::function<void(CMsgWnd&)> action) {
    QTimer::singleShot(0, [action = std::move(action)] {
        if (CMsgWnd* box = open_box()) {
            action(*box);
        }
    });
}

QPushButton* button(CMsgWnd& box, const char* name) {
    return box.findChild<QPushButton*>(QString::fromLatin1(name));
}

QLabel* label(CMsgWnd& box, const char* name) {
    return box.findChild<QLabel*>(QString::fromLatin1(name));
}

void click(CMsgWnd& box, const char* name) {
    QPushButton* target = button(box, name);
    if (target == nullptr) {
        ADD_FAILURE() << "the box has no " << name;
        box.done(-1);
        return;
    }
    QTest::mouseClick(target, Qt::LeftButton);
}

class MsgWndTest : public testing::Test {
protected:
    void SetUp() override {
        ModalAnswers::clear();
        m_owner.setGeometry(120, 90, 800, 572);
        m_owner.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&m_owner));
    }
    void TearDown() override { ModalAnswers::clear(); }

    int ask(const std::function<void(CMsgWnd&)>& action) {
        CMsgWnd box(&m_owner);
        box.set_title_key(QStringLiteral("warning_title_text"));
        box.set_message_key(QStringLiteral("delete_profile_text"));
        when_open(action);
        return box.show_modal();
    }

    QWidget m_owner;
};

TEST_F(MsgWndTest, OnlyTheOkButtonAnswersYes) {
    const std::pair<const char*, int> cases[] = {
        {"ok_btn", kDialogOk}, {"cancel_btn", kDialogCancel}, {"exit_btn", kDialogCancel}};
    for (const auto& [name, expected] : cases) {
        SCOPED_TRACE(name);
        EXPECT_EQ(ask([name](CMsgWnd& box) { click(box, name); }), expected);
    }
}

TEST_F(MsgWndTest, EveryOtherWayOfClosingAnswersNo) {
    EXPECT_EQ(ask([](CMsgWnd& box) { QTest::keyClick(&box, Qt::Key_Escape); }), kDialogCancel);
    EXPECT_EQ(ask([](CMsgWnd& box) { box.close(); }), kDialogCancel);
    // A close code that is neither answer must not be taken for a yes.
    EXPECT_EQ(ask([](CMsgWnd& box) { box.done(7); }), kDialogCancel);
}

TEST_F(MsgWndTest, QueuedAnswersCloseTheBoxWithoutAClick) {
    ModalAnswers::queue(kDialogOk);
    ModalAnswers::queue(kDialogCancel);
    ModalAnswers::queue(7);
    const QString title = QStringLiteral("warning_title_text");
    const QString message = QStringLiteral("reset_profile_text");
    EXPECT_EQ(show_message(&m_owner, title, message), kDialogOk);
    EXPECT_EQ(show_message(&m_owner, title, message), kDialogCancel);
    EXPECT_EQ(show_message(&m_owner, title, message), kDialogCancel);
    EXPECT_FALSE(ModalAnswers::pending());
    EXPECT_EQ(QApplication::activeModalWidget(), nullptr);
}

TEST_F(MsgWndTest, ShowMessageOpensABoxOverTheOwnerWithTheGivenKeys) {
    QString title;
    QString message;
    QWidget* parent = nullptr;
    when_open([&](CMsgWnd& box) {
        title = label(box, "label_title")->text();
        message = label(box, "label_string")->text();
        parent = box.parentWidget();
        click(box, "ok_btn");
    });
    EXPECT_EQ(show_message(&m_owner, QStringLiteral("warning_title_text"),
                           QStringLiteral("no_name_text")),
              kDialogOk);
    EXPECT_EQ(title, QStringLiteral("Warning"));
    EXPECT_EQ(message, Texts::text(std::string_view("no_name_text")));
    EXPECT_FALSE(message.isEmpty());
    EXPECT_EQ(parent, &m_owner);
}

TEST_F(MsgWndTest, LabelsAndButtonsShowTheLanguageTexts) {
    CMsgWnd box(&m_owner);
    EXPECT_EQ(box.objectName(), QStringLiteral("MsgWnd"));
    box.set_title_key(QStringLiteral("warning_title_text"));
    box.set_message_key(QStringLiteral("delete_profile_text"));
    EXPECT_EQ(label(box, "label_title")->text(), QStringLiteral("Warning"));
    EXPECT_EQ(label(box, "label_string")->text(), QStringLiteral("Delete the current profile?"));
    EXPECT_EQ(button(box, "ok_btn")->text(), QStringLiteral("OK"));
    EXPECT_EQ(button(box, "cancel_btn")->text(), QStringLiteral("Cancel"));
    EXPECT_FALSE(button(box, "exit_btn")->text().isEmpty());

    // A key the language file lacks shows nothing, not the key and not the previous text.
    box.set_title_key(QStringLiteral("no_such_title_text"));
    box.set_message_key(QStringLiteral("no_such_message_text"));
    EXPECT_TRUE(label(box, "label_title")->text().isEmpty());
    EXPECT_TRUE(label(box, "label_string")->text().isEmpty());
}

TEST_F(MsgWndTest, OpensCentredOverItsOwnerWithTheWholeMessageVisible) {
    QRect box_geometry;
    QLabel* message = nullptr;
    bool message_fits = false;
    int message_height = 0;
    CMsgWnd box(&m_owner);
    box.set_title_key(QStringLiteral("warning_title_text"));
    box.set_message_key(QStringLiteral("one_left_click_text"));
    when_open([&](CMsgWnd& open) {
        box_geometry = open.frameGeometry();
        message = label(open, "label_string");
        message_fits = message->height() >= message->heightForWidth(message->width()) &&
                       message->geometry().right() < open.width();
        message_height = message->height();
        click(open, "ok_btn");
    });
    ASSERT_EQ(box.show_modal(), kDialogOk);

    const QPoint offset = box_geometry.center() - m_owner.frameGeometry().center();
    EXPECT_LE(offset.manhattanLength(), 2) << offset.x() << "," << offset.y();
    // The longest message of the program wraps onto more lines instead of widening the box.
    EXPECT_TRUE(message_fits);
    EXPECT_GT(message_height, message->fontMetrics().height() * 3 / 2);
    EXPECT_LT(box_geometry.width(), m_owner.width());
}

TEST_F(MsgWndTest, AThirdAnswerIsShownWholeBesideOkAndCancel) {
    CMsgWnd box(&m_owner);
    box.set_title_key(QStringLiteral("warning_title_text"));
    box.set_message_key(QStringLiteral("no_connect_device_text"));
    box.add_choice(QStringLiteral("explore_simulated_text"));
    std::vector<std::pair<int, int>> widths; // shown and needed, per button
    when_open([&](CMsgWnd& open) {
        for (const char* name : {"choice_btn", "ok_btn", "cancel_btn"}) {
            const QPushButton* shown = button(open, name);
            widths.emplace_back(shown->width(), shown->sizeHint().width());
        }
        click(open, "choice_btn");
    });
    EXPECT_EQ(kDialogChoice, box.show_modal());
    ASSERT_EQ(3u, widths.size());
    for (const auto& [shown, needed] : widths) {
        EXPECT_GE(shown, needed) << "a button's text is cut";
    }
}

TEST_F(MsgWndTest, OpensInTheMiddleOfTheScreenWhileTheOwnerIsHidden) {
    m_owner.hide();
    QRect box_geometry;
    EXPECT_EQ(ask([&](CMsgWnd& box) {
                  box_geometry = box.frameGeometry();
                  click(box, "cancel_btn");
              }),
              kDialogCancel);
    const QRect screen = m_owner.screen()->availableGeometry();
    EXPECT_TRUE(screen.contains(box_geometry));
    const QPoint offset = box_geometry.center() - screen.center();
    EXPECT_LE(offset.manhattanLength(), 2) << offset.x() << "," << offset.y();
}

} // namespace
} // namespace zemrak::ui
