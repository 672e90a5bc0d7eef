#include "app/main_wnd.h"
#include "model/sensors.h"
#include "platform/pointer_settings.h"
#include "program_folder.h"
#include "test_support/temp_dir.h"
#include "ui/colour_convert.h"
#include "ui/modal.h"
#include "ui/texts.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDialog>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSlider>
#include <QTest>
#include <QTimer>
#include <fstream>

#include <gtest/gtest.h>

namespace zemrak::pages {
namespace {

using test::TempDir;

using test::profile_named;

std::string ini_with(const std::string& default_section) {
    return "[Default]\nVID=04d9\nPID=a09f\n" + default_section;
}

// The main window on a program folder of its own against the virtual mouse, showing the
// performance page.
// Pointer settings that go nowhere, on a desktop that takes what `support` says.
class FakePointerSettings final : public PointerSettingsBackend {
public:
    explicit FakePointerSettings(PointerSupport support) : m_support(std::move(support)) {}
    [[nodiscard]] PointerSupport support() const override { return m_support; }
    void set_double_click_time(std::uint32_t) override {}
    void set_pointer_motion(const PointerMotion&) override {}
    void set_wheel_scroll(std::uint32_t) override {}

private:
    PointerSupport m_support;
};

class PerformancePageTest : public ::testing::Test {
protected:
    void start(const std::vector<ConfigBlock>& profiles = {}, const std::string& ini = {},
               const PointerSupport& support = {}) {
        test::lay_out_program_folder(m_dir.path(), profiles, 0,
                                     ini.empty() ? std::nullopt : std::optional(ini));
        m_window = test::start_main_window(
            m_dir.path(), [support] { return std::make_unique<FakePointerSettings>(support); });
        control<QPushButton>("performance_btn")->click();
    }

    template <typename T>
    T* control(const QString& name) {
        T* found = m_window->findChild<T*>(name);
        EXPECT_NE(nullptr, found) << name.toStdString();
        return found;
    }
    QSlider* slider(int stage) {
        return control<QSlider>(QString("mouse_dpi%1_slider").arg(stage));
    }
    QString value_text(int stage) {
        return control<QLabel>(QString("mouse_dpi_value_%1").arg(stage))->text();
    }
    QPushButton* swatch(int stage) {
        return control<QPushButton>(QString("mouse_dpi_color%1").arg(stage));
    }
    // The colour the swatch is painted in, read from its pixels.
    Colour swatch_colour(int stage) {
        QPushButton* button = swatch(stage);
        const QImage image = button->grab().toImage();
        return ui::to_colour(image.pixel(image.rect().center()));
    }
    QList<int> shown_rows() {
        QList<int> rows;
        for (int stage = 1; stage <= 8; ++stage) {
            if (control<QWidget>(QString("dpi_setting_ver_%1").arg(stage))->isVisible()) {
                rows << stage;
            }
        }
        return rows;
    }
    bool cover_shown() { return control<QWidget>("disable_window_ver")->isVisible(); }
    ConfigBlock& profile() { return *m_window->store().profiles().current(); }

    TempDir m_dir;
    std::unique_ptr<app::CMainWnd> m_window;
};

TEST_F(PerformancePageTest, EveryControlWritesItsOwnFieldAndNothingElse) {
    start({profile_named(u"P")});
    ConfigBlock expected = profile();

    control<QPushButton>("prate_4_option")->click();
    expected.set_polling_rate_index(3);
    control<QPushButton>("mouse_dpi_btn_6")->click();
    expected.set_active_stage(5);
    control<QCheckBox>("mouse_dpi_check_3")->click();
    expected.set_stage_enabled(2, false);
    slider(8)->setValue(99);
    expected.set_stage_dpi_code(7, 99);
    control<QSlider>("mouse_move_speed_slider")->setValue(11);
    expected.set_pointer_speed(11);
    control<QSlider>("scroll_speed_slider")->setValue(7);
    expected.set_wheel_lines(7);
    control<QSlider>("double_click_speed_slider")->setValue(2);
    expected.set_double_click_level(2);
    control<QCheckBox>("enhance_pointer_checkbox")->click();
    expected.set_enhance_precision(1);
    control<QCheckBox>("one_page_checkbox")->click();
    expected.set_page_scroll(1);
    control<QComboBox>("max_dpi_combo")->setCurrentIndex(5); // the active sixth stage stays shown
    expected.set_stage_count(6);
    EXPECT_TRUE(expected == profile());

    // And back: the boxes also clear what they set.
    control<QCheckBox>("mouse_dpi_check_3")->click();
    control<QCheckBox>("enhance_pointer_checkbox")->click();
    EXPECT_TRUE(profile().stage_enabled(2));
    EXPECT_EQ(0, profile().enhance_precision());

    EXPECT_EQ("9900", value_text(8));
    EXPECT_TRUE(control<QPushButton>("mouse_dpi_btn_6")->isChecked());
    EXPECT_FALSE(control<QPushButton>("mouse_dpi_btn_1")->isChecked())
        << "one active stage across all rows";
}

TEST_F(PerformancePageTest, PointerSlidersStoreOnlyOnReleaseWhileEveryLabelFollowsTheThumb) {
    start({profile_named(u"P")});
    auto* speed = control<QSlider>("mouse_move_speed_slider");
    auto* speed_value = control<QLabel>("mouse_move_speed_value");
    EXPECT_EQ("6", speed_value->text());
    speed->setSliderDown(true);
    speed->setValue(3);
    speed->setValue(9);
    EXPECT_EQ("9", speed_value->text());
    EXPECT_EQ(6, profile().pointer_speed()) << "not while dragging";
    speed->setSliderDown(false);
    EXPECT_EQ(9, profile().pointer_speed());

    auto* double_click = control<QSlider>("double_click_speed_slider");
    auto* double_click_value = control<QLabel>("double_click_speed_value");
    EXPECT_EQ("550 ms", double_click_value->text());
    double_click->setSliderDown(true);
    double_click->setValue(9);
    EXPECT_EQ("270 ms", double_click_value->text());
    EXPECT_EQ(5, profile().double_click_level());
    double_click->setSliderDown(false);
    EXPECT_EQ(9, profile().double_click_level());

    auto* lines = control<QSlider>("scroll_speed_slider");
    lines->setSliderDown(true);
    lines->setValue(12);
    EXPECT_EQ("12", control<QLabel>("scroll_speed_value")->text());
    EXPECT_EQ(3, profile().wheel_lines());
    lines->setSliderDown(false);
    EXPECT_EQ(12, profile().wheel_lines());

    // A stage slider stores while it is dragged, so its label and the profile agree.
    slider(2)->setSliderDown(true);
    slider(2)->setValue(57);
    EXPECT_EQ("5700", value_text(2));
    EXPECT_EQ(57, profile().stage_dpi_code(1));
    slider(2)->setSliderDown(false);
    EXPECT_EQ(57, profile().stage_dpi_code(1));
}

TEST_F(PerformancePageTest, SettingsTheDesktopDoesNotTakeAreDisabledWithTheirReason) {
    start({profile_named(u"P"), profile_named(u"Q")}, {},
          PointerSupport{"", kPointerNoCompositor, kPointerNoWheelSetting});
    const QString no_kwin = ui::Texts::text(kPointerNoCompositor);
    const QString no_wheel = ui::Texts::text(kPointerNoWheelSetting);
    ASSERT_FALSE(no_kwin.isEmpty());
    ASSERT_FALSE(no_wheel.isEmpty());
    const auto check = [this](const char* note, const QString& reason,
                              std::initializer_list<const char*> controls) {
        auto* label = control<QLabel>(note);
        EXPECT_EQ(!reason.isEmpty(), label->isVisible()) << note;
        EXPECT_EQ(reason, label->text()) << note;
        for (const char* name : controls) {
            auto* widget = control<QWidget>(name);
            EXPECT_EQ(reason.isEmpty(), widget->isEnabled()) << name;
            EXPECT_EQ(reason, widget->toolTip()) << name;
        }
    };
    const auto check_all = [&] {
        check("mouse_move_unsupported_label", no_kwin,
              {"mouse_move_speed_slider", "enhance_pointer_checkbox"});
        check("scroll_unsupported_label", no_wheel, {"scroll_speed_slider", "one_page_checkbox"});
        check("double_click_unsupported_label", {}, {"double_click_speed_slider"});
    };
    check_all();
    // Showing another profile, which scrolls by lines, leaves the wheel disabled.
    control<QComboBox>("profile_combo")->setCurrentIndex(1);
    ASSERT_EQ(0, profile().page_scroll());
    check_all();
}

TEST_F(PerformancePageTest, StageCountComboShowsTheFirstRowsAndStoresTheCount) {
    start({profile_named(u"P")});
    EXPECT_EQ((QList<int>{1, 2, 3, 4, 5, 6, 7, 8}), shown_rows());
    auto* combo = control<QComboBox>("max_dpi_combo");
    ASSERT_EQ(8, combo->count()) << "one item per stage count";
    EXPECT_EQ(7, combo->currentIndex());
    combo->setCurrentIndex(2);
    EXPECT_EQ(3, profile().stage_count());
    EXPECT_EQ((QList<int>{1, 2, 3}), shown_rows());
    combo->setCurrentIndex(0);
    EXPECT_EQ(1, profile().stage_count());
    EXPECT_EQ((QList<int>{1}), shown_rows());
    combo->setCurrentIndex(7);
    EXPECT_EQ(8, profile().stage_count());
    EXPECT_EQ(8, shown_rows().size());
}

TEST_F(PerformancePageTest, TheActiveStageIsNeverLeftOffOrHidden) {
    start({profile_named(u"P")});
    control<QPushButton>("mouse_dpi_btn_4")->click();
    ASSERT_EQ(3, profile().active_stage());

    // Switched off: the nearest enabled stage takes over, the lower of two as near.
    control<QCheckBox>("mouse_dpi_check_4")->click();
    EXPECT_FALSE(profile().stage_enabled(3));
    EXPECT_EQ(2, profile().active_stage());
    EXPECT_TRUE(control<QPushButton>("mouse_dpi_btn_3")->isChecked());

    // Hidden by the count: the nearest shown, enabled stage.
    control<QCheckBox>("mouse_dpi_check_2")->click(); // stage 2 off while stage 3 is active
    auto* combo = control<QComboBox>("max_dpi_combo");
    combo->setCurrentIndex(1); // two stages: stage 2 is off, so stage 1 it is
    EXPECT_EQ(2, profile().stage_count());
    EXPECT_EQ(0, profile().active_stage());

    // The last enabled stage cannot be switched off, nor can the count hide every enabled one.
    control<QCheckBox>("mouse_dpi_check_1")->click();
    EXPECT_TRUE(profile().stage_enabled(0));
    EXPECT_TRUE(control<QCheckBox>("mouse_dpi_check_1")->isChecked());
    combo->setCurrentIndex(7);
    // Choosing a stage that is off switches it on.
    control<QPushButton>("mouse_dpi_btn_2")->click();
    EXPECT_EQ(1, profile().active_stage());
    EXPECT_TRUE(profile().stage_enabled(1));
    EXPECT_TRUE(control<QCheckBox>("mouse_dpi_check_2")->isChecked());
    control<QCheckBox>("mouse_dpi_check_1")->click();
    control<QCheckBox>("mouse_dpi_check_3")->click();
    control<QCheckBox>("mouse_dpi_check_2")->click(); // the active one: stage 5 is the nearest
    EXPECT_EQ(4, profile().active_stage());
    combo->setCurrentIndex(2); // stages 1 to 3 are all off now: refused
    EXPECT_EQ(8, profile().stage_count());
    EXPECT_EQ(7, combo->currentIndex());
    EXPECT_EQ(4, profile().active_stage());
}

TEST_F(PerformancePageTest, ProfileSwitchShowsTheOtherProfileAndWritesNothing) {
    ConfigBlock second = profile_named(u"Second");
    second.set_polling_rate_index(1);
    second.set_active_stage(2);
    second.set_stage_dpi_code(0, 31);
    second.set_stage_enabled(4, false);
    second.set_stage_colour(3, make_colour(0x12, 0x34, 0x56));
    second.set_stage_count(4);
    second.set_pointer_speed(2);
    second.set_wheel_lines(9);
    second.set_double_click_level(10);
    second.set_enhance_precision(1);
    second.set_page_scroll(1);
    start({profile_named(u"First"), second});

    control<QComboBox>("profile_combo")->setCurrentIndex(1);
    EXPECT_TRUE(control<QPushButton>("prate_2_option")->isChecked());
    EXPECT_TRUE(control<QPushButton>("mouse_dpi_btn_3")->isChecked());
    EXPECT_FALSE(control<QPushButton>("mouse_dpi_btn_1")->isChecked());
    EXPECT_EQ(31, slider(1)->value());
    EXPECT_EQ("3100", value_text(1));
    EXPECT_FALSE(control<QCheckBox>("mouse_dpi_check_5")->isChecked());
    EXPECT_EQ(make_colour(0x12, 0x34, 0x56), swatch_colour(4));
    EXPECT_EQ(make_colour(0, 0xFF, 0), swatch_colour(2)) << "the palette's green";
    EXPECT_EQ(3, control<QComboBox>("max_dpi_combo")->currentIndex());
    EXPECT_EQ((QList<int>{1, 2, 3, 4}), shown_rows());
    EXPECT_EQ("2", control<QLabel>("mouse_move_speed_value")->text());
    EXPECT_EQ(9, control<QSlider>("scroll_speed_slider")->value());
    EXPECT_FALSE(control<QSlider>("scroll_speed_slider")->isEnabled())
        << "lines mean nothing while a notch scrolls a page";
    EXPECT_EQ("200 ms", control<QLabel>("double_click_speed_value")->text());
    EXPECT_TRUE(control<QCheckBox>("enhance_pointer_checkbox")->isChecked());
    EXPECT_TRUE(control<QCheckBox>("one_page_checkbox")->isChecked());
    EXPECT_TRUE(second == profile()) << "showing a profile changes nothing in it";

    control<QComboBox>("profile_combo")->setCurrentIndex(0);
    EXPECT_TRUE(control<QPushButton>("prate_3_option")->isChecked());
    EXPECT_TRUE(control<QPushButton>("mouse_dpi_btn_1")->isChecked());
    EXPECT_EQ("1000", value_text(1));
    EXPECT_EQ(make_colour(0xFF, 0xFF, 0), swatch_colour(4)) << "the palette's yellow";
    EXPECT_EQ(8, shown_rows().size());
    EXPECT_TRUE(control<QSlider>("scroll_speed_slider")->isEnabled());
    EXPECT_TRUE(profile_named(u"First") == profile());
}

TEST_F(PerformancePageTest, ValuesOutsideTheControlsAreShownAsStoredAndKept) {
    ConfigBlock odd = profile_named(u"Odd");
    odd.set_stage_dpi_code(0, 0);   // below the slider
    odd.set_stage_dpi_code(1, 200); // above it
    odd.set_polling_rate_index(7);
    odd.set_active_stage(-1);
    odd.set_pointer_speed(40);
    start({odd});
    EXPECT_EQ("0", value_text(1));
    EXPECT_EQ(2, slider(1)->value());
    EXPECT_EQ("20000", value_text(2));
    for (int option = 1; option <= 4; ++option) {
        EXPECT_FALSE(control<QPushButton>(QString("prate_%1_option").arg(option))->isChecked());
    }
    for (int stage = 1; stage <= 8; ++stage) {
        EXPECT_FALSE(control<QPushButton>(QString("mouse_dpi_btn_%1").arg(stage))->isChecked());
    }
    EXPECT_EQ("40", control<QLabel>("mouse_move_speed_value")->text());
    EXPECT_TRUE(odd == profile());
}

// A stored stage count the combo cannot show: the rows the model offers, by Data.ini's DPI.
class PerformancePageRows : public PerformancePageTest,
                            public ::testing::WithParamInterface<std::pair<const char*, int>> {};

TEST_P(PerformancePageRows, OddStoredCountShowsTheOfferedRowsAndIsKept) {
    ConfigBlock block = profile_named(u"P");
    block.set_stage_count(0);
    start({block}, ini_with(std::string(GetParam().first) + "Sensor=3327\n"));
    EXPECT_EQ(GetParam().second, shown_rows().size());
    EXPECT_EQ(GetParam().second - 1, control<QComboBox>("max_dpi_combo")->currentIndex());
    EXPECT_EQ(0, profile().stage_count());
}

INSTANTIATE_TEST_SUITE_P(PerformancePageDataIni, PerformancePageRows,
                         ::testing::Values(std::pair{"DPI=5\n", 5}, std::pair{"", 8},
                                           std::pair{"DPI=\n", 8}, std::pair{"DPI=-3\n", 8},
                                           std::pair{"DPI=9\n", 8}));

TEST_F(PerformancePageTest, SensorFromDataIniSetsRangesLabelsAndTexts) {
    ConfigBlock block = profile_named(u"P", kSensor3212);
    block.set_stage_dpi_code(1, 31);
    start({block}, ini_with("DPI=8\nSensor=3212\n"));
    for (int stage = 1; stage <= 8; ++stage) {
        EXPECT_EQ(5, slider(stage)->minimum());
        EXPECT_EQ(120, slider(stage)->maximum());
        EXPECT_EQ("200", control<QLabel>(QString("label_dpi_left_%1").arg(stage))->text());
        EXPECT_EQ("4800", control<QLabel>(QString("label_dpi_right_%1").arg(stage))->text());
    }
    EXPECT_EQ("500", value_text(1)) << "code 13";
    EXPECT_EQ("1250", value_text(2));
    slider(2)->setValue(32);
    EXPECT_EQ("1280", value_text(2));
    EXPECT_EQ(32, profile().stage_dpi_code(1)) << "the code is stored, not the DPI";
}

TEST_F(PerformancePageTest, ColourDialogCancelOrUntouchedOkChangesNothingAndHidesTheCover) {
    start({profile_named(u"P")});
    const ConfigBlock before = profile();
    ui::ModalAnswers::queue(ui::kDialogCancel);
    swatch(3)->click();
    EXPECT_FALSE(ui::ModalAnswers::pending()) << "the dialog was shown";
    EXPECT_TRUE(before == profile());
    EXPECT_EQ(make_colour(0, 0, 0xFF), swatch_colour(3)) << "the palette's blue";
    EXPECT_FALSE(cover_shown());

    ui::ModalAnswers::queue(ui::kDialogOk);
    swatch(3)->click();
    EXPECT_FALSE(ui::ModalAnswers::pending());
    EXPECT_TRUE(before == profile()) << "OK keeps the colour the dialog started with";
    EXPECT_EQ(make_colour(0, 0, 0xFF), swatch_colour(3));
    EXPECT_FALSE(cover_shown());
}

// Types the colour into the open colour dialog and confirms it; records what the window showed.
struct DialogAnswer {
    bool cover_was_shown = false;
    QString start_red;
};

void answer_colour_dialog(DialogAnswer& seen, QWidget* cover, const char* red, const char* green,
                          const char* blue) {
    QTimer::singleShot(0, [&seen, cover, red, green, blue] {
        auto* dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget());
        if (dialog == nullptr) {
            ADD_FAILURE() << "no colour dialog";
            return;
        }
        seen.cover_was_shown = cover->isVisible();
        const std::array<std::pair<const char*, const char*>, 3> edits = {
            {{"r_edit", red}, {"g_edit", green}, {"b_edit", blue}}};
        auto* ok = dialog->findChild<QPushButton*>("ok_btn");
        for (const auto& [name, text] : edits) {
            auto* edit = dialog->findChild<QLineEdit*>(name);
            if (edit == nullptr || ok == nullptr) {
                ADD_FAILURE() << "no " << name << " or ok_btn";
                dialog->done(ui::kDialogCancel);
                return;
            }
            if (seen.start_red.isEmpty()) {
                seen.start_red = edit->text();
            }
            edit->selectAll();
            QTest::keyClicks(edit, text);
        }
        ok->click();
    });
}

TEST_F(PerformancePageTest, ChangesMadeOnThePageReachTheMouseOnApply) {
    start({profile_named(u"P")});
    const std::filesystem::path log = m_dir / "mouse.log";
    ::setenv("ZEMRAK_VIRTUAL_MOUSE_LOG", log.c_str(), 1);

    slider(2)->setValue(70);
    control<QPushButton>("mouse_dpi_btn_4")->click();
    control<QPushButton>("prate_1_option")->click();
    DialogAnswer seen;
    answer_colour_dialog(seen, control<QWidget>("disable_window_ver"), "18", "52", "86");
    swatch(3)->click();
    EXPECT_TRUE(seen.cover_was_shown);
    EXPECT_EQ("0", seen.start_red) << "the stage's blue is the dialog's first colour";
    EXPECT_FALSE(cover_shown());
    EXPECT_EQ(make_colour(18, 52, 86), profile().stage_colour(2));
    EXPECT_EQ(make_colour(18, 52, 86), swatch_colour(3));

    control<QPushButton>("btn_apply")->click();
    ASSERT_TRUE(QTest::qWaitFor([this] { return m_window->apply_idle(); }, 10'000));
    ::unsetenv("ZEMRAK_VIRTUAL_MOUSE_LOG");

    std::vector<std::pair<std::string, std::string>> received; // channel, hex
    std::ifstream in(log);
    for (std::string stamp, channel, hex; in >> stamp >> channel >> hex;) {
        received.emplace_back(channel, hex);
    }
    ASSERT_FALSE(received.empty());
    const auto byte = [](const std::string& hex, std::size_t index) {
        return hex.substr(2 * index, 2);
    };
    const auto data_after = [&received](const std::string& announce) -> std::string {
        for (std::size_t i = 0; i + 1 < received.size(); ++i) {
            if (received[i] == std::pair<std::string, std::string>{"cmd", announce}) {
                return received[i + 1].second;
            }
        }
        return {};
    };

    const std::string mode = received.front().second;
    EXPECT_EQ("cmd", received.front().first);
    EXPECT_EQ("08", byte(mode, 6)) << "125 Hz: a report every 8 ms";
    EXPECT_EQ("04", byte(mode, 7)) << "stage 4 active";

    const std::string sensitivity = data_after("01aa000000040000");
    ASSERT_EQ(130u, sensitivity.size());
    // 3327: code 70 is halved to 35, table entry 81; stages 7 and 8 are halved by default.
    EXPECT_EQ("51", byte(sensitivity, 26));
    EXPECT_EQ("c2", byte(sensitivity, 23));
    EXPECT_EQ("08", byte(sensitivity, 7)) << "stage count";

    const std::string colours = data_after("01aa000000050000");
    ASSERT_EQ(130u, colours.size());
    EXPECT_EQ("123456", colours.substr(2 * (25 + 3 * 2), 6)) << "stage 3 in red, green, blue";
    EXPECT_EQ("00ff00", colours.substr(2 * (25 + 3 * 1), 6)) << "stage 2 keeps its green";
}

} // namespace
} // namespace zemrak::pages
