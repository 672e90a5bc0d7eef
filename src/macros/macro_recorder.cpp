#include "macros/macro_recorder.h"

#include "model/key_tables.h"
#include "platform/evdev_keys.h"

#include <algorithm>
#include <cstdint>

namespace zemrak {
namespace {

constexpr std::uint8_t kLeftButtonCode = 240;
constexpr std::uint8_t kRightButtonCode = 241;
constexpr std::uint8_t kMiddleButtonCode = 242;
constexpr std::uint8_t kBackButtonCode = 243;
constexpr std::uint8_t kForwardButtonCode = 244;
constexpr std::uint16_t kLongestDelay = 65535;
constexpr std::uint8_t kTabUsage = 43;
constexpr std::uint8_t kFirstModifierUsage = 224; // Left Control
constexpr std::uint8_t kLastModifierUsage = 231;  // Right GUI

bool is_modifier(std::uint8_t code) {
    return code >= kFirstModifierUsage && code <= kLastModifierUsage;
}

std::optional<RecordedKey> mouse_key_of(unsigned long message, long detail) {
    const auto press = [](std::uint8_t code) { return RecordedKey{code, MacroAction::Press}; };
    const auto release = [](std::uint8_t code) { return RecordedKey{code, MacroAction::Release}; };
    // The side buttons say in the detail which one they are.
    const auto side = [detail](bool down) -> std::optional<RecordedKey> {
        const auto kind = down ? MacroAction::Press : MacroAction::Release;
        if (detail == kBackButton) {
            return RecordedKey{kBackButtonCode, kind};
        }
        if (detail == kForwardButton) {
            return RecordedKey{kForwardButtonCode, kind};
        }
        return std::nullopt;
    };
    switch (message) {
    case kLeftDown:
        return press(kLeftButtonCode);
    case kLeftUp:
        return release(kLeftButtonCode);
    case kRightDown:
        return press(kRightButtonCode);
    case kRightUp:
        return release(kRightButtonCode);
    case kMiddleDown:
        return press(kMiddleButtonCode);
    case kMiddleUp:
        return release(kMiddleButtonCode);
    case kSideDown:
        return side(true);
    case kSideUp:
        return side(false);
    default:
        return std::nullopt;
    }
}

} // namespace

std::optional<RecordedKey> recorded_key_of(const InputEvent& event) {
    if (event.message == kMouseMessage) {
        return mouse_key_of(event.wparam, event.lparam);
    }
    if (event.message != kKeyboardMessage || event.wparam > UINT32_MAX) {
        return std::nullopt;
    }
    // Codes follow the physical key on a US keyboard, as in the shortcut dialog.
    const UsageLookup lookup =
        usage_from_virtual_key(static_cast<std::uint32_t>(event.wparam), TableKeyboardLayout());
    if (!lookup.found) {
        return std::nullopt;
    }
    return RecordedKey{lookup.usage, event.lparam == 0 ? MacroAction::Press : MacroAction::Release};
}

MacroRecorder::MacroRecorder(Clock clock) : m_clock(std::move(clock)) {
    if (!m_clock) {
        m_clock = [] { return std::chrono::steady_clock::now().time_since_epoch(); };
    }
}

bool MacroRecorder::start(MacroRecord* macro, int selected_action, std::uint16_t default_delay) {
    if (macro == nullptr || macro->locked() || macro->action_count() >= MacroRecord::kMaxActions) {
        return false;
    }
    const int count = macro->action_count();
    if (selected_action < 0) {
        std::ranges::fill(macro->actions(), std::uint8_t{0});
        macro->set_action_count(0);
        m_insertStart = -1;
        m_insertPosition = -1;
    } else {
        // A selection past the end (none should be) inserts after the last action.
        m_insertStart = std::min(selected_action, count - 1) + 1;
        m_insertPosition = m_insertStart;
    }
    m_defaultDelay = default_delay;
    m_recording = true;
    m_lastTime = m_clock();
    return true;
}

void MacroRecorder::stop() {
    m_recording = false;
    m_lastTime.reset();
}

std::uint16_t MacroRecorder::delay_since_last(RecordDelayMode mode,
                                              std::chrono::nanoseconds now) const {
    switch (mode) {
    case RecordDelayMode::fixed:
        return kFixedDelay;
    case RecordDelayMode::default_delay:
        return m_defaultDelay;
    case RecordDelayMode::measured:
        break;
    }
    // Whole microseconds, then rounded to the nearest millisecond.
    const auto micros =
        std::chrono::duration_cast<std::chrono::microseconds>(now - *m_lastTime).count();
    const auto millis = (std::max<std::int64_t>(micros, 0) + 500) / 1000;
    return static_cast<std::uint16_t>(std::min<std::int64_t>(millis, kLongestDelay));
}

MacroRecorder::Outcome MacroRecorder::handle(const InputEvent& event, MacroRecord* macro,
                                             int selected_action, RecordDelayMode mode) {
    Outcome outcome;
    outcome.selected_action = selected_action;
    if (m_lastEvent == event) {
        return outcome;
    }
    m_lastEvent = event;
    const std::optional<RecordedKey> key = recorded_key_of(event);
    if (!key || macro == nullptr || macro->locked()) {
        return outcome;
    }
    if (m_recording) {
        return record(*macro, *key, selected_action, mode);
    }
    const std::optional<std::uint8_t> code = captured_code(*key);
    if (!code || selected_action < 0 || selected_action >= macro->action_count()) {
        return outcome;
    }
    const auto slot = static_cast<std::size_t>(selected_action);
    MacroAction action = macro->action(slot);
    // A mouse move has no key to change; the same key again changes nothing.
    if ((action.kind() != MacroAction::Press && action.kind() != MacroAction::Release) ||
        action.code() == *code) {
        return outcome;
    }
    action.set_code(*code);
    macro->set_action(slot, action);
    outcome.changed = true;
    return outcome;
}

std::optional<std::uint8_t> MacroRecorder::captured_code(RecordedKey key) {
    // Tab, and Shift+Tab, move on from the key field: a keyboard user must be able to leave
    // it. A recording still takes Tab.
    if (key.code == kTabUsage) {
        m_heldModifier.reset();
        return std::nullopt;
    }
    // A modifier is the new key only when it is let go alone; held, it may begin Shift+Tab.
    if (is_modifier(key.code)) {
        if (key.kind == MacroAction::Press) {
            m_heldModifier = key.code;
            return std::nullopt;
        }
        const bool alone = m_heldModifier == key.code;
        m_heldModifier.reset();
        return alone ? std::optional(key.code) : std::nullopt;
    }
    m_heldModifier.reset();
    return key.code;
}

MacroRecorder::Outcome MacroRecorder::record(MacroRecord& macro, RecordedKey key,
                                             int selected_action, RecordDelayMode mode) {
    Outcome outcome;
    outcome.selected_action = selected_action;
    const std::size_t count = macro.action_count();
    if (count >= MacroRecord::kMaxActions) {
        return outcome;
    }
    const std::chrono::nanoseconds now = m_clock();

    // The delay belongs to the action before the new one: the one that waits for it.
    if (m_lastTime) {
        const std::uint16_t delay = delay_since_last(mode, now);
        std::optional<std::size_t> waiting;
        if (m_insertPosition < 0) {
            if (count > 0) {
                waiting = count - 1;
            }
        } else if (m_insertPosition == m_insertStart) {
            waiting = static_cast<std::size_t>(m_insertPosition);
        } else {
            waiting = static_cast<std::size_t>(m_insertPosition - 1);
        }
        // Slots past the count stay empty.
        if (waiting && *waiting < count) {
            MacroAction action = macro.action(*waiting);
            action.set_delay(delay);
            macro.set_action(*waiting, action);
        }
    }

    const std::size_t at =
        m_insertPosition < 0 ? count : std::min(static_cast<std::size_t>(m_insertPosition), count);
    for (std::size_t slot = count; slot > at; --slot) {
        macro.set_action(slot, macro.action(slot - 1));
    }
    MacroAction added;
    added.set_code(key.code);
    added.set_kind(key.kind);
    added.set_delay(kLastActionDelay);
    macro.set_action(at, added);
    macro.set_action_count(static_cast<std::uint16_t>(count + 1));
    if (m_insertPosition >= 0) {
        ++m_insertPosition;
    }
    m_lastTime = now;

    outcome.changed = true;
    outcome.selected_action = static_cast<int>(at);
    if (macro.action_count() >= MacroRecord::kMaxActions) {
        stop();
        outcome.reached_limit = true;
    }
    return outcome;
}

} // namespace zemrak
