#include "ui/colour_palette.h"
#include "ui/notify_router.h"

#include <QTest>
#include <cmath>
#include <vector>

#include <gtest/gtest.h>

namespace zemrak::ui {
namespace {

// A palette of a known size on the screen, with every signal it sends recorded.
class ColourPaletteTest : public ::testing::Test {
protected:
    void SetUp() override {
        m_palette.resize(300, 160);
        m_palette.show();
        QObject::connect(&m_palette, &ColourPalette::colour_changed,
                         [this](QRgb argb) { m_changed.push_back(argb); });
        QObject::connect(&m_palette, &ColourPalette::colour_released,
                         [this](QRgb argb) { m_released.push_back(argb); });
    }

    // The point of the field for a hue and a saturation, both 0..1.
    QPoint field_point(double hue, double saturation) const {
        const QRect field = m_palette.field_rect();
        return {field.left() + static_cast<int>(std::lround(hue * (field.width() - 1))),
                field.top() +
                    static_cast<int>(std::lround((1.0 - saturation) * (field.height() - 1)))};
    }
    QPoint strip_point(double value) const {
        const QRect strip = m_palette.strip_rect();
        return {strip.center().x(),
                strip.top() + static_cast<int>(std::lround((1.0 - value) * (strip.height() - 1)))};
    }
    void click(QPoint at) {
        QTest::mousePress(&m_palette, Qt::LeftButton, {}, at);
        QTest::mouseRelease(&m_palette, Qt::LeftButton, {}, at);
    }
    QColor picked() const { return QColor(m_palette.colour()); }

    ColourPalette m_palette;
    std::vector<QRgb> m_changed;
    std::vector<QRgb> m_released;
};

TEST_F(ColourPaletteTest, FieldPicksHueAcrossAndSaturationDown) {
    m_palette.set_colour(qRgb(255, 255, 255));
    click(field_point(0.0, 1.0));
    EXPECT_EQ(qRgb(255, 0, 0), m_palette.colour());

    click(field_point(1.0 / 3.0, 1.0));
    EXPECT_NEAR(120, picked().hsvHue(), 2);
    EXPECT_EQ(255, picked().hsvSaturation());
    EXPECT_EQ(255, picked().value());

    click(field_point(2.0 / 3.0, 0.5));
    EXPECT_NEAR(240, picked().hsvHue(), 2);
    EXPECT_NEAR(128, picked().hsvSaturation(), 3);

    click(field_point(0.5, 0.0));
    EXPECT_EQ(qRgb(255, 255, 255), m_palette.colour()) << "no saturation at the bottom";
}

TEST_F(ColourPaletteTest, StripSetsTheValueAndKeepsHueAndSaturation) {
    m_palette.set_colour(qRgb(0, 0, 255));
    click(strip_point(0.5));
    EXPECT_EQ(240, picked().hsvHue());
    EXPECT_NEAR(128, picked().value(), 2);

    click(strip_point(0.0));
    EXPECT_EQ(qRgb(0, 0, 0), m_palette.colour());
    click(strip_point(1.0));
    EXPECT_EQ(qRgb(0, 0, 255), m_palette.colour()) << "black must not lose the hue";

    // A field pick from black comes at full value, else every point would be black again.
    m_palette.set_colour(qRgb(0, 0, 0));
    click(field_point(0.0, 1.0));
    EXPECT_EQ(qRgb(255, 0, 0), m_palette.colour());
}

TEST_F(ColourPaletteTest, SetColourReadsBackExactlyWithoutSignals) {
    for (const QRgb colour : {qRgb(0x12, 0x34, 0x56), qRgb(1, 2, 3), qRgb(128, 128, 128),
                              qRgb(0, 0, 0), qRgb(255, 254, 253)}) {
        m_palette.set_colour(colour);
        EXPECT_EQ(colour, m_palette.colour());
    }
    m_palette.set_colour(0x00ABCDEFu);
    EXPECT_EQ(0xFFABCDEFu, m_palette.colour()) << "always opaque";
    EXPECT_TRUE(m_changed.empty());
    EXPECT_TRUE(m_released.empty());
}

TEST_F(ColourPaletteTest, DragSendsChangesAndOneReleaseAndKeepsToThePartPressed) {
    m_palette.set_colour(qRgb(0, 0, 255));
    QTest::mousePress(&m_palette, Qt::LeftButton, {}, field_point(0.0, 1.0));
    QTest::mouseMove(&m_palette, field_point(0.2, 1.0));
    // Far past the field, over the strip: still a field drag, so the value cannot change.
    QTest::mouseMove(&m_palette, strip_point(0.9));
    ASSERT_EQ(3u, m_changed.size());
    EXPECT_EQ(qRgb(255, 0, 0), m_changed.front());
    EXPECT_EQ(255, QColor(m_changed.back()).value());
    EXPECT_TRUE(m_released.empty()) << "nothing is final while the button is down";

    QTest::mouseRelease(&m_palette, Qt::LeftButton, {}, field_point(0.5, 0.5));
    ASSERT_EQ(1u, m_released.size());
    EXPECT_EQ(m_palette.colour(), m_released.front());
    EXPECT_EQ(m_changed.back(), m_released.front());
    EXPECT_NEAR(180, QColor(m_released.front()).hsvHue(), 2);

    // Moving without a press picks nothing.
    QTest::mouseMove(&m_palette, field_point(0.9, 0.9));
    EXPECT_EQ(4u, m_changed.size());
}

TEST_F(ColourPaletteTest, RouterTurnsTheSignalsIntoColourNotifications) {
    std::vector<Notification> seen;
    NotifyRouter router([&seen](const Notification& n) {
        if (n.type.startsWith("color")) {
            seen.push_back(n);
        }
    });
    m_palette.setObjectName("color_Pallet");
    router.attach(&m_palette);
    m_palette.set_colour(qRgb(255, 255, 255));
    QTest::mousePress(&m_palette, Qt::LeftButton, {}, field_point(0.0, 1.0));
    QTest::mouseRelease(&m_palette, Qt::LeftButton, {}, field_point(0.0, 1.0));
    ASSERT_EQ(3u, seen.size());
    EXPECT_EQ("colorchanged", seen[0].type);
    EXPECT_EQ("color_Pallet", seen[0].sender);
    EXPECT_EQ(qint64{0xFFFF0000}, seen[0].wparam);
    EXPECT_EQ("colorchangedbuttonup", seen[2].type);
    EXPECT_EQ(qint64{0xFFFF0000}, seen[2].wparam);
}

TEST_F(ColourPaletteTest, KeysMoveTheMarkersAndEachIsAWholePick) {
    EXPECT_EQ(Qt::StrongFocus, m_palette.focusPolicy());
    m_palette.set_colour(qRgb(255, 0, 0));
    QTest::keyClick(&m_palette, Qt::Key_Right);
    EXPECT_NEAR(5, picked().hsvHue(), 1) << "five degrees of hue";
    EXPECT_EQ((std::vector<QRgb>{m_palette.colour()}), m_changed);
    EXPECT_EQ(m_changed, m_released) << "reported like a drag that has ended";
    QTest::keyClick(&m_palette, Qt::Key_Left);
    QTest::keyClick(&m_palette, Qt::Key_Left);
    EXPECT_EQ(0, picked().hsvHue()) << "held at red, not wrapped round";
    QTest::keyClick(&m_palette, Qt::Key_Down);
    EXPECT_NEAR(242, picked().hsvSaturation(), 1);
    QTest::keyClick(&m_palette, Qt::Key_PageDown);
    EXPECT_NEAR(242, picked().value(), 1);
    QTest::keyClick(&m_palette, Qt::Key_Up);
    QTest::keyClick(&m_palette, Qt::Key_PageUp);
    EXPECT_EQ(qRgb(255, 0, 0), m_palette.colour());

    // From black the field's keys bring the colour back at full brightness.
    m_palette.set_colour(qRgb(0, 0, 0));
    QTest::keyClick(&m_palette, Qt::Key_Up);
    EXPECT_EQ(255, picked().value());
    const std::size_t reported = m_changed.size();
    QTest::keyClick(&m_palette, Qt::Key_A);
    EXPECT_EQ(reported, m_changed.size()) << "other keys pick nothing";
}

} // namespace
} // namespace zemrak::ui
