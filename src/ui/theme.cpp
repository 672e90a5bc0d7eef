#include "ui/theme.h"

#include <QApplication>
#include <QColor>
#include <QFile>
#include <QPalette>
#include <QStyleFactory>

// The resources live in a static library; without a reference to their initialiser the
// linker would drop them. The macro cannot be used inside a namespace.
static void init_theme_resources() {
    Q_INIT_RESOURCE(resources);
}

namespace zemrak::ui {
namespace {

// The palette's colours repeat those of zemrak.qss, for what the style sheet does not reach.
QPalette dark_palette() {
    const QColor background(0x0e, 0x0f, 0x12);
    const QColor surface(0x17, 0x19, 0x1e);
    const QColor raised(0x20, 0x23, 0x2a);
    const QColor text(0xe6, 0xe8, 0xeb);
    const QColor muted(0x5a, 0x60, 0x68);
    const QColor accent(0x00, 0xd2, 0xff);

    QPalette palette;
    palette.setColor(QPalette::Window, background);
    palette.setColor(QPalette::WindowText, text);
    palette.setColor(QPalette::Base, surface);
    palette.setColor(QPalette::AlternateBase, raised);
    palette.setColor(QPalette::ToolTipBase, raised);
    palette.setColor(QPalette::ToolTipText, text);
    palette.setColor(QPalette::PlaceholderText, muted);
    palette.setColor(QPalette::Text, text);
    palette.setColor(QPalette::Button, raised);
    palette.setColor(QPalette::ButtonText, text);
    palette.setColor(QPalette::BrightText, accent);
    palette.setColor(QPalette::Highlight, accent);
    palette.setColor(QPalette::HighlightedText, background);
    palette.setColor(QPalette::Link, accent);
    palette.setColor(QPalette::Light, raised.lighter(140));
    palette.setColor(QPalette::Midlight, raised.lighter(120));
    palette.setColor(QPalette::Mid, raised);
    palette.setColor(QPalette::Dark, background);
    palette.setColor(QPalette::Shadow, Qt::black);
    for (const auto role : {QPalette::WindowText, QPalette::Text, QPalette::ButtonText}) {
        palette.setColor(QPalette::Disabled, role, muted);
    }
    return palette;
}

} // namespace

void apply_theme(QApplication& app) {
    init_theme_resources();
    // The native style of the desktop would mix light parts into the dark sheet.
    if (QStyle* fusion = QStyleFactory::create(QStringLiteral("Fusion")); fusion != nullptr) {
        QApplication::setStyle(fusion);
    }
    QApplication::setPalette(dark_palette());

    QFile sheet(QStringLiteral(":/theme/zemrak.qss"));
    if (sheet.open(QIODevice::ReadOnly | QIODevice::Text)) {
        app.setStyleSheet(QString::fromUtf8(sheet.readAll()));
    }
}

} // namespace zemrak::ui
