#include "ui/select_color_wnd.h"

#include "model/number_text.h"
#include "ui/colour_convert.h"
#include "ui/colour_palette.h"
#include "ui/modal.h"
#include "ui/notify_pump.h"
#include "ui/notify_router.h"
#include "ui/qt_text.h"
#include "ui/texts.h"
#include "ui_selectcolor.h"

#include <QGuiApplication>
#include <QLineEdit>
#include <QScreen>
#include <algorithm>
#include <array>

namespace zemrak::ui {
namespace {

// Red, green and blue as the bit shift of their byte in 0xAARRGGBB.
constexpr std::array<int, 3> kChannelShift{16, 8, 0};

[[nodiscard]] QRgb with_channel(QRgb argb, std::size_t channel, std::uint8_t value) {
    const int shift = kChannelShift.at(channel);
    const QRgb mask = 0xFFu << shift;
    return 0xFF000000u | (argb & ~mask) | (static_cast<QRgb>(value) << shift);
}

} // namespace

ChannelText read_channel_text(const QString& typed) {
    const HeldNumber held = hold_number_text(to_u16string(typed), NumberLimits{0, 255});
    return {static_cast<std::uint8_t>(held.value), held.rewrite.has_value(),
            held.rewrite ? to_qstring(*held.rewrite) : typed};
}

struct CSelectColorWnd::Impl final : CNotifyPump {
    explicit Impl(CSelectColorWnd& dialog) : window(dialog) {}

    // Once the controls exist: one handler per control.
    void connect_controls() {
        const auto close_with = [this](int code) {
            return [this, code](const Notification&) { window.done(code); };
        };
        on(ui.ok_btn, "click", close_with(kDialogOk));
        on(ui.cancel_btn, "click", close_with(kDialogCancel));
        on(ui.exit_btn, "click", close_with(kDialogCancel));
        on(ui.color_Pallet, "colorchanged", [this](const Notification&) { take_palette_colour(); });
        on(ui.color_Pallet, "colorchangedbuttonup",
           [this](const Notification&) { take_palette_colour(); });
        const auto channels = edits();
        for (std::size_t channel = 0; channel < channels.size(); ++channel) {
            on(channels.at(channel), "textchanged",
               [this, channel](const Notification& n) { on_text(channel, n.text); });
        }
    }

    void take_palette_colour() {
        colour = ui.color_Pallet->colour();
        show_swatch_and_hex();
        show_edits();
    }

    void on_text(std::size_t channel, const QString& typed) {
        const ChannelText read = read_channel_text(typed);
        if (read.rewrite) {
            edits().at(channel)->setText(read.text);
        }
        colour = with_channel(colour, channel, read.value);
        ui.color_Pallet->set_colour(colour);
        show_swatch_and_hex();
    }

    void show_all() {
        ui.color_Pallet->set_colour(colour);
        show_swatch_and_hex();
        show_edits();
    }

    void show_swatch_and_hex() {
        show_swatch(ui.current_color_control, colour);
        ui.hex_label->setText(QColor(colour).name().toUpper());
    }

    void show_edits() {
        const std::array<int, 3> values{qRed(colour), qGreen(colour), qBlue(colour)};
        for (std::size_t i = 0; i < values.size(); ++i) {
            edits().at(i)->setText(QString::number(values.at(i)));
        }
    }

    [[nodiscard]] std::array<QLineEdit*, 3> edits() { return {ui.r_edit, ui.g_edit, ui.b_edit}; }

    CSelectColorWnd& window;
    Ui::SelectColorWnd ui;
    QRgb colour = 0xFFFFFFFFu;
    // Goes with this part, before the dialog's own destructor hides the window: the focus then
    // leaving an edit must not reach handlers that are already gone.
    std::unique_ptr<NotifyRouter> router;
};

CSelectColorWnd::CSelectColorWnd(QWidget* owner)
    : QDialog(owner, Qt::Dialog | Qt::FramelessWindowHint), m_impl(std::make_unique<Impl>(*this)) {
    m_impl->ui.setupUi(this);
    m_impl->connect_controls();
    setObjectName(QStringLiteral("SelectColorWnd"));
    Texts::apply(this);
    setWindowTitle(Texts::text("select_color_title_text"));
    m_impl->router =
        std::make_unique<NotifyRouter>([this](const Notification& n) { m_impl->notify(n); });
    m_impl->router->attach(this);
    m_impl->show_all();
}

CSelectColorWnd::~CSelectColorWnd() = default;

void CSelectColorWnd::set_colour(QRgb argb) {
    m_impl->colour = argb | 0xFF000000u;
    m_impl->show_all();
}

QRgb CSelectColorWnd::colour() const {
    return m_impl->colour;
}

int CSelectColorWnd::show_modal() {
    adjustSize();
    centre_over_owner(*this);
    m_impl->ui.ok_btn->setFocus();
    // Queued answers or odd close codes must never read as OK.
    return run_modal(*this) == kDialogOk ? kDialogOk : kDialogCancel;
}

std::optional<Colour> pick_colour(DialogHost& host, Colour initial) {
    host.show_busy_cover();
    CSelectColorWnd dialog(host.host_window());
    dialog.set_colour(to_qrgb(initial));
    const int result = dialog.show_modal();
    host.hide_busy_cover();
    if (result != kDialogOk) {
        return std::nullopt;
    }
    return to_colour(dialog.colour());
}

} // namespace zemrak::ui
