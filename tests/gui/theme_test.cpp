// The shipped style sheet against the widgets that take their colours from it.

#include "app/about_wnd.h"
#include "macros/edit_macro_name.h"
#include "macros/macro_action_row.h"
#include "macros/macro_library.h"
#include "model/light_effects.h"
#include "pages/lighting/effect_preview.h"
#include "program_folder.h"
#include "test_support/temp_dir.h"
#include "ui/colour_palette.h"
#include "ui/msg_wnd.h"
#include "ui/select_color_wnd.h"

#include <QDialog>
#include <QFile>
#include <QFrame>
#include <QImage>
#include <QLabel>
#include <QListWidget>
#include <QMetaProperty>
#include <QPushButton>
#include <QTest>
#include <QWidget>
#include <algorithm>
#include <map>
#include <vector>

#include <gtest/gtest.h>

namespace zemrak {
namespace {

QString shipped_sheet() {
    QFile file(QStringLiteral(ZEMRAK_SOURCE_DIR "/res/theme/zemrak.qss"));
    EXPECT_TRUE(file.open(QIODevice::ReadOnly | QIODevice::Text));
    return QString::fromUtf8(file.readAll());
}

QRgb pixel(QWidget& widget, QPoint at) {
    return widget.grab().toImage().pixel(at) | 0xFF000000u;
}

// The colour properties a widget class adds to QWidget's.
std::vector<QMetaProperty> own_colour_properties(const QObject& object) {
    std::vector<QMetaProperty> found;
    const QMetaObject* meta = object.metaObject();
    for (int i = QWidget::staticMetaObject.propertyCount(); i < meta->propertyCount(); ++i) {
        if (meta->property(i).metaType() == QMetaType::fromType<QColor>()) {
            found.push_back(meta->property(i));
        }
    }
    return found;
}

pages::EffectPreview* off_preview(QWidget& parent) {
    auto* preview = new pages::EffectPreview(
        [] {
            pages::EffectLook look;
            look.mode = kLightOff;
            return look;
        },
        &parent);
    preview->setFixedSize(120, 34);
    return preview;
}

TEST(Theme, SheetGivesThePreviewEveryColourOfItsOwn) {
    QWidget parent;
    pages::EffectPreview* preview = off_preview(parent);
    const std::vector<QMetaProperty> colours = own_colour_properties(*preview);
    ASSERT_EQ(3u, colours.size()) << "background, edge, spark";
    const QColor unset(0x12, 0x34, 0x56);
    for (const QMetaProperty& property : colours) {
        property.write(preview, unset);
    }
    parent.setStyleSheet(shipped_sheet());
    preview->ensurePolished();
    for (const QMetaProperty& property : colours) {
        EXPECT_NE(unset, property.read(preview).value<QColor>())
            << property.name() << " has no qproperty rule in the sheet";
    }
}

TEST(Theme, PreviewPaintsInTheColoursTheSheetGives) {
    QWidget parent;
    pages::EffectPreview* preview = off_preview(parent);
    parent.setStyleSheet(QStringLiteral(
        "#effect_preview { qproperty-background: #010203; qproperty-edge: #405060; }"));
    preview->ensurePolished();
    EXPECT_EQ(qRgb(0x01, 0x02, 0x03), pixel(*preview, {60, 4})) << "where no light shines";
    EXPECT_EQ(qRgb(0x40, 0x50, 0x60), pixel(*preview, {60, 0})) << "the outline";
}

TEST(Theme, SwatchesShowTheirColourFlatWithTheEdgeTheSheetGives) {
    QWidget parent;
    parent.setStyleSheet(shipped_sheet());
    auto* plain = new QPushButton(&parent);
    plain->setObjectName(QStringLiteral("plain"));
    auto* stage = new QPushButton(&parent);
    stage->setObjectName(QStringLiteral("stage"));
    stage->setProperty("role", "stageswatch");
    const QRgb colour = qRgb(0x21, 0x43, 0x65);
    for (QPushButton* swatch : {plain, stage}) {
        swatch->setFixedSize(40, 20);
        ui::show_swatch(swatch, colour);
        EXPECT_EQ(colour, pixel(*swatch, {20, 10})) << swatch->objectName().toStdString();
        EXPECT_NE(colour, pixel(*swatch, {0, 10})) << swatch->objectName().toStdString();
    }
    EXPECT_NE(pixel(*plain, {0, 10}), pixel(*stage, {0, 10})) << "stage colours have an edge "
                                                                 "of their own";

    // Without the sheet the colour is still shown as it is, not shaded by the style.
    QPushButton bare;
    bare.setObjectName(QStringLiteral("bare"));
    bare.setFixedSize(40, 20);
    ui::show_swatch(&bare, colour);
    EXPECT_EQ(colour, pixel(bare, {20, 10}));
}

// As "#rrggbb", which a failure prints readably.
QString text_colour(const QLabel* label) {
    return label->palette().color(QPalette::WindowText).name();
}

TEST(Theme, SelectedActionRowTurnsItsTextsDarkOnTheAccent) {
    QListWidget list;
    list.setStyleSheet(shipped_sheet());
    MacroAction action;
    action.set_code(4);
    action.set_kind(MacroAction::Press);
    for (int i = 0; i < 2; ++i) {
        pages::MacroActionRow::append_to(&list)->show_action(action);
    }
    list.show();
    pages::MacroActionRow* row = pages::MacroActionRow::at(&list, 1);
    const QString plain = text_colour(row->action());
    list.setCurrentRow(1);
    EXPECT_EQ("#0e0f12", text_colour(row->action()));
    EXPECT_EQ("#0e0f12", text_colour(row->delay()));
    EXPECT_NE(plain, text_colour(row->action()));
    list.setCurrentRow(0);
    EXPECT_EQ(plain, text_colour(row->action()));

    // Mouse buttons stand out from keys in the accent.
    const QString key_colour = text_colour(row->key());
    action.set_code(240);
    row->show_action(action);
    EXPECT_EQ("#00d2ff", text_colour(row->key()));
    EXPECT_NE(key_colour, text_colour(row->key()));
}

TEST(Theme, EveryDialogWearsTheSameFrame) {
    QWidget owner;
    MacroLibrary library{std::filesystem::path("/nonexistent")};
    ui::CMsgWnd message(&owner);
    ui::CSelectColorWnd picker(&owner);
    pages::CEditMacroName name(&owner, library);
    app::CAboutWnd about({QStringLiteral("1.2.3"), QStringLiteral("MIT"), QStringLiteral("/d"),
                          QStringLiteral("/p")},
                         &owner);
    const std::vector<std::pair<QDialog*, const char*>> dialogs{{&message, "msg_frame"},
                                                                {&picker, "select_frame"},
                                                                {&name, "name_frame"},
                                                                {&about, "about_frame"}};
    std::vector<std::pair<QRgb, QRgb>> looks;
    for (const auto& [dialog, frame_name] : dialogs) {
        dialog->setStyleSheet(shipped_sheet());
        dialog->adjustSize();
        auto* frame = dialog->findChild<QFrame*>(frame_name);
        ASSERT_NE(nullptr, frame) << frame_name;
        // The accent along the top, the dialog colour inside.
        looks.emplace_back(pixel(*frame, QPoint(frame->width() / 2, 1)),
                           pixel(*frame, QPoint(4, frame->height() / 2)));
    }
    EXPECT_EQ(qRgb(0x00, 0xd2, 0xff), looks[0].first);
    EXPECT_EQ(qRgb(0x17, 0x19, 0x1e), looks[0].second);
    EXPECT_EQ(looks[0], looks[1]);
    EXPECT_EQ(looks[0], looks[2]);
    EXPECT_EQ(looks[0], looks[3]);
}

// The controls of `window` the keyboard can reach now.
std::vector<QWidget*> focusable_controls(QWidget* window) {
    const auto takes_focus = [](const QWidget* widget) {
        return widget->focusPolicy() != Qt::NoFocus;
    };
    std::vector<QWidget*> found;
    for (QWidget* widget : window->findChildren<QWidget*>()) {
        bool part = false;
        for (const QWidget* up = widget->parentWidget(); up != window; up = up->parentWidget()) {
            part = part || takes_focus(up);
        }
        if (widget->window() == window && widget->isVisible() && widget->isEnabled() &&
            takes_focus(widget) && !part) {
            found.push_back(widget);
        }
    }
    return found;
}

// How many pixels the keyboard's focus changes clearly in `control`'s look.
int focus_mark(QWidget* control) {
    control->clearFocus();
    const QImage plain = control->grab().toImage();
    control->setFocus(Qt::TabFocusReason);
    const QImage marked = control->grab().toImage();
    control->clearFocus();
    int changed = 0;
    for (int y = 0; y < plain.height(); ++y) {
        for (int x = 0; x < plain.width(); ++x) {
            const QRgb a = plain.pixel(x, y);
            const QRgb b = marked.pixel(x, y);
            const int difference =
                std::max({std::abs(qRed(a) - qRed(b)), std::abs(qGreen(a) - qGreen(b)),
                          std::abs(qBlue(a) - qBlue(b))});
            changed += difference >= 64 ? 1 : 0;
        }
    }
    return changed;
}

// Some forty pixels: a one-pixel edge round the smallest control, more than a text cursor.
constexpr int kVisibleMark = 40;

TEST(Theme, EveryControlTheKeyboardReachesShowsThatItHasTheFocus) {
    test::TempDir dir;
    test::lay_out_program_folder(dir.path(), {test::profile_named(u"One")});
    const std::unique_ptr<app::CMainWnd> window = test::start_main_window(dir.path());
    window->setStyleSheet(shipped_sheet());
    window->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(window.get()));
    auto* light = window->findChild<QPushButton*>("light_btn");
    std::map<QWidget*, int> marks;
    for (const char* section :
         {"key_btn", "performance_btn", "light_btn", "macro_btn", "gun_btn"}) {
        window->findChild<QPushButton*>(section)->click();
        if (light->isChecked()) {
            // An effect with colours: the light page shows every kind of its controls.
            window->store().profiles().current()->set_light_mode(kLightColourCycle);
            window->refresh_pages();
        }
        for (QWidget* control : focusable_controls(window.get())) {
            marks[control] = focus_mark(control);
        }
    }

    window->hide();
    QWidget owner;
    MacroLibrary library{std::filesystem::path("/nonexistent")};
    ui::CMsgWnd message(&owner);
    ui::CSelectColorWnd picker(&owner);
    pages::CEditMacroName name(&owner, library);
    app::CAboutWnd about({}, &owner);
    for (QDialog* dialog : std::initializer_list<QDialog*>{&message, &picker, &name, &about}) {
        dialog->setStyleSheet(shipped_sheet());
        dialog->show();
        dialog->activateWindow();
        ASSERT_TRUE(QTest::qWaitFor([dialog] { return dialog->isActiveWindow(); }));
        for (QWidget* control : focusable_controls(dialog)) {
            marks[control] = focus_mark(control);
        }
        dialog->hide();
    }

    ASSERT_GT(marks.size(), 60u) << "the controls were found";
    for (const auto& [control, changed] : marks) {
        EXPECT_GE(changed, kVisibleMark) << control->window()->objectName().toStdString() << " "
                                         << control->objectName().toStdString();
    }
}

} // namespace
} // namespace zemrak
