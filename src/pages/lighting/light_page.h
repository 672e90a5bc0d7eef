#pragma once

#include "model/colour.h"
#include "model/light_effects.h"
#include "pages/page_host.h"
#include "ui/notify_pump.h"

#include <QRgb>
#include <QString>
#include <array>
#include <functional>
#include <memory>

class QLineEdit;
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
struct EffectLook;

// The light page: the lighting effect, its parameters and its colours.
// Its controls live in the container registered under the virtual-window name below.
class CLightPage final : public ui::CNotifyPump {
public:
    static constexpr const char* kVirtualWindow = "LightPage";
    static constexpr int kModeCount = static_cast<int>(kLightModeCount);
    static constexpr int kCycleColourCount = 8;

    // Slider ranges. Brightness 0 would be the same as the "off" effect, so the scale starts at
    // one; the factory setting 10 is full brightness. Speed has one step per entry of a timed
    // effect's row in the timing table: the speed adds to the row's start, and any higher
    // speed would read another effect's row or, for the last row, run off the end of the
    // table. The factory speed 3 lies beyond the range: the slider shows it as its top, and
    // picking an effect stores what the sliders show. Length is the tail of the running
    // effects; the factory setting 15 sits in the middle.
    static constexpr int kBrightnessMin = 1;
    static constexpr int kBrightnessMax = 10;
    static constexpr int kFrequencyMin = 0;
    static constexpr int kFrequencyMax = static_cast<int>(kTimingRowLength) - 1;
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
    // A numeric parameter: its slider, its field in the profile and how its value is shown.
    struct Parameter {
        QSlider* slider = nullptr;
        std::int32_t (ConfigBlock::*stored)() const = nullptr;
        void (ConfigBlock::*store)(std::int32_t) = nullptr;
        std::function<void(int)> show;
    };

    void build_controls();
    void connect_controls();

    void select_mode(int mode);
    void store_shown_parameters();
    void pick_fixed_colour();
    void pick_cycle_colour(std::size_t index);
    void type_channel(QLineEdit* edit, std::size_t channel, const QString& text);
    void show_light_mode(int mode);
    void show_fixed_colour(QRgb argb);
    [[nodiscard]] EffectLook current_look() const;

    QWidget* m_container = nullptr;
    PageHost* m_host = nullptr;
    ConfigBlock* m_profile = nullptr;

    QWidget* m_root = nullptr; // the page's own controls, made from its layout
    std::unique_ptr<Ui::LightPage> m_ui;
    std::array<QRadioButton*, kModeCount> m_modeOptions{};
    std::array<QRadioButton*, 2> m_colourModeOptions{};
    std::array<Parameter, 3> m_parameters{};
    std::array<QPushButton*, kCycleColourCount> m_cycleButtons{};
    EffectPreview* m_preview = nullptr;
    // The colour in the swatch and the edits: while the palette is dragged it runs ahead of the
    // stored fixed colour.
    QRgb m_shownFixed = 0xFF000000u;
    // Set while refresh() selects the options: their notifications then only redraw.
    bool m_refreshing = false;
};

} // namespace zemrak::pages
