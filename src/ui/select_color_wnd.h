#pragma once

#include "model/colour.h"
#include "ui/dialog_host.h"

#include <QDialog>
#include <QRgb>
#include <QString>
#include <cstdint>
#include <memory>
#include <optional>

namespace zemrak::ui {

// The colour picker: a palette, a swatch of the chosen colour and three decimal edits for red,
// green and blue, with OK, cancel and a close button. Made on the caller's stack for one pick.
class CSelectColorWnd final : public QDialog {
    Q_OBJECT
public:
    explicit CSelectColorWnd(QWidget* owner);
    ~CSelectColorWnd() override;

    CSelectColorWnd(const CSelectColorWnd&) = delete;
    CSelectColorWnd& operator=(const CSelectColorWnd&) = delete;

    // The colour shown when the dialog opens; call before show_modal().
    void set_colour(QRgb argb);
    // The chosen colour (opaque); meaningful after show_modal() returned 1.
    [[nodiscard]] QRgb colour() const;
    // Centres the dialog over its owner and runs it modally. 1 (kDialogOk) only for OK;
    // cancel, the close button, Escape and any other way of closing give 0.
    int show_modal();

private:
    struct Impl;
    std::unique_ptr<Impl> m_impl;
};

// How a red, green or blue edit is read, here and on the light page: an optional sign and the
// digits after it, anything further ignored, no digits at all giving 0. Values beyond 0..255
// are clamped, and only then does the edit get new text; an empty edit stays empty.
struct ChannelText {
    std::uint8_t value = 0;
    bool rewrite = false; // the edit must show `text` instead of what was typed
    QString text;
};
[[nodiscard]] ChannelText read_channel_text(const QString& typed);

// Shows the busy cover of `host`, runs the dialog, hides the cover; the colour when OK.
[[nodiscard]] std::optional<Colour> pick_colour(DialogHost& host, Colour initial);

} // namespace zemrak::ui
