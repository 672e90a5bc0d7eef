// The recoil page in the real main window: patterns edited row by row and on the drawn path,
// folders, import and export, with the library laid out as gun.bin and read back from it.

#include "app/main_wnd.h"
#include "model/button_functions.h"
#include "program_folder.h"
#include "recoil/gun_page.h"
#include "recoil/pattern_plot.h"
#include "test_support/library_support.h"
#include "test_support/temp_dir.h"
#include "test_support/unreadable_file.h"
#include "ui/file_dialogs.h"
#include "ui/modal.h"
#include "ui/msg_wnd.h"
#include "ui/popup_menu.h"

#include <QAbstractButton>
#include <QApplication>
#include <QComboBox>
#include <QDialog>
#include <QFocusEvent>
#include <QFrame>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMouseEvent>
#include <QPushButton>
#include <QTimer>
#include <functional>

#include <gtest/gtest.h>

namespace zemrak::pages {
namespace {

using test::TempDir;

std::vector<std::uint8_t> image_of(std::initializer_list<RecoilRecord> records) {
    std::vector<std::uint8_t> image;
    for (const RecoilRecord& record : records) {
        image.insert(image.end(), record.bytes().begin(), record.bytes().end());
    }
    return image;
}

// A pattern whose every slot is told apart: slot i moves (i, 2i) and waits 20 + i.
RecoilRecord pattern(std::u16string_view folder, std::u16string_view name) {
    RecoilRecord record = RecoilRecord::make_pattern(folder, name);
    for (std::size_t slot = 0; slot < RecoilRecord::kMaxBullets; ++slot) {
        const auto i = static_cast<std::int32_t>(slot);
        record.set_bullet(slot, Bullet{i, 2 * i, static_cast<std::uint16_t>(20 + i)});
    }
    return record;
}

RecoilRecord locked(RecoilRecord record) {
    record.set_locked(true);
    return record;
}

// Runs `answer` on the modal dialog open when the event loop next turns, then closes it with
// `code` unless the answer closed it.
void when_modal(std::function<void(QDialog&)> answer, int code = ui::kDialogOk) {
    QTimer::singleShot(0, [answer = std::move(answer), code] {
        auto* dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget());
        ASSERT_NE(nullptr, dialog);
        answer(*dialog);
        if (dialog->isVisible()) {
            dialog->done(code);
        }
    });
}

// Types `name` into the name dialog that opens next and presses OK.
void answer_name(const QString& name) {
    when_modal([name](QDialog& dialog) {
        dialog.findChild<QLineEdit*>("edit_name")->setText(name);
        dialog.findChild<QPushButton*>("ok_btn")->click();
    });
}

class GunPageTest : public ::testing::Test {
protected:
    void start(const std::vector<std::uint8_t>& recoils,
               const ConfigBlock& profile = test::profile_named(u"P")) {
        test::lay_out_program_folder(m_dir.path(), {profile});
        if (!recoils.empty()) {
            test::write_bytes(gun_bin(), recoils);
        }
        m_window = test::start_main_window(m_dir.path());
        m_window->findChild<QAbstractButton*>("gun_btn")->click();
        QApplication::processEvents();
    }
    void TearDown() override {
        ui::FileDialogAnswers::clear();
        ui::ModalAnswers::clear();
    }

    [[nodiscard]] std::filesystem::path gun_bin() const { return m_dir / "Data" / "gun.bin"; }
    CGunPage& page() { return m_window->gun_page(); }
    // The page's own control (the pickers have controls of the same names).
    template <class T>
    T* control(const QString& name) {
        auto* found = m_window->findChild<QWidget*>("gun_page_ver")->findChild<T*>(name);
        EXPECT_NE(nullptr, found) << name.toStdString();
        return found;
    }
    QLineEdit* edit(const char* field, int row) {
        return control<QLineEdit>(QStringLiteral("edit_zidan_%1_%2").arg(field).arg(row));
    }
    QPushButton* step(const char* name, int row) {
        return control<QPushButton>(QStringLiteral("zidan_%1_btn_%2").arg(name).arg(row));
    }
    bool row_shown(int row) {
        return control<QFrame>(QStringLiteral("ver_zidan_num_%1").arg(row))
            ->isVisibleTo(m_window.get());
    }
    static void type_and_leave(QLineEdit* edit, const QString& text) {
        edit->setText(text);
        QFocusEvent out(QEvent::FocusOut);
        QApplication::sendEvent(edit, &out);
    }
    void select(int row) { control<QListWidget>("gun_list")->setCurrentRow(row); }
    // The record at `position` as gun.bin holds it now.
    RecoilRecord stored(std::int32_t position) {
        const std::vector<std::uint8_t> bytes = test::read_bytes(gun_bin());
        RecoilRecord record;
        const auto from = static_cast<std::size_t>(position) * RecoilRecord::kSize;
        EXPECT_LE(from + RecoilRecord::kSize, bytes.size());
        if (from + RecoilRecord::kSize <= bytes.size()) {
            std::copy_n(bytes.begin() + static_cast<std::ptrdiff_t>(from), RecoilRecord::kSize,
                        record.bytes().begin());
        }
        return record;
    }
    QStringList listed() {
        QStringList names;
        auto* list = control<QListWidget>("gun_list");
        for (int row = 0; row < list->count(); ++row) {
            names << list->item(row)->text();
        }
        return names;
    }
    void command(const QString& item) {
        m_window->dispatch_menu(item);
        QApplication::processEvents();
    }

    TempDir m_dir;
    std::unique_ptr<app::CMainWnd> m_window;
};

TEST_F(GunPageTest, EveryEditOfARowIsStoredInItsOwnSlotAtOnce) {
    start(image_of({RecoilRecord::make_folder(u"Rifles"), pattern(u"Rifles", u"Ak")}));
    select(0);
    ASSERT_EQ(1, page().current_position());
    EXPECT_EQ("4", edit("x", 5)->text());
    EXPECT_EQ("Ak", control<QLineEdit>("edit_gun_name")->text());

    type_and_leave(edit("x", 3), "300");
    EXPECT_EQ("127", edit("x", 3)->text());
    EXPECT_EQ((Bullet{127, 4, 22}), stored(1).bullet(2));
    type_and_leave(edit("delay", 2), "5");
    EXPECT_EQ("10", edit("delay", 2)->text());
    EXPECT_EQ(10, stored(1).bullet(1).delay);
    type_and_leave(edit("delay", 2), "2000");
    EXPECT_EQ("1270", edit("delay", 2)->text());
    EXPECT_EQ(1270, stored(1).bullet(1).delay);

    // Row 3's x buttons: "down" adds, "up" takes away, beyond the typing limit too.
    step("x_down", 3)->click();
    EXPECT_EQ("128", edit("x", 3)->text());
    EXPECT_EQ(128, stored(1).bullet(2).x);
    step("x_up", 3)->click();
    step("x_up", 3)->click();
    EXPECT_EQ(126, stored(1).bullet(2).x);
    EXPECT_EQ((Bullet{3, 6, 23}), stored(1).bullet(3)) << "row 4 is left alone";

    // The delay steps below the typing minimum, and no further than 1.
    type_and_leave(edit("delay", 4), "10");
    step("delay_down", 4)->click();
    EXPECT_EQ(9, stored(1).bullet(3).delay);
    for (int press = 0; press < 10; ++press) {
        step("delay_down", 4)->click();
    }
    EXPECT_EQ("1", edit("delay", 4)->text());
    EXPECT_EQ(1, stored(1).bullet(3).delay);

    // Pasted text keeps its digits only, and is stored when the edit is left.
    QLineEdit* y = edit("y", 6);
    y->clear();
    y->insert("1a2b3");
    EXPECT_EQ("123", y->text());
    QFocusEvent out(QEvent::FocusOut);
    QApplication::sendEvent(y, &out);
    EXPECT_EQ(123, stored(1).bullet(5).y);
}

TEST_F(GunPageTest, ABulletCountShowsThatManyRowsAndKeepsEverySlot) {
    const RecoilRecord ak = pattern(u"Rifles", u"Ak");
    start(image_of({RecoilRecord::make_folder(u"Rifles"), ak}));
    select(0);
    EXPECT_TRUE(row_shown(30));
    control<QComboBox>("zidan_combo")->setCurrentIndex(4);
    EXPECT_EQ(5, page().shown_count());
    for (int row = 1; row <= 30; ++row) {
        EXPECT_EQ(row <= 5, row_shown(row)) << row;
    }
    const RecoilRecord saved = stored(1);
    EXPECT_EQ(5, saved.bullet_count());
    RecoilRecord expected = ak;
    expected.set_bullet_count(5);
    EXPECT_EQ(expected, saved) << "all 30 slots are written as they were";
    EXPECT_EQ(30, control<QComboBox>("zidan_combo")->count());

    // Shown again from the library, the pattern has its five rows.
    select(-1);
    select(0);
    EXPECT_EQ(5, page().shown_count());
    EXPECT_TRUE(row_shown(5));
    EXPECT_FALSE(row_shown(6));
}

TEST_F(GunPageTest, ALockedPatternShowsNothingAndIsNeverChanged) {
    const RecoilRecord secret = locked(pattern(u"Rifles", u"Secret"));
    start(image_of({RecoilRecord::make_folder(u"Rifles"), pattern(u"Rifles", u"Ak"), secret}));
    const auto before = test::read_bytes(gun_bin());
    auto* list = control<QListWidget>("gun_list");
    ASSERT_EQ(2, list->count());
    EXPECT_FALSE(list->item(1)->icon().cacheKey() == list->item(0)->icon().cacheKey())
        << "the locked entry wears the padlock";
    select(1);
    EXPECT_EQ(2, page().current_position());
    for (int row = 1; row <= 30; ++row) {
        EXPECT_FALSE(row_shown(row)) << row;
    }
    EXPECT_EQ("", control<QLineEdit>("edit_gun_name")->text());
    EXPECT_EQ("0", edit("x", 1)->text());
    EXPECT_FALSE(page().plot()->shows_pattern());
    EXPECT_FALSE(page().plot()->message().isEmpty());

    // Nothing reaches its bullets: not the count, not a row, not the name field.
    control<QComboBox>("zidan_combo")->setCurrentIndex(2);
    type_and_leave(edit("x", 1), "50");
    step("x_down", 1)->click();
    type_and_leave(control<QLineEdit>("edit_gun_name"), "Open");
    EXPECT_EQ(before, test::read_bytes(gun_bin()));

    // It can still be renamed from the menu.
    answer_name("Marksman");
    command("rename_gun");
    EXPECT_EQ(u"Marksman", stored(2).item_name());
    EXPECT_TRUE(stored(2).locked());
    EXPECT_EQ(QStringList({"Ak", "Marksman"}), listed());
}

TEST_F(GunPageTest, DeletingTheLastPatternOfAFolderLeavesNothingShown) {
    start(image_of({RecoilRecord::make_folder(u"Rifles"), pattern(u"Rifles", u"Ak"),
                    RecoilRecord::make_folder(u"Smg"), pattern(u"Smg", u"Uzi")}));
    control<QComboBox>("gun_combo")->setCurrentIndex(1);
    EXPECT_EQ(QStringList({"Uzi"}), listed());
    select(0);
    EXPECT_EQ(3, page().current_position());

    when_modal([](QDialog&) {}, ui::kDialogOk);
    control<QPushButton>("btn_delete_gun")->click();
    EXPECT_TRUE(listed().isEmpty());
    EXPECT_EQ(-1, page().current_position());
    EXPECT_FALSE(row_shown(1));
    EXPECT_EQ("", control<QLineEdit>("edit_gun_name")->text());
    EXPECT_FALSE(page().plot()->shows_pattern());
    EXPECT_EQ(3 * RecoilRecord::kSize, test::read_bytes(gun_bin()).size());
    EXPECT_EQ(u"Smg", stored(2).folder_name());
    EXPECT_EQ(2, control<QComboBox>("gun_combo")->count()) << "the folder stays";

    // In a longer list the pattern after the deleted one takes its place.
    control<QComboBox>("gun_combo")->setCurrentIndex(0);
    answer_name("Famas");
    control<QPushButton>("btn_add_gun")->click();
    EXPECT_EQ(QStringList({"Ak", "Famas"}), listed());
    EXPECT_EQ(3, page().current_position());
    select(0);
    when_modal([](QDialog&) {}, ui::kDialogOk);
    control<QPushButton>("btn_delete_gun")->click();
    EXPECT_EQ(QStringList({"Famas"}), listed());
    EXPECT_EQ(2, page().current_position()) << "the library closed up";
    EXPECT_EQ("Famas", control<QLineEdit>("edit_gun_name")->text());
    EXPECT_EQ("10", edit("delay", 30)->text()) << "a new pattern";

    // Deleting a folder takes its patterns along; the next folder opens, and with none left
    // nothing is shown.
    for (const int left : {1, 0}) {
        when_modal([](QDialog&) {}, ui::kDialogOk);
        control<QPushButton>("btn_delete_gun_floder")->click();
        EXPECT_EQ(left, control<QComboBox>("gun_combo")->count());
    }
    EXPECT_EQ(-1, page().current_folder());
    EXPECT_TRUE(listed().isEmpty());
    EXPECT_EQ(-1, page().current_position());
    EXPECT_FALSE(page().plot()->shows_pattern());
    EXPECT_TRUE(test::read_bytes(gun_bin()).empty());
}

TEST_F(GunPageTest, ImportedPatternsTakeFreeNamesAndLockedFoldersComeBackLocked) {
    const RecoilRecord ak = pattern(u"Rifles", u"Ak");
    start(image_of({RecoilRecord::make_folder(u"Rifles"), ak}));
    select(0);
    const std::filesystem::path file = m_dir / "ak.gbin";
    // The pattern menu opens under its button and its items run through the window.
    control<QPushButton>("btn_menu_gun")->click();
    ui::PopupMenu* menu = ui::PopupMenu::open_menu();
    ASSERT_NE(nullptr, menu);
    EXPECT_EQ(QStringList({"rename_gun", "import_gun", "export_gun", "export_pw_gun"}),
              menu->item_names());
    ui::FileDialogAnswers::queue(QString::fromStdString(file.string()));
    ASSERT_TRUE(menu->choose("export_gun"));
    QApplication::processEvents();
    EXPECT_EQ(test::bytes_of(ak.bytes()), test::read_bytes(file));

    for (int copy = 0; copy < 2; ++copy) {
        ui::FileDialogAnswers::queue(QString::fromStdString(file.string()));
        command("import_gun");
    }
    EXPECT_EQ(QStringList({"Ak", "ak_1", "ak_2"}), listed());
    EXPECT_EQ(3, page().current_position()) << "the import is shown";
    EXPECT_EQ("ak_2", control<QLineEdit>("edit_gun_name")->text());

    // A file that is not one pattern is refused with a message, and nothing is added.
    const std::filesystem::path bad = m_dir / "bad.gbin";
    test::write_bytes(bad, std::vector<std::uint8_t>(RecoilRecord::kSize - 1, 1));
    const auto before = test::read_bytes(gun_bin());
    QString said;
    when_modal([&said](QDialog& box) {
        for (const QLabel* label : box.findChildren<QLabel*>()) {
            said += label->text();
        }
    });
    ui::FileDialogAnswers::queue(QString::fromStdString(bad.string()));
    command("import_gun");
    EXPECT_TRUE(said.contains("bad.gbin")) << said.toStdString();
    EXPECT_EQ(before, test::read_bytes(gun_bin()));
    EXPECT_EQ(3, listed().size());

    // The folder, exported locked, comes back as a second folder of locked patterns; the
    // folder it came from stays open to edit.
    const std::filesystem::path folder = m_dir / "Rifles.gbins";
    control<QPushButton>("btn_menu_gun_floder")->click();
    menu = ui::PopupMenu::open_menu();
    ASSERT_NE(nullptr, menu);
    EXPECT_EQ(
        QStringList({"rename_gun_dir", "import_gun_dir", "export_gun_dir", "export_pw_gun_dir"}),
        menu->item_names());
    ui::FileDialogAnswers::queue(QString::fromStdString(folder.string()));
    ASSERT_TRUE(menu->choose("export_pw_gun_dir"));
    QApplication::processEvents();
    ui::FileDialogAnswers::queue(QString::fromStdString(folder.string()));
    command("import_gun_dir");
    auto* folders = control<QComboBox>("gun_combo");
    ASSERT_EQ(2, folders->count());
    EXPECT_EQ("Rifles_1", folders->itemText(1));
    EXPECT_EQ(1, folders->currentIndex());
    EXPECT_EQ(QStringList({"Ak", "ak_1", "ak_2"}), listed());
    select(0);
    EXPECT_FALSE(row_shown(1)) << "locked";
    EXPECT_FALSE(page().plot()->shows_pattern());
    EXPECT_TRUE(stored(5).locked());

    folders->setCurrentIndex(0);
    select(0);
    EXPECT_TRUE(row_shown(1));
    EXPECT_FALSE(stored(1).locked());
    EXPECT_TRUE(page().plot()->shows_pattern());
}

TEST_F(GunPageTest, AFileThatCannotBeReadIsNamedAndAddsNothing) {
    start(image_of({RecoilRecord::make_folder(u"Rifles"), pattern(u"Rifles", u"Ak")}));
    select(0);
    const auto before = test::read_bytes(gun_bin());
    for (const char* name : {"gone.gbin", "gone.gbins"}) {
        for (const test::Unreadable way : test::unreadable_ways()) {
            SCOPED_TRACE(std::string(name) + ", " + test::describe(way));
            const std::filesystem::path file = m_dir / name;
            test::make_unreadable(file, way);
            QString said;
            when_modal([&said](QDialog& box) {
                for (const QLabel* label : box.findChildren<QLabel*>()) {
                    said += label->text();
                }
            });
            ui::FileDialogAnswers::queue(QString::fromStdString(file.string()));
            command(std::string_view(name).ends_with('s') ? "import_gun_dir" : "import_gun");
            EXPECT_TRUE(said.contains(name)) << said.toStdString();
            EXPECT_FALSE(said.contains("gun.bin")) << "not taken for a failed save";
            EXPECT_EQ(QStringList({"Ak"}), listed());
            EXPECT_EQ(1, control<QComboBox>("gun_combo")->count());
            EXPECT_EQ(before, test::read_bytes(gun_bin()));
        }
    }
}

TEST_F(GunPageTest, ChangesToAPatternOfTheCurrentProfileRedrawTheButtonPage) {
    ConfigBlock profile = test::profile_named(u"P");
    profile.button(8).set_function_code(kRecoilFunction);
    profile.button(8).set_recoil_index(1);
    profile.button(8).set_folder_name(u"Rifles");
    profile.button(8).set_item_name(u"Ak");
    start(image_of({RecoilRecord::make_folder(u"Rifles"), pattern(u"Rifles", u"Ak")}), profile);
    auto* button = m_window->findChild<QPushButton*>("button9_btn");
    EXPECT_EQ("Recoil: Rifles-Ak", button->toolTip());
    select(0);

    type_and_leave(edit("y", 1), "-40");
    const ButtonRecord& record = m_window->store().profiles().current()->button(8);
    const RecoilRecord saved = stored(1);
    EXPECT_TRUE(std::ranges::equal(saved.bullets(), record.recoil_data()));
    EXPECT_EQ(-40, saved.bullet(0).y);

    type_and_leave(control<QLineEdit>("edit_gun_name"), "Ak-47");
    EXPECT_EQ(u"Ak-47", stored(1).item_name());
    EXPECT_EQ("Ak-47", control<QListWidget>("gun_list")->item(0)->text());
    EXPECT_EQ("Recoil: Rifles-Ak-47", button->toolTip()) << "the button page shows it at once";
}

TEST_F(GunPageTest, AFailingSaveIsShownOnceAndTheEditsStayInMemory) {
    // A folder where gun.bin should be: the library starts empty and no save can replace it.
    test::make_unreadable(gun_bin(), test::Unreadable::folder);
    start({});
    QStringList said;
    QTimer closer;
    QObject::connect(&closer, &QTimer::timeout, [&said] {
        if (auto* box = qobject_cast<ui::CMsgWnd*>(QApplication::activeModalWidget())) {
            QString text;
            for (const QLabel* label : box->findChildren<QLabel*>()) {
                text += label->text();
            }
            said << text;
            box->done(ui::kDialogOk);
        }
    });
    closer.start(5);

    answer_name("Rifles");
    control<QPushButton>("btn_add_gun_floder")->click();
    answer_name("Ak");
    control<QPushButton>("btn_add_gun")->click();
    ASSERT_EQ(1, page().current_position());
    type_and_leave(edit("x", 1), "7");
    ASSERT_EQ(1, said.size()) << said.join(" | ").toStdString();
    EXPECT_TRUE(said.front().contains("gun.bin")) << said.front().toStdString();
    EXPECT_EQ((Bullet{7, 0, 10}), m_window->data().recoils().record_at(1)->bullet(0))
        << "kept for the next save";
    EXPECT_TRUE(test::left_as_made(gun_bin(), test::Unreadable::folder));
}

TEST_F(GunPageTest, DraggingAPointStoresWhatTypingItsValuesStores) {
    start(image_of({RecoilRecord::make_folder(u"Rifles"), pattern(u"Rifles", u"Ak"),
                    pattern(u"Rifles", u"Bk")}));
    PatternPlot* plot = page().plot();
    select(0);
    ASSERT_TRUE(plot->shows_pattern());
    const std::optional<QPointF> grabbed = plot->point_of(2);
    ASSERT_TRUE(grabbed);
    const auto send = [plot](QEvent::Type type, QPointF at) {
        const Qt::MouseButton button = type == QEvent::MouseMove ? Qt::NoButton : Qt::LeftButton;
        const Qt::MouseButtons held =
            type == QEvent::MouseButtonRelease ? Qt::NoButton : Qt::LeftButton;
        QMouseEvent event(type, at, plot->mapToGlobal(at), button, held, Qt::NoModifier);
        QApplication::sendEvent(plot, &event);
    };
    send(QEvent::MouseButtonPress, *grabbed);
    EXPECT_EQ(2, plot->selected_bullet());
    send(QEvent::MouseMove, *grabbed + QPointF(-15, 25));
    send(QEvent::MouseButtonRelease, *grabbed + QPointF(-15, 25));
    const RecoilRecord dragged = stored(1);
    const Bullet moved = dragged.bullet(2);
    EXPECT_NE((Bullet{2, 4, 22}), moved);
    EXPECT_LT(moved.x, 2);
    EXPECT_GT(moved.y, 4);
    EXPECT_EQ(QString::number(moved.x), edit("x", 3)->text());
    EXPECT_EQ(QString::number(moved.y), edit("y", 3)->text());

    // The same values typed into the same row of the twin give the same bytes.
    select(1);
    type_and_leave(edit("x", 3), QString::number(moved.x));
    type_and_leave(edit("y", 3), QString::number(moved.y));
    RecoilRecord typed = stored(2);
    typed.set_item_name(u"Ak");
    EXPECT_EQ(dragged, typed);

    // Dragged far away, a bullet keeps to what typing allows.
    select(0);
    const std::optional<QPointF> far = plot->point_of(0);
    ASSERT_TRUE(far);
    send(QEvent::MouseButtonPress, *far);
    send(QEvent::MouseMove, *far + QPointF(5000, -5000));
    send(QEvent::MouseButtonRelease, *far + QPointF(5000, -5000));
    EXPECT_EQ((Bullet{127, -127, 20}), stored(1).bullet(0));
}

} // namespace
} // namespace zemrak::pages
