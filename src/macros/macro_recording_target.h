#pragma once

#include <cstdint>

namespace zemrak {
class MacroRecord;
}

namespace zemrak::pages {

// How the delay before each recorded action is found.
enum class RecordDelayMode : std::uint8_t {
    fixed = 0,         // always 10 ms
    default_delay = 1, // the default delay typed on the page
    measured = 2,      // the time that passed since the previous event
};

// What the recorder needs of the page that shows the macro it records into. The page owns the
// working copy; the recorder edits its actions and asks the page to show and store them.
class MacroRecordingTarget {
public:
    virtual ~MacroRecordingTarget() = default;

    // The macro being edited, or null when no macro is shown or it is locked: nothing is
    // recorded or captured into it then.
    [[nodiscard]] virtual MacroRecord* editing_macro() = 0;
    // The selected action row, -1 for none.
    [[nodiscard]] virtual int selected_action() const = 0;
    virtual void set_selected_action(int row) = 0;
    // Lists the working copy's actions again and selects `row` (-1: the last), scrolled into
    // view.
    virtual void show_actions(int row) = 0;
    // Shows the details of the selected action again, after its code changed.
    virtual void show_action_details() = 0;
    // Stores the working copy in the library (saved at once, button records brought up to
    // date).
    virtual void commit() = 0;
    // The delay mode chosen on the page; read for every event, so a change during a
    // recording counts from the next event.
    [[nodiscard]] virtual RecordDelayMode delay_mode() const = 0;
    // The default delay typed on the page, in ms (its low 16 bits, as typed); read when a
    // recording starts.
    [[nodiscard]] virtual std::uint16_t default_delay() const = 0;
};

} // namespace zemrak::pages
