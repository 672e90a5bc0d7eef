#pragma once

#include <QColor>
#include <QPushButton>

namespace zemrak::pages {

// A small step button of a movement value that shows, instead of its text, an arrow drawn in
// the direction the step moves the pointer: a press of the button that adds to x shows a
// right arrow whatever its control name says. The text ("+" or "-") stays the button's
// accessible name. Colours come from the theme (qproperty-arrow, -arrow_hover,
// -arrow_pressed).
class ArrowStepButton final : public QPushButton {
    Q_OBJECT
    Q_PROPERTY(QColor arrow READ arrow WRITE set_arrow)
    Q_PROPERTY(QColor arrow_hover READ arrow_hover WRITE set_arrow_hover)
    Q_PROPERTY(QColor arrow_pressed READ arrow_pressed WRITE set_arrow_pressed)
public:
    // Where a press moves the pointer, on the screen.
    enum class Direction { left, right, up, down };

    explicit ArrowStepButton(QWidget* parent = nullptr);

    void set_direction(Direction direction);
    [[nodiscard]] Direction direction() const { return m_direction; }

    [[nodiscard]] QColor arrow() const { return m_arrow; }
    void set_arrow(const QColor& colour);
    [[nodiscard]] QColor arrow_hover() const { return m_arrowHover; }
    void set_arrow_hover(const QColor& colour);
    [[nodiscard]] QColor arrow_pressed() const { return m_arrowPressed; }
    void set_arrow_pressed(const QColor& colour);

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    Direction m_direction = Direction::right;
    QColor m_arrow{0x8a, 0x90, 0x99};
    QColor m_arrowHover{0x00, 0xd2, 0xff};
    QColor m_arrowPressed{0x0e, 0x0f, 0x12};
};

} // namespace zemrak::pages
