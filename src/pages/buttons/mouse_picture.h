#pragma once

#include <QColor>
#include <QPainterPath>
#include <QPointF>
#include <QWidget>

namespace zemrak::pages {

// A top view of the mouse with its sixteen buttons, each numbered as the button records are:
// 1 left, 2 right, 3 wheel click, 4 forward and 5 back (thumb side), 6 DPI up and 7 DPI down
// (behind the wheel), 8 and 9 beside the left button's outer edge, 10 and 11 beside the right
// button's outer edge, 12 and 13 on the right flank, 14 the profile button on the palm, 15
// wheel up and 16 wheel down (the wheel's arrow ends).
//
// The drawing keeps its proportions at any size, centred in the widget, and is painted from
// paths, so it stays sharp at every device pixel ratio. It never highlights a button by
// itself: whoever shows it decides, through set_highlighted(), what a hover on the picture
// or on a control of the page lights up. Its colours come from the theme (qproperty-body,
// -outline, -button, -highlight, -badge, -badge_text); the defaults are the theme's.
class MousePicture final : public QWidget {
    Q_OBJECT
    // The shell and the palm, where there is no button.
    Q_PROPERTY(QColor body READ body WRITE set_body)
    // The shell's edge and the seams between parts.
    Q_PROPERTY(QColor outline READ outline WRITE set_outline)
    // The buttons' caps.
    Q_PROPERTY(QColor button READ button WRITE set_button)
    // The cap of the highlighted button.
    Q_PROPERTY(QColor highlight READ highlight WRITE set_highlight)
    // The ground of the number badges.
    Q_PROPERTY(QColor badge READ badge WRITE set_badge)
    // The numbers on the badges (the highlighted button's number takes the highlight colour).
    Q_PROPERTY(QColor badge_text READ badge_text WRITE set_badge_text)
public:
    static constexpr int kButtons = 16;

    explicit MousePicture(QWidget* parent = nullptr);

    // Lights up `button` (1..16); 0, or any other number, lights up none.
    void set_highlighted(int button);
    [[nodiscard]] int highlighted() const { return m_highlighted; }

    // The centre of the button's number badge, which lies on the button, in widget
    // coordinates: where a leader line from the button's control can end. A null point for a
    // number outside 1..16.
    [[nodiscard]] QPointF anchor(int button) const;
    // The button under `point` (widget coordinates), 0 over the seams, the palm and beside
    // the mouse.
    [[nodiscard]] int button_at(QPointF point) const;
    // The area of the button in widget coordinates; empty for a number outside 1..16. The
    // areas of two buttons never overlap.
    [[nodiscard]] QPainterPath region(int button) const;

    [[nodiscard]] QSize sizeHint() const override;
    [[nodiscard]] QSize minimumSizeHint() const override;

    [[nodiscard]] QColor body() const { return m_body; }
    void set_body(const QColor& colour);
    [[nodiscard]] QColor outline() const { return m_outline; }
    void set_outline(const QColor& colour);
    [[nodiscard]] QColor button() const { return m_button; }
    void set_button(const QColor& colour);
    [[nodiscard]] QColor highlight() const { return m_highlight; }
    void set_highlight(const QColor& colour);
    [[nodiscard]] QColor badge() const { return m_badge; }
    void set_badge(const QColor& colour);
    [[nodiscard]] QColor badge_text() const { return m_badge_text; }
    void set_badge_text(const QColor& colour);

signals:
    // The pointer moved onto another button (1..16), or off every button (0).
    void hovered(int button);

protected:
    void paintEvent(QPaintEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void leaveEvent(QEvent* event) override;

private:
    // From the drawing's own coordinates to the widget's.
    [[nodiscard]] QTransform to_widget() const;
    void set_hovered(int button);
    void set_colour(QColor& member, const QColor& colour);

    int m_highlighted = 0;
    int m_hovered = 0;
    QColor m_body{0x1b, 0x1e, 0x24};
    QColor m_outline{0x4a, 0x50, 0x5a};
    QColor m_button{0x26, 0x2a, 0x32};
    QColor m_highlight{0x00, 0xd2, 0xff};
    QColor m_badge{0x0e, 0x0f, 0x12};
    QColor m_badge_text{0xe6, 0xe8, 0xeb};
};

} // namespace zemrak::pages
