#include "ui/busy_overlays.h"

#include "ui/texts.h"

#include <QEvent>
#include <QLabel>
#include <QPainter>
#include <QPen>
#include <QTimer>
#include <QVBoxLayout>
#include <algorithm>

namespace zemrak::ui {
namespace {

// The veil darkens rather than hides: the window stays recognisable behind the dialog.
constexpr QColor kVeil(6, 7, 9, 170);
constexpr QColor kRingPanel(14, 15, 18, 235);
constexpr QColor kRingPanelEdge(255, 255, 255, 28);

// Ring geometry in device-independent pixels; the label sits under the ring.
constexpr int kRingPanelMinWidth = 160;
constexpr int kRingPanelHeight = 128;
constexpr int kRingCentreY = 50;
constexpr int kRingRadius = 22;
constexpr int kRingPenWidth = 4;
constexpr int kRingArcDegrees = 100;
constexpr int kLabelTop = 84;
constexpr int kSideMargin = 12;

// About thirty frames a second at one turn a second: smooth enough for a few hundred
// milliseconds of apply, cheap while it lasts.
constexpr int kFrameMs = 33;
constexpr int kDegreesPerFrame = 12;

} // namespace

Overlay::Overlay(QWidget* parent) : QWidget(parent) {
    Q_ASSERT(parent != nullptr);
    hide();
    parent->installEventFilter(this);
}

bool Overlay::eventFilter(QObject* watched, QEvent* event) {
    if (watched == parentWidget() && event->type() == QEvent::Resize) {
        fit_to_parent();
    }
    return QWidget::eventFilter(watched, event);
}

bool Overlay::event(QEvent* event) {
    switch (event->type()) {
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonRelease:
    case QEvent::MouseButtonDblClick:
    case QEvent::MouseMove:
    case QEvent::Wheel:
    case QEvent::ContextMenu:
        // Accepted here, so they neither reach the widgets beneath nor bubble up to the
        // window (whose header would start a drag).
        event->accept();
        return true;
    default:
        return QWidget::event(event);
    }
}

void Overlay::showEvent(QShowEvent* event) {
    // Widgets added to the window after the overlay would otherwise sit above it.
    raise();
    fit_to_parent();
    QWidget::showEvent(event);
}

BusyCover::BusyCover(QWidget* parent) : Overlay(parent) {
    setObjectName(QStringLiteral("disable_window_ver"));
    fit_to_parent();
}

void BusyCover::fit_to_parent() {
    setGeometry(parentWidget()->rect());
}

void BusyCover::paintEvent(QPaintEvent* /*event*/) {
    QPainter painter(this);
    painter.fillRect(rect(), kVeil);
}

BusyRing::BusyRing(QWidget* parent)
    : Overlay(parent), m_label(new QLabel(this)), m_timer(new QTimer(this)) {
    setObjectName(QStringLiteral("ring_ver"));

    m_label->setObjectName(QStringLiteral("ring_label"));
    m_label->setProperty("textkey", QStringLiteral("applying_text"));
    m_label->setText(Texts::text(std::string_view("applying_text")));
    m_label->setAlignment(Qt::AlignCenter);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(kSideMargin, kLabelTop, kSideMargin, kSideMargin);
    layout->addWidget(m_label);

    m_timer->setObjectName(QStringLiteral("ring_timer"));
    m_timer->setInterval(kFrameMs);
    connect(m_timer, &QTimer::timeout, this, &BusyRing::advance);

    fit_to_parent();
}

void BusyRing::fit_to_parent() {
    // The label's text may change with the language after construction; it decides the width.
    const int panel_width =
        std::max(kRingPanelMinWidth, m_label->sizeHint().width() + 2 * kSideMargin);
    const QSize area = parentWidget()->size();
    setGeometry((area.width() - panel_width) / 2, (area.height() - kRingPanelHeight) / 2,
                panel_width, kRingPanelHeight);
}

void BusyRing::showEvent(QShowEvent* event) {
    Overlay::showEvent(event);
    m_timer->start();
}

void BusyRing::hideEvent(QHideEvent* event) {
    // Also reached when the whole window is hidden to the tray with the ring still up.
    m_timer->stop();
    QWidget::hideEvent(event);
}

void BusyRing::advance() {
    m_angle = (m_angle + kDegreesPerFrame) % 360;
    update();
}

void BusyRing::paintEvent(QPaintEvent* /*event*/) {
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);

    painter.setPen(QPen(kRingPanelEdge, 1));
    painter.setBrush(kRingPanel);
    painter.drawRoundedRect(QRectF(rect()).adjusted(0.5, 0.5, -0.5, -0.5), 8, 8);

    const QRectF ring(width() / 2.0 - kRingRadius, kRingCentreY - kRingRadius, 2.0 * kRingRadius,
                      2.0 * kRingRadius);
    QColor track = palette().color(QPalette::WindowText);
    track.setAlpha(40);
    painter.setBrush(Qt::NoBrush);
    painter.setPen(QPen(track, kRingPenWidth));
    painter.drawEllipse(ring);

    // The arc turns clockwise; the painter counts sixteenths of a degree counter-clockwise.
    painter.setPen(
        QPen(palette().color(QPalette::Highlight), kRingPenWidth, Qt::SolidLine, Qt::RoundCap));
    painter.drawArc(ring, -m_angle * 16, kRingArcDegrees * 16);
}

} // namespace zemrak::ui
