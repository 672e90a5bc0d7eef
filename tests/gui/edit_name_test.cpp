// The name entry dialogs: texts by mode, the accept rule against a library, and how they run.

#include "macros/edit_macro_name.h"
#include "macros/macro_library.h"
#include "recoil/edit_gun_name.h"
#include "recoil/recoil_library.h"
#include "test_support/library_support.h"
#include "test_support/temp_dir.h"
#include "ui/modal.h"
#include "ui/msg_wnd.h"
#include "ui/texts.h"

#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <functional>
#include <memory>
#include <optional>

#include <gtest/gtest.h>

namespace zemrak::ui {
namespace {

using pages::CEditGunName;
using pages::CEditMacroName;

// Records every message box that opens: its text and its owner.
class MessageSpy final : public QObject {
public:
    MessageSpy() { qApp->installEventFilter(this); }
    ~MessageSpy() override { qApp->removeEventFilter(this); }
    MessageSpy(const MessageSpy&) = delete;
    MessageSpy& operator=(const MessageSpy&) = delete;

    QStringList texts;
    QList<QWidget*> owners;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::Show) {
            if (auto* box = qobject_cast<CMsgWnd*>(watched)) {
                texts.append(box->findChild<QLabel*>(QStringLiteral("label_string"))->text());
                owners.append(box->parentWidget());
            }
        }
        return false;
    }
};

template <class Widget>
Widget* child(QWidget& dialog, const char* name) {
    auto* widget = dialog.findChild<Widget*>(QString::fromLatin1(name));
    EXPECT_NE(widget, nullptr) << name;
    return widget;
}

struct Case {
    NameMode mode;
    const char16_t* folder;
    const char16_t* initial;
    const char16_t* typed;
    // Closed with this result, or nullopt: stays open after showing `message`.
    std::optional<int> result;
    const char* message;
};

// Both libraries hold: folder Fps with Burst and Reload, folder Moba with Combo, and a macro
// or pattern filed under Orphans that has no folder entry.
template <class Library, class Record>
void fill(Library& library, Record (*folder)(std::u16string_view),
          Record (*item)(std::u16string_view, std::u16string_view)) {
    test::write_bytes(
        library.file(),
        test::image_of({folder(u"Fps"), item(u"Fps", u"Burst"), item(u"Fps", u"Reload"),
                        folder(u"Moba"), item(u"Moba", u"Combo"), item(u"Orphans", u"Lost")}));
    ASSERT_EQ(6u, library.load().loaded);
}

class EditNameTest : public testing::Test {
protected:
    void SetUp() override {
        ModalAnswers::clear();
        fill(m_macros, &MacroRecord::make_folder, &MacroRecord::make_macro);
        fill(m_recoils, &RecoilRecord::make_folder, &RecoilRecord::make_pattern);
        m_owner.setGeometry(120, 90, 800, 572);
        m_owner.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&m_owner));
    }
    void TearDown() override { ModalAnswers::clear(); }

    std::unique_ptr<CEditName> make(bool macro) {
        if (macro) {
            return std::make_unique<CEditMacroName>(&m_owner, m_macros);
        }
        return std::make_unique<CEditGunName>(&m_owner, m_recoils);
    }

    // Types `c.typed` into a shown dialog and presses OK; a message box that opens is
    // answered at once.
    void check(CEditName& dialog, const Case& c) {
        const QString typed = QString::fromUtf16(c.typed);
        SCOPED_TRACE(static_cast<int>(c.mode));
        SCOPED_TRACE(typed.toStdString());
        dialog.set_mode(c.mode);
        dialog.set_folder_name(QString::fromUtf16(c.folder));
        dialog.set_name(QString::fromUtf16(c.initial));
        dialog.show();
        auto* edit = child<QLineEdit>(dialog, "edit_name");
        edit->clear();
        QTest::keyClicks(edit, typed);

        MessageSpy spy;
        ModalAnswers::queue(kDialogOk);
        QTest::mouseClick(child<QPushButton>(dialog, "ok_btn"), Qt::LeftButton);

        if (c.result) {
            EXPECT_FALSE(dialog.isVisible());
            EXPECT_EQ(*c.result, dialog.result());
            EXPECT_TRUE(spy.texts.isEmpty()) << spy.texts.join('|').toStdString();
            if (*c.result == kDialogOk) {
                EXPECT_EQ(typed, dialog.name());
            }
        } else {
            EXPECT_TRUE(dialog.isVisible()) << "the dialog stays open";
            ASSERT_EQ(1, spy.texts.size());
            EXPECT_EQ(Texts::text(c.message), spy.texts.front());
            EXPECT_EQ(&dialog, spy.owners.front()) << "the box is owned by the dialog";
            dialog.reject();
        }
        ModalAnswers::clear();
    }

    test::TempDir m_dir;
    MacroLibrary m_macros{m_dir.path()};
    RecoilLibrary m_recoils{m_dir.path()};
    QWidget m_owner;
};

const Case kCases[] = {
    // Add folder: an empty entry ends like cancel; any record's folder name is taken.
    {NameMode::add_folder, u"", u"", u"", kDialogCancel, nullptr},
    {NameMode::add_folder, u"", u"", u"fPS", std::nullopt, "same_macro_dir_text"},
    {NameMode::add_folder, u"", u"", u"ORPHANS", std::nullopt, "same_macro_dir_text"},
    {NameMode::add_folder, u"", u"", u"Arena", kDialogOk, nullptr},
    // Add item: taken only within its own folder.
    {NameMode::add_item, u"Fps", u"", u"", kDialogCancel, nullptr},
    {NameMode::add_item, u"Fps", u"", u"BURST", std::nullopt, "same_macro_text"},
    {NameMode::add_item, u"Moba", u"", u"Burst", kDialogOk, nullptr},
    // Rename folder: the same name in other case changes nothing; a cleared edit is refused.
    {NameMode::rename_folder, u"", u"Moba", u"MOBA", kDialogCancel, nullptr},
    {NameMode::rename_folder, u"", u"Moba", u"", std::nullopt, "no_name_text"},
    {NameMode::rename_folder, u"", u"Moba", u"Fps", std::nullopt, "same_macro_dir_text"},
    {NameMode::rename_folder, u"", u"Moba", u"Lane", kDialogOk, nullptr},
    // Rename item.
    {NameMode::rename_item, u"Fps", u"Burst", u"burst", kDialogCancel, nullptr},
    {NameMode::rename_item, u"Fps", u"Burst", u"", std::nullopt, "no_name_text"},
    {NameMode::rename_item, u"Fps", u"Burst", u"reload", std::nullopt, "same_macro_text"},
    {NameMode::rename_item, u"Moba", u"Combo", u"Reload", kDialogOk, nullptr},
};

TEST_F(EditNameTest, MacroDialogAcceptRuleInEveryMode) {
    for (const Case& c : kCases) {
        check(*make(true), c);
    }
}

TEST_F(EditNameTest, RecoilDialogAcceptRuleInEveryMode) {
    for (const Case& c : kCases) {
        check(*make(false), c);
    }
}

TEST_F(EditNameTest, TitleAndPromptFollowTheMode) {
    const char* macro_keys[4][2] = {{"add_macro_dir_text", "input_macro_dir_text"},
                                    {"add_macro_text", "input_macro_text"},
                                    {"rename_macro_dir_text", "input_macro_dir_text"},
                                    {"rename_macro_text", "input_macro_text"}};
    const char* gun_keys[4][2] = {{"add_gun_dir_text", "input_gun_dir_text"},
                                  {"add_gun_text", "input_gun_text"},
                                  {"rename_gun_dir_text", "input_gun_dir_text"},
                                  {"rename_gun_text", "input_gun_text"}};
    for (const bool macro : {true, false}) {
        const auto dialog = make(macro);
        EXPECT_EQ(macro ? QStringLiteral("EditMacroName") : QStringLiteral("EditGunName"),
                  dialog->objectName());
        for (int mode = 0; mode < 4; ++mode) {
            const auto& keys = macro ? macro_keys[mode] : gun_keys[mode];
            dialog->set_mode(static_cast<NameMode>(mode));
            const QString title = child<QLabel>(*dialog, "label_title")->text();
            EXPECT_FALSE(title.isEmpty());
            EXPECT_EQ(Texts::text(keys[0]), title);
            EXPECT_EQ(Texts::text(keys[1]), child<QLabel>(*dialog, "label_string")->text());
        }
    }
}

TEST_F(EditNameTest, NamesStopAtFortyNineCharacters) {
    const auto dialog = make(true);
    dialog->set_mode(NameMode::add_folder);
    dialog->set_name(QString(60, QLatin1Char('a')));
    EXPECT_EQ(49, dialog->name().size()) << "a long initial name is cut";
    dialog->set_name({});
    dialog->show();
    QTest::keyClicks(child<QLineEdit>(*dialog, "edit_name"), QString(60, QLatin1Char('b')));
    QTest::mouseClick(child<QPushButton>(*dialog, "ok_btn"), Qt::LeftButton);
    EXPECT_EQ(kDialogOk, dialog->result());
    EXPECT_EQ(QString(49, QLatin1Char('b')), dialog->name());
}

TEST_F(EditNameTest, RunsModallyOverItsOwner) {
    const auto dialog = make(false);
    dialog->set_mode(NameMode::rename_item);
    dialog->set_folder_name(QStringLiteral("Fps"));
    dialog->set_name(QStringLiteral("Burst"));

    QPoint offset(1000, 1000);
    QString shown;
    QTimer::singleShot(0, [&] {
        auto* open = qobject_cast<CEditName*>(QApplication::activeModalWidget());
        if (open == nullptr) {
            ADD_FAILURE() << "the dialog is not running modally";
            dialog->done(-1);
            return;
        }
        offset = open->frameGeometry().center() - m_owner.frameGeometry().center();
        auto* edit = child<QLineEdit>(*open, "edit_name");
        shown = edit->text();
        edit->setText(QStringLiteral("Spray"));
        QTest::keyClick(edit, Qt::Key_Return);
    });
    EXPECT_EQ(kDialogOk, dialog->show_modal());
    EXPECT_EQ(QStringLiteral("Burst"), shown);
    EXPECT_EQ(QStringLiteral("Spray"), dialog->name());
    EXPECT_LE(offset.manhattanLength(), 2) << offset.x() << "," << offset.y();

    for (const char* button : {"cancel_btn", "exit_btn"}) {
        QTimer::singleShot(0, [&dialog, button] {
            child<QLineEdit>(*dialog, "edit_name")->setText(QStringLiteral("Other"));
            QTest::mouseClick(child<QPushButton>(*dialog, button), Qt::LeftButton);
        });
        EXPECT_EQ(kDialogCancel, dialog->show_modal()) << button;
        EXPECT_EQ(QStringLiteral("Spray"), dialog->name()) << "a cancelled entry is not taken";
    }
    ModalAnswers::queue(7);
    EXPECT_EQ(kDialogCancel, dialog->show_modal()) << "an odd close code is no acceptance";
}

} // namespace
} // namespace zemrak::ui
