#pragma once

#include <QWidget>

class QLabel;
class QTimer;

namespace zemrak::ui {

// A child widget laid over its parent rather than into its layout: it keeps itself placed
// when the parent is resized, comes to the front whenever it is shown, and takes every mouse
// press, wheel turn and context-menu request over it so that nothing underneath reacts.
class Overlay : public QWidget {
    Q_OBJECT
public:
    explicit Overlay(QWidget* parent);

protected:
    // Places the overlay within the parent's current rectangle.
    virtual void fit_to_parent() = 0;

    bool eventFilter(QObject* watched, QEvent* event) override;
    bool event(QEvent* event) override;
    void showEvent(QShowEvent* event) override;
};

// The busy cover "disable_window_ver": a dark veil over the whole parent window, shown while
// a dialog runs over it so the window beneath reads as out of reach. Hidden until shown.
class BusyCover final : public Overlay {
    Q_OBJECT
public:
    explicit BusyCover(QWidget* parent);

protected:
    void fit_to_parent() override;
    void paintEvent(QPaintEvent* event) override;
};

// The busy indicator "ring_ver": a spinning ring with a short label in the middle of the
// parent, shown while an apply writes to the mouse. Its animation timer runs only while the
// ring is on screen, so an idle program costs no CPU.
class BusyRing final : public Overlay {
    Q_OBJECT
public:
    explicit BusyRing(QWidget* parent);

protected:
    void fit_to_parent() override;
    void showEvent(QShowEvent* event) override;
    void hideEvent(QHideEvent* event) override;
    void paintEvent(QPaintEvent* event) override;

private:
    void advance();

    QLabel* m_label;
    QTimer* m_timer;
    int m_angle = 0;
};

} // namespace zemrak::ui
