#pragma once
// Colours are stored as 0x00BBGGRR (red in the lowest byte); Qt works in 0xAARRGGBB.

#include "model/colour.h"

#include <QColor>
#include <QRgb>

namespace zemrak::ui {

// The stored colour as an opaque Qt colour.
[[nodiscard]] inline QRgb to_qrgb(Colour colour) {
    return qRgb(red_of(colour), green_of(colour), blue_of(colour));
}

// A Qt colour as stored: alpha dropped, top byte 0.
[[nodiscard]] inline Colour to_colour(QRgb rgb) {
    return make_colour(static_cast<std::uint8_t>(qRed(rgb)), static_cast<std::uint8_t>(qGreen(rgb)),
                       static_cast<std::uint8_t>(qBlue(rgb)));
}

} // namespace zemrak::ui
