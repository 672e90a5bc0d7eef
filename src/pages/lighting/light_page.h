#pragma once

#include "model/colour.h"
#include "pages/page_host.h"
#include "ui/notify_pump.h"

#include <QRgb>
#include <QString>
#include <array>
#include <memory>

class QAbstractButton;
class QLabel;
class QPushButton;
class QRadioButton;
class QSlider;
class QWidget;

namespace Ui {
class LightPage;
}

namespace zemrak {
class ConfigBlock;
}

namespace zemrak::pages {

class EffectPreview;

// The light page: the lighting effect, its parameters and its colours.
// Its controls live in the container registered under the virtual-window name below.
class CLightPage final : public ui::CNotifyPump {
public:
    static constexpr const char* kVirtualWindow = "LightPage";
    static constexpr int kModeCount = 12;
    static constexpr int kCycleColourCount = 8;

    // Slider ranges. Brightness 0 would be the same as the "off" effect, so the scale starts at
    // one; the factory setting 10 is full brightness. Speed has three steps because the timing
    // table of the device settings gives each timed effect one row of three entries (effects 2
    // and 3 entries 0..2, effect 4 entries 3..5, effect 5 entries 6..8): the speed adds to the
    // row's start, and any higher speed would read another effect's row or, for effect 5, run
    // off the end of the table. The factory speed 3 lies beyond the range: the slider shows it
    // as its top, and picking an effect stores what the sliders show. Length is the tail of
    // the running effects; the factory setting 15 sits in the middle.
    static constexpr int kBrightnessMin = 1;
    static constexpr int kBrightnessMax = 10;
    static constexpr int kFrequencyMin = 0;
    static constexpr int kFrequencyMax = 2;
    static constexpr int kLengthMin = 1;
    static constexpr int kLengthMax = 30;

    CLightPage();
    ~CLightPage() override;

    CLightPage(const CLightPage&) = delete;
    CLightPage& operator=(const CLightPage&) = delete;

    // Builds the page's controls in its container; `host` outlives the page.
    void init(QWidget* container, PageHost& host);
    // Redraws the page from `profile` (null when no profile is current).
    void refresh(ConfigBlock* profile);

private:
    void on_select(const ui::Notification& n);
    void on_value(const ui::Notification& n, bool stored);
    void on_click(const QString& sender);
    void on_text(const ui::Notification& n);
    void store_shown_parameters();

    void build_controls();
    void show_light_mode(int mode);
    void show_fixed_colour(QRgb argb);
    void show_slider_value(const QSlider* slider, int value);
    void update_preview();

    QWidget* m_container = nullptr;
    PageHost* m_host = nullptr;
    ConfigBlock* m_profile = nullptr;

    QWidget* m_root = nullptr; // the page's own controls, made from its layout
    std::unique_ptr<Ui::LightPage> m_ui;
    std::array<QRadioButton*, kModeCount> m_modeOptions{};
    std::array<QPushButton*, kCycleColourCount> m_cycleButtons{};
    EffectPreview* m_preview = nullptr;
    // The colour in the swatch and the edits: while the palette is dragged it runs ahead of the
    // stored fixed colour.
    QRgb m_shownFixed = 0xFF000000u;
    // Set while refresh() selects the options: their notifications then only redraw.
    bool m_refreshing = false;
};

} // namespace zemrak::pages
