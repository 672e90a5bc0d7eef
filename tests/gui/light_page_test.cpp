#include "app/main_wnd.h"
#include "device/mode_report.h"
#include "model/config_defaults.h"
#include "pages/lighting/light_page.h"
#include "program_folder.h"
#include "test_support/mouse_log.h"
#include "test_support/temp_dir.h"
#include "ui/colour_convert.h"
#include "ui/colour_palette.h"
#include "ui/file_dialogs.h"
#include "ui/modal.h"
#include "ui/select_color_wnd.h"
#include "ui/texts.h"

#include <QApplication>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSlider>
#include <QTest>
#include <QTimer>
#include <fstream>
#include <functional>
#include <sstream>

#include <gtest/gtest.h>

namespace zemrak::pages {
namespace {

using test::TempDir;

using test::profile_named;

// The offsets of the bytes that differ between two images of a block.
std::vector<std::size_t> changed_bytes(std::span<const std::uint8_t> before,
                                       std::span<const std::uint8_t> after) {
    std::vector<std::size_t> changed;
    for (std::size_t i = 0; i < before.size(); ++i) {
        if (before[i] != after[i]) {
            changed.push_back(i);
        }
    }
    return changed;
}

// The colour of the middle of a swatch as it is drawn.
QRgb drawn_colour(QWidget* swatch) {
    const QImage image = swatch->grab().toImage();
    return image.pixel(image.width() / 2, image.height() / 2);
}

void type(QLineEdit* edit, const QString& text) {
    edit->selectAll();
    if (text.isEmpty()) {
        QTest::keyClick(edit, Qt::Key_Backspace);
    } else {
        QTest::keyClicks(edit, text);
    }
}

// Runs `step` on the colour dialog once it is open and modal.
void when_picker_open(std::function<void(QDialog&)> step) {
    QTimer::singleShot(0, [step = std::move(step)] {
        auto* dialog = qobject_cast<ui::CSelectColorWnd*>(QApplication::activeModalWidget());
        ASSERT_NE(nullptr, dialog);
        step(*dialog);
    });
}

// Types red, green and blue into the open colour dialog and ends it with `button`.
void pick_in_dialog(int red, int green, int blue, const char* button = "ok_btn") {
    when_picker_open([=](QDialog& dialog) {
        type(dialog.findChild<QLineEdit*>("r_edit"), QString::number(red));
        type(dialog.findChild<QLineEdit*>("g_edit"), QString::number(green));
        type(dialog.findChild<QLineEdit*>("b_edit"), QString::number(blue));
        dialog.findChild<QPushButton*>(button)->click();
    });
}

// A program folder with the shipped files, a light timing table of distinct entries and the
// given stored profiles, and the main window started on it against the virtual mouse.
class LightPageTest : public ::testing::Test {
protected:
    void start(const std::vector<ConfigBlock>& profiles = {}) {
        std::ifstream in(std::filesystem::path(ZEMRAK_PROGRAM_DIR) / "Data.ini");
        std::stringstream ini;
        ini << in.rdbuf();
        std::string settings = ini.str();
        for (const auto& [from, to] : {std::pair{"Light1=0,0,0", "Light1=11,22,33"},
                                       std::pair{"Light2=0,0,0", "Light2=44,55,66"},
                                       std::pair{"Light3=0,0,0", "Light3=77,88,99"}}) {
            const std::size_t at = settings.find(from);
            ASSERT_NE(std::string::npos, at) << from;
            settings.replace(at, std::string(from).size(), to);
        }
        test::lay_out_program_folder(m_dir.path(), profiles, 0, settings);
        m_window = test::start_main_window(m_dir.path());
        QTest::mouseClick(m_window->findChild<QPushButton*>("light_btn"), Qt::LeftButton);
        m_page = m_window->findChild<QWidget*>("light_page_ver");
        ASSERT_NE(nullptr, m_page);
    }

    // A control of the light page (the colour dialog has controls of the same names).
    template <typename T>
    T* control(const QString& name) {
        T* found = m_page->findChild<T*>(name);
        EXPECT_NE(nullptr, found) << name.toStdString();
        return found;
    }
    ConfigBlock& profile() { return *m_window->store().profiles().current(); }
    std::vector<std::uint8_t> snapshot() {
        return {profile().bytes().begin(), profile().bytes().end()};
    }
    std::vector<std::size_t> changed_since(const std::vector<std::uint8_t>& before) {
        return changed_bytes(before, profile().bytes());
    }
    // Which of the four parameter groups show: B(rightness), F(requency), C(olour), L(ength).
    std::string groups_shown() {
        std::string shown;
        const std::pair<const char*, char> groups[] = {{"brightness_ver", 'B'},
                                                       {"breathing_ver", 'F'},
                                                       {"color_ver", 'C'},
                                                       {"length_ver", 'L'}};
        for (const auto& [name, letter] : groups) {
            shown += control<QWidget>(name)->isHidden() ? '-' : letter;
        }
        return shown;
    }
    std::vector<std::string> edits() {
        return {control<QLineEdit>("r_edit")->text().toStdString(),
                control<QLineEdit>("g_edit")->text().toStdString(),
                control<QLineEdit>("b_edit")->text().toStdString()};
    }

    TempDir m_dir;
    std::unique_ptr<app::CMainWnd> m_window;
    QWidget* m_page = nullptr;
};

const std::vector<std::size_t> kLightModeBytes{244};
const std::vector<std::size_t> kFixedColourBytes{264, 265, 266};

TEST_F(LightPageTest, EachModeOptionWritesItsModeAndShowsItsGroups) {
    start();
    const char* expected[CLightPage::kModeCount] = {"----", "B---", "-F--", "-FC-", "BF--", "BF--",
                                                    "--CL", "--CL", "B-C-", "BFC-", "BF--", "B---"};
    // The factory speed 3 lies beyond the slider, which shows it as its top; picking an
    // effect stores what the page shows.
    ASSERT_EQ(3, profile().light_frequency());
    auto before = snapshot();
    control<QRadioButton>("light_mode_option_12")->click();
    EXPECT_EQ((std::vector<std::size_t>{244, 252}), changed_since(before));
    EXPECT_EQ(CLightPage::kFrequencyMax, profile().light_frequency());

    // From the last to the first, so that every click changes the mode (the default is 4).
    for (int option = CLightPage::kModeCount; option >= 1; --option) {
        before = snapshot();
        control<QRadioButton>(QString("light_mode_option_%1").arg(option))->click();
        EXPECT_EQ(option - 1, profile().light_mode());
        if (option != CLightPage::kModeCount) {
            EXPECT_EQ(kLightModeBytes, changed_since(before)) << "option " << option;
        }
        EXPECT_EQ(expected[option - 1], groups_shown()) << "option " << option;
        EXPECT_EQ(ui::Texts::text(QString("light_mode_option_%1_text").arg(option)),
                  control<QLabel>("effect_name_label")->text());
    }
}

TEST_F(LightPageTest, SlidersStoreWhenLetGoAndColourModeOptionsStoreTheirIndex) {
    start();
    auto* brightness = control<QSlider>("brightness_slider");
    auto before = snapshot();
    brightness->setValue(3); // a click on the groove or a key: stored at once
    EXPECT_EQ(3, profile().light_brightness());
    EXPECT_EQ((std::vector<std::size_t>{248}), changed_since(before));

    brightness->setSliderDown(true);
    brightness->setValue(5);
    EXPECT_EQ(3, profile().light_brightness()) << "not while the thumb is held";
    EXPECT_EQ("5", control<QLabel>("brightness_value_label")->text());
    brightness->setSliderDown(false);
    EXPECT_EQ(5, profile().light_brightness());

    before = snapshot();
    control<QSlider>("frequency_slider")->setValue(1);
    control<QSlider>("length_slider")->setValue(22);
    EXPECT_EQ(1, profile().light_frequency());
    EXPECT_EQ(22, profile().light_length());
    EXPECT_EQ((std::vector<std::size_t>{252, 260}), changed_since(before));

    before = snapshot();
    control<QRadioButton>("option_color_mode_1")->click();
    EXPECT_EQ(0, profile().colour_mode());
    control<QRadioButton>("option_color_mode_2")->click();
    EXPECT_EQ(1, profile().colour_mode());
    EXPECT_TRUE(changed_since(before).empty()) << "back at the default";
    control<QRadioButton>("option_color_mode_1")->click();
    EXPECT_EQ((std::vector<std::size_t>{256}), changed_since(before));
}

TEST_F(LightPageTest, EverySpeedOfEveryTimedEffectReadsItsOwnRowOfTheTimingTable) {
    start();
    auto* speed = control<QSlider>("frequency_slider");
    const std::uint8_t table[9] = {1, 2, 3, 4, 5, 6, 7, 8, 9};
    const std::pair<int, int> rows[] = {{2, 1}, {3, 1}, {4, 4}, {5, 7}}; // effect, first entry
    for (const auto& [mode, first] : rows) {
        for (int value = speed->minimum(); value <= speed->maximum(); ++value) {
            const int entry = light_timing_byte(mode, value, table);
            EXPECT_GE(entry, first) << "effect " << mode << " speed " << value;
            EXPECT_LE(entry, first + 2) << "effect " << mode << " speed " << value;
        }
    }
    EXPECT_EQ(3, speed->maximum() - speed->minimum() + 1) << "one step per entry of a row";

    // The factory profile stores a speed beyond the slider; the mouse gets what is shown.
    ASSERT_EQ(3, profile().light_frequency());
    EXPECT_EQ(ui::Texts::text("frequency_value_2_text"),
              control<QLabel>("frequency_value_label")->text());
    const int mode = profile().light_mode();
    EXPECT_EQ(light_timing_byte(mode, speed->value(), table),
              light_timing_byte(mode, profile().light_frequency(), table));
}

TEST_F(LightPageTest, ColourEditsClampAndStoreTheFixedColour) {
    start();
    ASSERT_EQ(make_colour(255, 0, 0), profile().fixed_colour());
    auto before = snapshot();
    type(control<QLineEdit>("g_edit"), "300");
    EXPECT_EQ("255", control<QLineEdit>("g_edit")->text());
    EXPECT_EQ(make_colour(255, 255, 0), profile().fixed_colour());
    EXPECT_EQ((std::vector<std::size_t>{265}), changed_since(before)) << "the green byte";

    type(control<QLineEdit>("r_edit"), "-5");
    EXPECT_EQ("0", control<QLineEdit>("r_edit")->text());
    type(control<QLineEdit>("b_edit"), "77");
    EXPECT_EQ(make_colour(0, 255, 77), profile().fixed_colour());

    type(control<QLineEdit>("b_edit"), "");
    EXPECT_EQ("", control<QLineEdit>("b_edit")->text()) << "not rewritten";
    EXPECT_EQ(make_colour(0, 255, 0), profile().fixed_colour());

    const QRgb shown = qRgb(0, 255, 0);
    EXPECT_EQ(shown, control<ui::ColourPalette>("select_color_Pallet")->colour());
    EXPECT_EQ(shown, drawn_colour(control<QWidget>("current_color_control")));
    EXPECT_EQ(shown, drawn_colour(control<QWidget>("btn_fix_color")));
    for (const std::size_t offset : changed_since(before)) {
        EXPECT_TRUE(offset >= 264 && offset < 268) << offset;
    }
}

TEST_F(LightPageTest, InlinePaletteDragPreviewsAndReleaseStores) {
    start();
    profile().set_fixed_colour(0x00563412u); // red 0x12, green 0x34, blue 0x56
    m_window->refresh_pages();
    auto* palette = control<ui::ColourPalette>("select_color_Pallet");
    EXPECT_EQ(qRgb(0x12, 0x34, 0x56), palette->colour());
    EXPECT_EQ((std::vector<std::string>{"18", "52", "86"}), edits());

    const QPoint top(palette->strip_rect().center().x(), palette->strip_rect().top());
    const QPoint middle = palette->strip_rect().center();
    QTest::mousePress(palette, Qt::LeftButton, {}, middle);
    QTest::mouseMove(palette, top);
    const QRgb dragged = palette->colour();
    ASSERT_NE(qRgb(0x12, 0x34, 0x56), dragged);
    EXPECT_EQ(0x00563412u, profile().fixed_colour()) << "only a preview while dragging";
    EXPECT_EQ(QString::number(qRed(dragged)), control<QLineEdit>("r_edit")->text());
    EXPECT_EQ(QString::number(qBlue(dragged)), control<QLineEdit>("b_edit")->text());
    EXPECT_EQ(dragged, drawn_colour(control<QWidget>("current_color_control")));

    QTest::mouseRelease(palette, Qt::LeftButton, {}, top);
    const Colour stored = profile().fixed_colour();
    EXPECT_EQ(qRed(dragged), red_of(stored));
    EXPECT_EQ(qGreen(dragged), green_of(stored));
    EXPECT_EQ(qBlue(dragged), blue_of(stored));
    EXPECT_EQ(0u, stored >> 24);
    EXPECT_EQ(dragged, drawn_colour(control<QWidget>("btn_fix_color")));
}

TEST_F(LightPageTest, ColourButtonsOpenThePickerAndOnlyOkStores) {
    start();
    auto* cover = m_window->findChild<QWidget*>("disable_window_ver");
    ASSERT_NE(nullptr, cover);
    bool covered = false;
    when_picker_open([&covered, cover](QDialog& dialog) {
        covered = cover->isVisible();
        EXPECT_EQ("0", dialog.findChild<QLineEdit*>("r_edit")->text()) << "blue is stored";
        EXPECT_EQ("255", dialog.findChild<QLineEdit*>("b_edit")->text());
        type(dialog.findChild<QLineEdit*>("r_edit"), "1");
        type(dialog.findChild<QLineEdit*>("g_edit"), "2");
        type(dialog.findChild<QLineEdit*>("b_edit"), "3");
        dialog.findChild<QPushButton*>("ok_btn")->click();
    });
    control<QPushButton>("btn_cycle_color_3")->click();
    EXPECT_TRUE(covered);
    EXPECT_FALSE(cover->isVisible());
    EXPECT_EQ(0x00030201u, profile().cycle_colour(2));
    EXPECT_EQ(qRgb(1, 2, 3), drawn_colour(control<QWidget>("btn_cycle_color_3")));

    const auto before = snapshot();
    for (const char* button : {"cancel_btn", "exit_btn"}) {
        pick_in_dialog(200, 100, 50, button);
        control<QPushButton>("btn_cycle_color_3")->click();
        pick_in_dialog(200, 100, 50, button);
        control<QPushButton>("btn_fix_color")->click();
    }
    EXPECT_TRUE(changed_since(before).empty());
    EXPECT_EQ(qRgb(1, 2, 3), drawn_colour(control<QWidget>("btn_cycle_color_3")));
    EXPECT_FALSE(cover->isVisible());

    pick_in_dialog(9, 8, 7);
    control<QPushButton>("btn_fix_color")->click();
    EXPECT_EQ(make_colour(9, 8, 7), profile().fixed_colour());
    EXPECT_EQ(kFixedColourBytes, changed_since(before));
    EXPECT_EQ(qRgb(9, 8, 7), drawn_colour(control<QWidget>("btn_fix_color")));
    EXPECT_EQ((std::vector<std::string>{"9", "8", "7"}), edits());
}

TEST_F(LightPageTest, ProfileSwitchRedrawsEverythingAndWritesNothing) {
    ConfigBlock second = profile_named(u"Second");
    second.set_light_mode(6);
    second.set_light_brightness(3);
    second.set_light_frequency(1);
    second.set_light_length(7);
    second.set_colour_mode(0);
    second.set_fixed_colour(0x00563412u);
    second.set_cycle_colour(0, 0x00030201u);
    start({profile_named(u"First"), second});

    const std::vector<std::uint8_t> stored_second(second.bytes().begin(), second.bytes().end());
    m_window->findChild<QComboBox*>("profile_combo")->setCurrentIndex(1);
    ASSERT_EQ(u"Second", profile().name());
    EXPECT_TRUE(changed_since(stored_second).empty()) << "showing a profile changes nothing";

    EXPECT_TRUE(control<QRadioButton>("light_mode_option_7")->isChecked());
    EXPECT_EQ("--CL", groups_shown());
    EXPECT_EQ(3, control<QSlider>("brightness_slider")->value());
    EXPECT_EQ(1, control<QSlider>("frequency_slider")->value());
    EXPECT_EQ(7, control<QSlider>("length_slider")->value());
    EXPECT_EQ((std::vector<std::string>{"18", "52", "86"}), edits());
    EXPECT_EQ(qRgb(0x12, 0x34, 0x56), control<ui::ColourPalette>("select_color_Pallet")->colour());
    EXPECT_EQ(qRgb(0x12, 0x34, 0x56), drawn_colour(control<QWidget>("btn_fix_color")));
    EXPECT_EQ(qRgb(1, 2, 3), drawn_colour(control<QWidget>("btn_cycle_color_1")));
    EXPECT_EQ(qRgb(0, 255, 0), drawn_colour(control<QWidget>("btn_cycle_color_2")));
    EXPECT_TRUE(control<QRadioButton>("option_color_mode_1")->isChecked());

    // The factory speed 3 lies above the slider: shown at the top, kept as it is.
    m_window->findChild<QComboBox*>("profile_combo")->setCurrentIndex(0);
    ASSERT_EQ(u"First", profile().name());
    EXPECT_EQ(3, profile().light_frequency());
    EXPECT_EQ(CLightPage::kFrequencyMax, control<QSlider>("frequency_slider")->value());
    EXPECT_TRUE(control<QRadioButton>("light_mode_option_5")->isChecked());
    EXPECT_EQ("BF--", groups_shown());
    EXPECT_TRUE(control<QRadioButton>("option_color_mode_2")->isChecked());
}

TEST_F(LightPageTest, ChosenEffectAndCycleColourReachTheMouseOnApply) {
    start({profile_named(u"P")});
    control<QRadioButton>("light_mode_option_6")->click(); // effect 5: timing row 6..8
    control<QSlider>("frequency_slider")->setValue(2);
    control<QSlider>("brightness_slider")->setValue(7);
    pick_in_dialog(1, 2, 3);
    control<QPushButton>("btn_cycle_color_1")->click();

    const std::filesystem::path log = m_dir / "mouse.log";
    ::setenv("ZEMRAK_VIRTUAL_MOUSE_LOG", log.c_str(), 1);
    QTest::mouseClick(m_window->findChild<QPushButton*>("btn_apply"), Qt::LeftButton);
    ASSERT_TRUE(QTest::qWaitFor([this] { return m_window->apply_idle(); }, 10'000));
    ::unsetenv("ZEMRAK_VIRTUAL_MOUSE_LOG");

    const std::vector<std::string> received = test::received_reports(log);
    ASSERT_FALSE(received.empty());
    // Effect 5, brightness 7, entry 6 + 2 of the table (99), 2 ms, stage 1.
    EXPECT_EQ("cmd 01aa050763000201", received.front());
    const auto announce = std::find(received.begin(), received.end(), "cmd 01aa000000050000");
    ASSERT_NE(received.end(), announce);
    ASSERT_NE(received.end(), announce + 1);
    EXPECT_EQ("data 00010203", (announce + 1)->substr(0, 13)) << "cycle colour 1: red, green, blue";
}

} // namespace
} // namespace zemrak::pages
