// The mouse picture of the button page: where its buttons lie, how it lights one up, how it
// follows the pointer, its colours from the theme and its sharpness on a 2x screen.

#include "pages/buttons/mouse_picture.h"

#include <QApplication>
#include <QFile>
#include <QImage>
#include <QMetaProperty>
#include <QMouseEvent>
#include <QPainterPathStroker>
#include <QPixmap>
#include <QSignalSpy>
#include <cstdlib>
#include <vector>

#include <gtest/gtest.h>

namespace zemrak::pages {
namespace {

constexpr QSize kHintSize(260, 360);

// A point of the palm, where there is no button, at the hinted size.
constexpr QPointF kPalm(130, 250);

QRgb opaque(QRgb colour) {
    return colour | 0xFF000000u;
}

bool close(QRgb a, QRgb b) {
    return std::abs(qRed(a) - qRed(b)) <= 8 && std::abs(qGreen(a) - qGreen(b)) <= 8 &&
           std::abs(qBlue(a) - qBlue(b)) <= 8;
}

TEST(MousePicture, EveryButtonHasAnAreaItsAnchorLiesOn) {
    MousePicture picture;
    // At the hinted size, and wider than the drawing, which is then centred.
    for (const QSize size : {kHintSize, QSize(600, 540)}) {
        picture.resize(size);
        for (int button = 1; button <= MousePicture::kButtons; ++button) {
            const QPointF anchor = picture.anchor(button);
            EXPECT_TRUE(QRectF(picture.rect()).contains(anchor)) << button;
            EXPECT_EQ(button, picture.button_at(anchor)) << button << " at " << size.width();
        }
        EXPECT_EQ(0, picture.button_at(QPointF(2, 2))) << "beside the mouse";
    }
    picture.resize(kHintSize);
    EXPECT_EQ(0, picture.button_at(kPalm));
    EXPECT_TRUE(picture.region(0).isEmpty());
    EXPECT_TRUE(picture.region(17).isEmpty());
}

TEST(MousePicture, NoPointBelongsToTwoButtons) {
    MousePicture picture;
    picture.resize(kHintSize);
    std::vector<QPainterPath> regions;
    for (int button = 1; button <= MousePicture::kButtons; ++button) {
        regions.push_back(picture.region(button));
    }
    for (double y = 0.25; y < kHintSize.height(); y += 0.5) {
        for (double x = 0.25; x < kHintSize.width(); x += 0.5) {
            std::vector<int> owners;
            for (std::size_t i = 0; i < regions.size(); ++i) {
                if (regions[i].contains(QPointF(x, y))) {
                    owners.push_back(static_cast<int>(i) + 1);
                }
            }
            ASSERT_LE(owners.size(), 1u)
                << "buttons " << owners[0] << " and " << owners[1] << " at " << x << ", " << y;
        }
    }
}

TEST(MousePicture, LightsUpOnlyTheHighlightedButtonInTheAccent) {
    MousePicture picture;
    picture.resize(kHintSize);
    const QImage plain = picture.grab().toImage();
    const QRgb accent = picture.highlight().rgb();
    const QRgb cap_colour = picture.button().rgb();
    QPainterPathStroker edge;
    edge.setWidth(3.0); // the button's own outline and its smoothing stay within 1.5 px
    for (int button = 1; button <= MousePicture::kButtons; ++button) {
        picture.set_highlighted(button);
        const QImage lit = picture.grab().toImage();
        const QPainterPath area = picture.region(button);
        const QPainterPath rim = edge.createStroke(area);
        const QPainterPath near = area.united(rim);
        const QPainterPath within = area.subtracted(rim);
        int changed_elsewhere = 0;
        int inside = 0;
        int cap = 0;
        int cap_lit = 0;
        for (int y = 0; y < lit.height(); ++y) {
            for (int x = 0; x < lit.width(); ++x) {
                const QPointF centre(x + 0.5, y + 0.5);
                if (lit.pixel(x, y) != plain.pixel(x, y) && !near.contains(centre)) {
                    ++changed_elsewhere;
                }
                if (within.contains(centre)) {
                    ++inside;
                    if (opaque(plain.pixel(x, y)) == cap_colour) {
                        ++cap;
                        cap_lit += close(lit.pixel(x, y), accent) ? 1 : 0;
                    }
                }
            }
        }
        EXPECT_EQ(0, changed_elsewhere) << button;
        // All of the cap turns to the accent; the rest is the badge and the button's marks.
        // (A cap only a little lighter than its neighbours hides a touch of them at its
        // edges, which the accent shows: hence the button's rim is left out, and the accent
        // need only be close beside the badges and marks.)
        EXPECT_EQ(cap, cap_lit) << button;
        EXPECT_GT(cap, inside / 3) << button;
    }
    picture.set_highlighted(0);
    EXPECT_EQ(plain, picture.grab().toImage());
    picture.set_highlighted(17);
    EXPECT_EQ(0, picture.highlighted());
}

TEST(MousePicture, ReportsTheButtonUnderThePointerOncePerChange) {
    MousePicture picture;
    picture.resize(kHintSize);
    QSignalSpy spy(&picture, &MousePicture::hovered);
    const auto move = [&](QPointF at) {
        QMouseEvent event(QEvent::MouseMove, at, picture.mapToGlobal(at), Qt::NoButton,
                          Qt::NoButton, Qt::NoModifier);
        QApplication::sendEvent(&picture, &event);
    };
    const auto leave = [&] {
        QEvent event(QEvent::Leave);
        QApplication::sendEvent(&picture, &event);
    };
    move(picture.anchor(1));
    move(picture.anchor(1) + QPointF(0, 3));
    move(picture.anchor(2));
    move(kPalm);
    move(kPalm + QPointF(4, 0));
    move(picture.anchor(3));
    leave();
    leave();
    std::vector<int> reported;
    for (const QList<QVariant>& arguments : spy) {
        reported.push_back(arguments.at(0).toInt());
    }
    EXPECT_EQ((std::vector<int>{1, 2, 0, 3, 0}), reported);
    EXPECT_EQ(0, picture.highlighted()) << "a hover alone lights nothing up";
}

TEST(MousePicture, PaintsInTheColoursOfTheSheet) {
    QWidget parent;
    auto* picture = new MousePicture(&parent);
    picture->resize(kHintSize);
    std::vector<QMetaProperty> colours;
    const QMetaObject* meta = picture->metaObject();
    for (int i = QWidget::staticMetaObject.propertyCount(); i < meta->propertyCount(); ++i) {
        if (meta->property(i).metaType() == QMetaType::fromType<QColor>()) {
            colours.push_back(meta->property(i));
        }
    }
    ASSERT_EQ(6u, colours.size()) << "body, outline, button, highlight, badge, badge_text";
    const QColor unset(0x12, 0x34, 0x56);
    for (const QMetaProperty& property : colours) {
        property.write(picture, unset);
    }
    QFile sheet(QStringLiteral(ZEMRAK_SOURCE_DIR "/res/theme/zemrak.qss"));
    ASSERT_TRUE(sheet.open(QIODevice::ReadOnly | QIODevice::Text));
    parent.setStyleSheet(QString::fromUtf8(sheet.readAll()));
    picture->ensurePolished();
    for (const QMetaProperty& property : colours) {
        EXPECT_NE(unset, property.read(picture).value<QColor>())
            << property.name() << " has no qproperty rule in the sheet";
    }

    parent.setStyleSheet(QStringLiteral("#ver_mouse_pic { qproperty-body: #102030; "
                                        "qproperty-button: #203040; "
                                        "qproperty-highlight: #ff8000; }"));
    picture->ensurePolished();
    picture->set_highlighted(2);
    const QImage image = picture->grab().toImage();
    // Clear of the badges, which lie on the anchors.
    const QPoint on_left = (picture->anchor(1) + QPointF(0, 14)).toPoint();
    const QPoint on_right = (picture->anchor(2) + QPointF(0, 14)).toPoint();
    EXPECT_EQ(qRgb(0x10, 0x20, 0x30), opaque(image.pixel(kPalm.toPoint())));
    EXPECT_EQ(qRgb(0x20, 0x30, 0x40), opaque(image.pixel(on_left)));
    EXPECT_EQ(qRgb(0xff, 0x80, 0x00), opaque(image.pixel(on_right)));
}

TEST(MousePicture, DrawsAtTwiceThePixelsWithSharpEdges) {
    MousePicture picture;
    picture.resize(kHintSize);
    constexpr int kRatio = 2;
    QPixmap pixmap(kHintSize * kRatio);
    pixmap.setDevicePixelRatio(kRatio);
    const QRgb background = qRgb(0x0e, 0x0f, 0x12);
    pixmap.fill(QColor(background));
    picture.render(&pixmap, QPoint(), QRegion(), QWidget::DrawChildren);
    const QImage image = pixmap.toImage();
    ASSERT_EQ(kHintSize * kRatio, image.size());

    // Across the back of the palm from the left: the background, the shell's edge, the body.
    // Each change takes at most two blended pixels (the edge runs at a slant), as a drawing
    // made for these pixels does; one drawn at half the size and stretched blurs across more.
    const int row = 300 * kRatio;
    const QRgb outline = picture.outline().rgb();
    const QRgb body = picture.body().rgb();
    const auto at = [&](int x) { return opaque(image.pixel(x, row)); };
    int x = 0;
    while (x < image.width() && at(x) == background) {
        ++x;
    }
    const int edge = x;
    while (x < image.width() && at(x) != outline) {
        ++x;
    }
    EXPECT_LE(x - edge, 2) << "from the background to the outline at " << edge;
    while (x < image.width() && at(x) == outline) {
        ++x;
    }
    const int inner = x;
    while (x < image.width() && at(x) != body) {
        ++x;
    }
    EXPECT_LE(x - inner, 2) << "from the outline to the body at " << inner;

    EXPECT_LT(x, image.width() / 4);
}

} // namespace
} // namespace zemrak::pages
