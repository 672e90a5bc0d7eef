#include "ui/lock_mark.h"

#include <QIconEngine>
#include <QPainter>
#include <QPainterPath>
#include <QPixmap>
#include <algorithm>

namespace zemrak::ui {
namespace {

// Amber reads on the dark rows and on the accent of a selected one alike.
constexpr QRgb kLockColour = 0xFFFFB347u;

class LockEngine final : public QIconEngine {
public:
    explicit LockEngine(bool drawn) : m_drawn(drawn) {}

    void paint(QPainter* painter, const QRect& rect, QIcon::Mode mode, QIcon::State) override {
        if (!m_drawn) {
            return;
        }
        const qreal side = std::min(rect.width(), rect.height());
        const QRectF box(rect.x() + (rect.width() - side) / 2.0,
                         rect.y() + (rect.height() - side) / 2.0, side, side);
        QColor colour = QColor::fromRgba(kLockColour);
        if (mode == QIcon::Disabled) {
            colour.setAlphaF(0.4f);
        }
        painter->save();
        painter->setRenderHint(QPainter::Antialiasing);
        // The shackle: an arch over the body.
        QPen shackle(colour, side * 0.12);
        shackle.setCapStyle(Qt::FlatCap);
        painter->setPen(shackle);
        painter->setBrush(Qt::NoBrush);
        const QRectF arch(box.x() + side * 0.3, box.y() + side * 0.1, side * 0.4, side * 0.5);
        QPainterPath path;
        path.moveTo(arch.left(), arch.center().y() + side * 0.2);
        path.lineTo(arch.left(), arch.center().y());
        path.arcTo(arch, 180.0, -180.0);
        path.lineTo(arch.right(), arch.center().y() + side * 0.2);
        painter->drawPath(path);
        // The body, with a keyhole cut out of it.
        const QRectF body(box.x() + side * 0.18, box.y() + side * 0.45, side * 0.64, side * 0.47);
        QPainterPath solid;
        solid.addRoundedRect(body, side * 0.08, side * 0.08);
        QPainterPath hole;
        hole.addEllipse(QPointF(body.center().x(), body.center().y() - side * 0.03), side * 0.07,
                        side * 0.07);
        painter->setPen(Qt::NoPen);
        painter->setBrush(colour);
        painter->drawPath(solid.subtracted(hole));
        painter->restore();
    }

    QPixmap pixmap(const QSize& size, QIcon::Mode mode, QIcon::State state) override {
        return scaledPixmap(size, mode, state, 1.0);
    }

    QPixmap scaledPixmap(const QSize& size, QIcon::Mode mode, QIcon::State state,
                         qreal scale) override {
        QPixmap pixmap(size * scale);
        pixmap.fill(Qt::transparent);
        {
            QPainter painter(&pixmap);
            paint(&painter, QRect(QPoint(0, 0), pixmap.size()), mode, state);
        }
        pixmap.setDevicePixelRatio(scale);
        return pixmap;
    }

    [[nodiscard]] QIconEngine* clone() const override { return new LockEngine(*this); }
    [[nodiscard]] QString key() const override { return QStringLiteral("zemrak-lock"); }

private:
    bool m_drawn;
};

} // namespace

QIcon lock_icon() {
    static const QIcon icon(new LockEngine(true));
    return icon;
}

QIcon no_lock_icon() {
    static const QIcon icon(new LockEngine(false));
    return icon;
}

} // namespace zemrak::ui
