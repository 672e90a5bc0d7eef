// Draws the program's logo and window icon: a bold, forward-leaning "Z" in the accent colour
// on a dark rounded square. Run at build time, so the picture lives here as code.
//
//   make_logo OUTPUT.png

#include <QColor>
#include <QImage>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QPen>
#include <QPolygonF>
#include <QRadialGradient>
#include <QString>
#include <QTransform>
#include <cstdio>

namespace {

constexpr int kSize = 256;
// The theme's accent, with a lighter and a deeper shade for the letter's gradient.
const QColor kAccent(0x00, 0xd2, 0xff);
const QColor kAccentLight(0x8c, 0xf0, 0xff);
const QColor kAccentDeep(0x00, 0x7e, 0xc4);

void draw_tile(QPainter& painter) {
    const QRectF tile(12, 12, kSize - 24, kSize - 24);
    QLinearGradient body(tile.topLeft(), tile.bottomRight());
    body.setColorAt(0.0, QColor(0x24, 0x28, 0x31));
    body.setColorAt(1.0, QColor(0x0a, 0x0b, 0x0e));
    painter.setPen(Qt::NoPen);
    painter.setBrush(body);
    painter.drawRoundedRect(tile, 52, 52);

    // A soft cyan light behind the letter gives the tile depth at small sizes too.
    QRadialGradient glow(tile.center(), tile.width() * 0.55);
    QColor inner = kAccent;
    inner.setAlpha(70);
    QColor outer = kAccent;
    outer.setAlpha(0);
    glow.setColorAt(0.0, inner);
    glow.setColorAt(1.0, outer);
    painter.setBrush(glow);
    painter.drawRoundedRect(tile, 52, 52);

    QColor rim = kAccent;
    rim.setAlpha(110);
    painter.setBrush(Qt::NoBrush);
    painter.setPen(QPen(rim, 4));
    painter.drawRoundedRect(tile.adjusted(2, 2, -2, -2), 50, 50);
}

// Leans the letter forward about the tile's centre.
QTransform forward_lean() {
    return QTransform().translate(128, 128).shear(-0.18, 0).translate(-128, -128);
}

QPainterPath letter_z() {
    // The Z on a 256 grid: two bars joined by a heavy diagonal.
    const QPolygonF outline{{
        {70, 62},
        {188, 62},
        {188, 94},
        {114, 164},
        {188, 164},
        {188, 196},
        {68, 196},
        {68, 164},
        {142, 94},
        {70, 94},
    }};
    QPainterPath path;
    path.addPolygon(outline);
    path.closeSubpath();
    return forward_lean().map(path);
}

void draw_letter(QPainter& painter) {
    const QPainterPath z = letter_z();

    // A few wide, faint strokes stand in for a blurred glow.
    painter.setBrush(Qt::NoBrush);
    for (const int width : {16, 8}) {
        QColor haze = kAccent;
        haze.setAlpha(28);
        painter.setPen(QPen(haze, width, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
        painter.drawPath(z);
    }

    QLinearGradient fill(QPointF(0, 62), QPointF(0, 196));
    fill.setColorAt(0.0, kAccentLight);
    fill.setColorAt(0.45, kAccent);
    fill.setColorAt(1.0, kAccentDeep);
    painter.setPen(Qt::NoPen);
    painter.setBrush(fill);
    painter.drawPath(z);

    // A thin light edge along the top bar catches the eye like a bevel.
    painter.setPen(QPen(QColor(255, 255, 255, 120), 2));
    painter.setBrush(Qt::NoBrush);
    painter.drawLine(forward_lean().map(QLineF(73, 64, 186, 64)));
}

} // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: make_logo OUTPUT.png\n");
        return 2;
    }

    QImage image(kSize, kSize, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    {
        QPainter painter(&image);
        painter.setRenderHint(QPainter::Antialiasing);
        draw_tile(painter);
        draw_letter(painter);
    }

    const QString output = QString::fromLocal8Bit(argv[1]);
    if (!image.save(output, "PNG")) {
        std::fprintf(stderr, "make_logo: cannot write %s\n", argv[1]);
        return 1;
    }
    return 0;
}
