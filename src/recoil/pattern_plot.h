#pragma once

#include "recoil/recoil_record.h"

#include <QColor>
#include <QPointF>
#include <QString>
#include <QTransform>
#include <QWidget>
#include <array>
#include <optional>

namespace zemrak::pages {

// The recoil pattern drawn: the path the pointer takes over the bullets in use, from where
// the first shot starts, each bullet's movement added to the ones before it (x to the right,
// y down, as the pointer moves). One point per bullet, numbered; the selected bullet's point
// stands out. Below the path the bullets are laid out on a line of time, each after the
// delays of the ones before it.
//
// A point can be dragged: while it moves, moved() reports the bullet's new x and y (each held
// within -127..127, what typing allows), the points after it following; released() says the
// drag ended. The plot changes no bullet itself: the page takes the values and shows them
// again. A click on a point selects it.
//
// Without a pattern to show the plot says what to do instead (the message is the caller's).
// Colours come from the theme (qproperty-background, -grid, -path, -point, -selected, -text).
class PatternPlot final : public QWidget {
    Q_OBJECT
    Q_PROPERTY(QColor background READ background WRITE set_background)
    Q_PROPERTY(QColor grid READ grid WRITE set_grid)
    Q_PROPERTY(QColor path READ path WRITE set_path)
    Q_PROPERTY(QColor point READ point WRITE set_point)
    Q_PROPERTY(QColor selected READ selected WRITE set_selected)
    Q_PROPERTY(QColor text READ text WRITE set_text)
public:
    using Bullets = std::array<Bullet, RecoilRecord::kMaxBullets>;

    explicit PatternPlot(QWidget* parent = nullptr);

    // Shows the first `count` (0..30) of `bullets`; a selection beyond them is dropped.
    void show_pattern(const Bullets& bullets, int count);
    // Shows no pattern but `message` in its place.
    void show_message(const QString& message);
    [[nodiscard]] bool shows_pattern() const { return m_message.isEmpty(); }
    [[nodiscard]] const QString& message() const { return m_message; }

    // The highlighted bullet, 0-based; -1 for none.
    void set_selected_bullet(int slot);
    [[nodiscard]] int selected_bullet() const { return m_selected; }

    // Where the point of bullet `slot` (0-based, in use) is drawn, in widget coordinates;
    // nothing for a bullet that is not shown.
    [[nodiscard]] std::optional<QPointF> point_of(int slot) const;
    // The sum of the movements of bullets 0..slot: where the point stands in pattern units.
    [[nodiscard]] QPointF cumulative(int slot) const;

    [[nodiscard]] QSize sizeHint() const override;
    [[nodiscard]] QSize minimumSizeHint() const override;

    [[nodiscard]] QColor background() const { return m_background; }
    void set_background(const QColor& colour);
    [[nodiscard]] QColor grid() const { return m_grid; }
    void set_grid(const QColor& colour);
    [[nodiscard]] QColor path() const { return m_path; }
    void set_path(const QColor& colour);
    [[nodiscard]] QColor point() const { return m_point; }
    void set_point(const QColor& colour);
    [[nodiscard]] QColor selected() const { return m_selectedColour; }
    void set_selected(const QColor& colour);
    [[nodiscard]] QColor text() const { return m_text; }
    void set_text(const QColor& colour);

signals:
    // A point was clicked or began to be dragged.
    void bulletSelected(int slot);
    // The dragged bullet's new movement, each within -127..127.
    void bulletMoved(int slot, int x, int y);
    // The drag of `slot` ended.
    void bulletReleased(int slot);

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    // The area of the path and the strip of the time line below it.
    [[nodiscard]] QRectF path_area() const;
    [[nodiscard]] QRectF time_area() const;
    // From pattern units to widget coordinates, fitting every point and the start.
    [[nodiscard]] QTransform fit() const;
    [[nodiscard]] int bullet_at(QPointF point) const;
    void paint_path(QPainter& painter) const;
    void paint_time_line(QPainter& painter) const;
    void set_colour(QColor& member, const QColor& colour);

    Bullets m_bullets{};
    int m_count = 0;
    int m_selected = -1;
    QString m_message;
    // While a point is dragged: which, and the mapping the drag started with, so the plot
    // does not rescale under the pointer.
    int m_dragged = -1;
    QTransform m_dragMap;

    QColor m_background{0x0b, 0x0c, 0x0f};
    QColor m_grid{0x2c, 0x30, 0x38};
    QColor m_path{0x00, 0xd2, 0xff};
    QColor m_point{0xe6, 0xe8, 0xeb};
    QColor m_selectedColour{0xff, 0xb3, 0x47};
    QColor m_text{0x8a, 0x90, 0x99};
};

} // namespace zemrak::pages
