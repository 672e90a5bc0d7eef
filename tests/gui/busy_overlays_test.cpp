// The busy cover and the busy ring over a window: placement, input and animation.

#include "ui/busy_overlays.h"

#include <QEvent>
#include <QLabel>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <QWindow>

#include <gtest/gtest.h>

namespace zemrak::ui {
namespace {

// Counts the presses that reach a widget itself, including those bubbling up from children.
class PressCounter final : public QObject {
public:
    int presses = 0;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::MouseButtonPress) {
            ++presses;
        }
        return QObject::eventFilter(watched, event);
    }
};

class BusyOverlayTest : public testing::Test {
protected:
    void SetUp() override {
        m_window.resize(400, 300);
        m_window.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&m_window));
    }

    // A click as the user makes it: at a point of the window, delivered to whatever is on top.
    void click_window_at(QPoint pos) {
        QTest::mouseClick(m_window.windowHandle(), Qt::LeftButton, {}, pos);
    }

    QWidget m_window;
};

TEST_F(BusyOverlayTest, CoverStartsHiddenAndCoversTheWindowAtEverySize) {
    BusyCover cover(&m_window);
    EXPECT_EQ(cover.objectName(), QStringLiteral("disable_window_ver"));
    EXPECT_FALSE(cover.isVisible());
    EXPECT_EQ(cover.geometry(), m_window.rect());

    cover.show();
    m_window.resize(640, 480);
    EXPECT_EQ(cover.geometry(), QRect(0, 0, 640, 480));

    // Resized while hidden, it still fits when shown again.
    cover.hide();
    m_window.resize(500, 350);
    cover.show();
    EXPECT_EQ(cover.geometry(), QRect(0, 0, 500, 350));
}

TEST_F(BusyOverlayTest, CoverTakesTheClicksMeantForWhatIsBeneath) {
    BusyCover cover(&m_window);
    // Made after the cover, the button starts above it, as controls built later would.
    QPushButton beneath(&m_window);
    beneath.setGeometry(150, 120, 100, 40);
    beneath.show();
    int clicks = 0;
    QObject::connect(&beneath, &QPushButton::clicked, [&clicks] { ++clicks; });
    PressCounter window_presses;
    m_window.installEventFilter(&window_presses);
    const QPoint on_button = beneath.geometry().center();

    click_window_at(on_button);
    ASSERT_EQ(clicks, 1) << "clicks at a point of the window do not reach the button";

    cover.show();
    click_window_at(on_button);
    click_window_at(QPoint(10, 10));
    EXPECT_EQ(clicks, 1);
    // Nor do they bubble up to the window, whose header would start moving it.
    EXPECT_EQ(window_presses.presses, 0);

    cover.hide();
    click_window_at(on_button);
    EXPECT_EQ(clicks, 2);
}

TEST_F(BusyOverlayTest, CoverDarkensTheWindowWithoutHidingIt) {
    m_window.setStyleSheet(QStringLiteral("background-color: white;"));
    BusyCover cover(&m_window);
    cover.show();
    const QColor veiled = m_window.grab().toImage().pixelColor(200, 150);
    EXPECT_LT(veiled.lightness(), 128);
    EXPECT_GT(veiled.lightness(), 0);
}

TEST_F(BusyOverlayTest, RingSitsInTheMiddleWithTheApplyingText) {
    BusyRing ring(&m_window);
    EXPECT_EQ(ring.objectName(), QStringLiteral("ring_ver"));
    EXPECT_FALSE(ring.isVisible());

    ring.show();
    EXPECT_EQ(ring.geometry().center(), m_window.rect().center());
    m_window.resize(800, 600);
    EXPECT_EQ(ring.geometry().center(), m_window.rect().center());

    const auto* label = ring.findChild<QLabel*>(QStringLiteral("ring_label"));
    ASSERT_NE(label, nullptr);
    EXPECT_EQ(label->text(), QStringLiteral("Applying…"));
    EXPECT_TRUE(ring.geometry().contains(ring.mapToParent(label->geometry().center())));
}

TEST_F(BusyOverlayTest, RingAnimatesOnlyWhileOnScreen) {
    BusyRing ring(&m_window);
    const auto* timer = ring.findChild<QTimer*>(QStringLiteral("ring_timer"));
    ASSERT_NE(timer, nullptr);
    EXPECT_FALSE(timer->isActive());

    ring.show();
    EXPECT_TRUE(timer->isActive());
    // The picture really turns from one frame to the next.
    const QImage before = ring.grab().toImage();
    QTest::qWait(3 * timer->interval());
    EXPECT_NE(ring.grab().toImage(), before);

    ring.hide();
    EXPECT_FALSE(timer->isActive());

    // Hiding the whole window to the tray stops it too, and showing the window resumes it.
    ring.show();
    m_window.hide();
    EXPECT_FALSE(timer->isActive());
    m_window.show();
    EXPECT_TRUE(timer->isActive());
}

} // namespace
} // namespace zemrak::ui
