// The macro and recoil pickers on libraries written as files, driven through their real
// controls: what they open on, what choosing a folder or an item does, and what OK returns.

#include "macros/macro_library.h"
#include "pages/buttons/select_gun_wnd.h"
#include "pages/buttons/select_macro_wnd.h"
#include "recoil/recoil_library.h"
#include "test_support/temp_dir.h"
#include "ui/colour_convert.h"
#include "ui/lock_mark.h"
#include "ui/modal.h"
#include "ui/select_color_wnd.h"

#include <QApplication>
#include <QComboBox>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>
#include <QTimer>
#include <functional>

#include <gtest/gtest.h>

namespace zemrak::pages {
namespace {

using test::TempDir;

template <class T>
T* control(QWidget& dialog, const char* name) {
    T* found = dialog.findChild<T*>(name);
    EXPECT_NE(nullptr, found) << name;
    return found;
}

QStringList rows(QListWidget* list) {
    QStringList texts;
    for (int row = 0; row < list->count(); ++row) {
        texts << list->item(row)->text();
    }
    return texts;
}

QStringList rows(QComboBox* combo) {
    QStringList texts;
    for (int row = 0; row < combo->count(); ++row) {
        texts << combo->itemText(row);
    }
    return texts;
}

bool has_lock(const QListWidgetItem* item) {
    return item->icon().cacheKey() == ui::lock_icon().cacheKey();
}

template <class Record>
Record locked(Record record) {
    record.set_locked(true);
    return record;
}

// A library file with the records in order, loaded.
template <class Library, class Record>
void write_library(Library& library, const TempDir& dir, const char* file,
                   std::initializer_list<Record> records) {
    std::vector<std::uint8_t> image;
    for (const Record& record : records) {
        image.insert(image.end(), record.bytes().begin(), record.bytes().end());
    }
    test::write_bytes(dir / "Data" / file, image);
    ASSERT_EQ(records.size(), library.load().loaded);
}

class MacroPickerTest : public ::testing::Test {
protected:
    void SetUp() override {
        ui::ModalAnswers::clear();
        // 0 folder Fps, 1 Fps/Burst, 2 folder Moba, 3 Moba/Combo (locked), 4 FPS/Reload
        // (the folder spelt otherwise), 5 Loose/Stray (no folder entry).
        write_library<MacroLibrary, MacroRecord>(
            m_library, m_dir, kMacroFileName,
            {MacroRecord::make_folder(u"Fps"), MacroRecord::make_macro(u"Fps", u"Burst"),
             MacroRecord::make_folder(u"Moba"), locked(MacroRecord::make_macro(u"Moba", u"Combo")),
             MacroRecord::make_macro(u"FPS", u"Reload"),
             MacroRecord::make_macro(u"Loose", u"Stray")});
    }

    TempDir m_dir;
    MacroLibrary m_library{m_dir.path() / "Data"};
};

TEST_F(MacroPickerTest, OpensOnTheButtonsMacroAndReturnsItWithTheRepeatMode) {
    CSelectMacroWnd dialog(nullptr, m_library, {4, 2, 0});
    auto* folders = control<QComboBox>(dialog, "macro_combo");
    auto* list = control<QListWidget>(dialog, "macro_list");
    EXPECT_EQ(rows(folders), (QStringList{"Fps", "Moba"}));
    EXPECT_TRUE(control<QRadioButton>(dialog, "repeat_3")->isChecked());
    EXPECT_EQ(0, list->count()) << "nothing is listed before the dialog shows";

    dialog.show();
    EXPECT_EQ(0, folders->currentIndex());
    // The folder's macros in library order, its name matched without regard to case.
    EXPECT_EQ(rows(list), (QStringList{"Burst", "Reload"}));
    EXPECT_EQ(1, list->currentRow());
    EXPECT_EQ((LibraryPick{4, 2, 0}), dialog.pick());

    control<QRadioButton>(dialog, "repeat_2")->click();
    control<QPushButton>(dialog, "ok_btn")->click();
    EXPECT_EQ(ui::kDialogOk, dialog.result());
    EXPECT_EQ(4, dialog.pick().position);
    EXPECT_EQ(1, dialog.pick().repeat_mode);
}

TEST_F(MacroPickerTest, AnotherFolderDropsTheChoiceAndALockedMacroCanBePicked) {
    CSelectMacroWnd dialog(nullptr, m_library, {1, 0, 0});
    dialog.show();
    auto* list = control<QListWidget>(dialog, "macro_list");
    ASSERT_EQ(0, list->currentRow());
    EXPECT_EQ(1, dialog.pick().position);

    control<QComboBox>(dialog, "macro_combo")->setCurrentIndex(1);
    EXPECT_EQ(rows(list), (QStringList{"Combo"}));
    EXPECT_EQ(-1, dialog.pick().position) << "OK now would assign no macro";
    // The lock is shown on the locked macro only.
    EXPECT_TRUE(has_lock(list->item(0)));
    EXPECT_FALSE(list->item(0)->toolTip().isEmpty());

    list->setCurrentRow(0);
    EXPECT_EQ(3, dialog.pick().position);
    // Back in the first folder, Burst carries no lock.
    control<QComboBox>(dialog, "macro_combo")->setCurrentIndex(0);
    EXPECT_FALSE(has_lock(list->item(0)));
    EXPECT_EQ(-1, dialog.pick().position);
}

TEST_F(MacroPickerTest, AMacroWhoseFolderIsNotListedStaysChosenUntilAnotherIsPicked) {
    // Stray's folder has no entry: nothing can be selected, but OK keeps what the button has.
    ui::ModalAnswers::queue(ui::kDialogOk);
    CSelectMacroWnd kept(nullptr, m_library, {5, 1, 0});
    EXPECT_EQ(ui::kDialogOk, kept.show_modal());
    EXPECT_EQ((LibraryPick{5, 1, 0}), kept.pick());

    // A button without a macro opens on the first folder.
    CSelectMacroWnd fresh(nullptr, m_library, {-1, 7, 0});
    fresh.show();
    EXPECT_EQ(0, control<QComboBox>(fresh, "macro_combo")->currentIndex());
    EXPECT_EQ(2, control<QListWidget>(fresh, "macro_list")->count());
    EXPECT_EQ(-1, fresh.pick().position);
    EXPECT_EQ(0, fresh.pick().repeat_mode) << "a stored mode outside 0..2 is offered as 0";
    EXPECT_TRUE(control<QRadioButton>(fresh, "repeat_1")->isChecked());

    for (const char* button : {"cancel_btn", "exit_btn"}) {
        CSelectMacroWnd dialog(nullptr, m_library, {1, 0, 0});
        QTimer::singleShot(0, [&dialog, button] { control<QPushButton>(dialog, button)->click(); });
        EXPECT_EQ(ui::kDialogCancel, dialog.show_modal()) << button;
    }
}

TEST(MacroPicker, AnEmptyLibraryGivesEmptyListsAndOkReturnsNothing) {
    ui::ModalAnswers::clear();
    TempDir dir;
    MacroLibrary library(dir.path() / "Data");
    CSelectMacroWnd dialog(nullptr, library, {-1, 0, 0});
    QTimer::singleShot(0, [&dialog] {
        EXPECT_EQ(0, control<QComboBox>(dialog, "macro_combo")->count());
        EXPECT_EQ(0, control<QListWidget>(dialog, "macro_list")->count());
        control<QPushButton>(dialog, "ok_btn")->click();
    });
    EXPECT_EQ(ui::kDialogOk, dialog.show_modal());
    EXPECT_EQ(-1, dialog.pick().position);
}

class GunPickerTest : public ::testing::Test {
protected:
    void SetUp() override {
        ui::ModalAnswers::clear();
        // 0 folder Rifles, 1 Rifles/Ak, 2 Rifles/M4 (locked), 3 folder Smg, 4 Smg/Mp5.
        write_library<RecoilLibrary, RecoilRecord>(
            m_library, m_dir, kRecoilFileName,
            {RecoilRecord::make_folder(u"Rifles"), RecoilRecord::make_pattern(u"Rifles", u"Ak"),
             locked(RecoilRecord::make_pattern(u"Rifles", u"M4")),
             RecoilRecord::make_folder(u"Smg"), RecoilRecord::make_pattern(u"Smg", u"Mp5")});
    }

    // The colour the button is filled with, as drawn.
    static QRgb drawn(QWidget* button) {
        const QImage image = button->grab().toImage();
        return image.pixel(image.width() / 2, image.height() / 2) | 0xFF000000u;
    }

    TempDir m_dir;
    RecoilLibrary m_library{m_dir.path() / "Data"};
};

TEST_F(GunPickerTest, OpensOnThePatternAndAnotherFolderAlwaysDropsIt) {
    CSelectGunWnd dialog(nullptr, m_library, {2, 1, 0x00336699u});
    auto* list = control<QListWidget>(dialog, "gun_list");
    dialog.show();
    EXPECT_EQ(0, control<QComboBox>(dialog, "gun_combo")->currentIndex());
    EXPECT_EQ(rows(list), (QStringList{"Ak", "M4"}));
    EXPECT_EQ(1, list->currentRow());
    EXPECT_TRUE(has_lock(list->item(1))) << "M4 is locked";
    EXPECT_FALSE(has_lock(list->item(0)));
    EXPECT_TRUE(control<QRadioButton>(dialog, "repeat_2")->isChecked());
    EXPECT_EQ((LibraryPick{2, 1, 0x00336699u}), dialog.pick());

    control<QComboBox>(dialog, "gun_combo")->setCurrentIndex(1);
    EXPECT_EQ(-1, dialog.pick().position);
    list->setCurrentRow(0);
    control<QPushButton>(dialog, "ok_btn")->click();
    EXPECT_EQ((LibraryPick{4, 1, 0x00336699u}), dialog.pick());
}

TEST_F(GunPickerTest, TheColourButtonShowsTheColourAndTakesOnlyAnAcceptedPick) {
    CSelectGunWnd dialog(nullptr, m_library, {1, 0, 0x00336699u});
    dialog.show();
    auto* colour = control<QPushButton>(dialog, "btn_gun_color");
    // Stored red lowest: red 0x99, green 0x66, blue 0x33.
    EXPECT_EQ(qRgb(0x99, 0x66, 0x33), drawn(colour));

    const auto answer_colour_picker = [](const char* button, const char* red) {
        QTimer::singleShot(0, [button, red] {
            auto* picker = qobject_cast<ui::CSelectColorWnd*>(QApplication::activeModalWidget());
            ASSERT_NE(nullptr, picker);
            auto* edit = control<QLineEdit>(*picker, "r_edit");
            edit->selectAll();
            QTest::keyClicks(edit, red);
            control<QPushButton>(*picker, button)->click();
        });
    };
    answer_colour_picker("cancel_btn", "10");
    colour->click();
    EXPECT_EQ(0x00336699u, dialog.pick().colour);
    EXPECT_EQ(qRgb(0x99, 0x66, 0x33), drawn(colour));

    answer_colour_picker("ok_btn", "18");
    colour->click();
    EXPECT_EQ(0x00336612u, dialog.pick().colour);
    EXPECT_EQ(qRgb(0x12, 0x66, 0x33), drawn(colour));
    EXPECT_EQ(1, dialog.pick().position) << "the colour leaves the pattern as it is";
}

} // namespace
} // namespace zemrak::pages
