#pragma once
// Live keys and mouse buttons turned into the actions of a macro: recorded one after the
// other with the delays between them, or, when not recording, taken as the new key of the
// selected action. Plain rules on a MacroRecord; the page supplies the events and shows the
// result.

#include "macros/macro_record.h"
#include "macros/macro_recording_target.h"
#include "platform/input_source.h"

#include <chrono>
#include <cstdint>
#include <functional>
#include <optional>

namespace zemrak {

using pages::RecordDelayMode;

// The action an event stands for: a code of the key tables (240..244 for the mouse buttons)
// and MacroAction::Press or MacroAction::Release.
struct RecordedKey {
    std::uint8_t code = 0;
    std::uint8_t kind = 0;

    friend bool operator==(const RecordedKey&, const RecordedKey&) = default;
};

// The action of a key (message 1280: virtual key, detail 0 down, else up) or mouse-button
// event (message 1281). None for the wheel, for a key the key tables do not know and for any
// other message or button.
[[nodiscard]] std::optional<RecordedKey> recorded_key_of(const InputEvent& event);

class MacroRecorder {
public:
    // Monotonic time since an arbitrary start; a test gives its own.
    using Clock = std::function<std::chrono::nanoseconds()>;

    static constexpr std::uint16_t kFixedDelay = 10;     // ms, RecordDelayMode::fixed
    static constexpr std::uint16_t kLastActionDelay = 2; // ms, the newest action's delay

    // Without a clock the steady clock is used.
    explicit MacroRecorder(Clock clock = {});

    // Starts recording into `macro`. With no selected action (-1) the macro is recorded anew
    // (its actions are cleared); otherwise the recording goes in after `selected_action`.
    // `default_delay` is the delay in ms of RecordDelayMode::default_delay for this
    // recording. Refused (false, nothing changed) without a macro, for a locked one and for
    // one that already holds 30 actions.
    [[nodiscard]] bool start(MacroRecord* macro, int selected_action, std::uint16_t default_delay);
    // Ends the recording; the actions stay as recorded.
    void stop();
    [[nodiscard]] bool recording() const { return m_recording; }

    struct Outcome {
        bool changed = false;       // the macro's actions changed
        int selected_action = -1;   // the selected action afterwards
        bool reached_limit = false; // the recording stopped itself at 30 actions
    };

    // Takes one event. A repeat of the previous event (a held key) and the wheel do nothing.
    // While recording the event's action goes into `macro` after the ones recorded so far;
    // otherwise the key or button becomes the code of the selected press or release, whose
    // kind stays: Tab never (it leaves the key field), and a modifier only when it is
    // released with no other key pressed meanwhile.
    // `macro` may be null (nothing changes).
    [[nodiscard]] Outcome handle(const InputEvent& event, MacroRecord* macro, int selected_action,
                                 RecordDelayMode mode);

private:
    [[nodiscard]] std::uint16_t delay_since_last(RecordDelayMode mode,
                                                 std::chrono::nanoseconds now) const;
    [[nodiscard]] Outcome record(MacroRecord& macro, RecordedKey key, int selected_action,
                                 RecordDelayMode mode);
    // The code a key event gives the selected action outside a recording, if any.
    [[nodiscard]] std::optional<std::uint8_t> captured_code(RecordedKey key);

    Clock m_clock;
    // The last event received, recorded or captured; a held key repeats it.
    std::optional<InputEvent> m_lastEvent;
    bool m_recording = false;
    // Time of the start or of the previous recorded event.
    std::optional<std::chrono::nanoseconds> m_lastTime;
    std::uint16_t m_defaultDelay = kFixedDelay;
    // -1 when appending; else where the next action goes, and where the first one went.
    int m_insertPosition = -1;
    int m_insertStart = -1;
    // A modifier pressed in the key field and not yet released.
    std::optional<std::uint8_t> m_heldModifier;
};

} // namespace zemrak
