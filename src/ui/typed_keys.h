#pragma once
// The keys of a US keyboard as Qt names them and as the desktop hands them to a window: the
// Qt key and the physical key's evdev code, from which Qt's native scan code comes. UI
// scripts type with them, so the program's own capture reads a scripted key as a real one.

#include <QKeyEvent>
#include <QString>
#include <cstdint>
#include <optional>

namespace zemrak::ui {

struct TypedKey {
    Qt::Key key = Qt::Key_unknown;
    std::uint16_t evdev_code = 0; // KEY_*
};

// The key of `name` as QKeySequence writes it in portable text ("A", "1", "-", "Tab", "Space",
// "F5", "Shift", "Control", "Esc"...), case ignored; none for a name no key of the table has.
// The keypad has only "Enter"; a modifier is its left key.
[[nodiscard]] std::optional<TypedKey> typed_key(const QString& name);

// The modifier a held key gives (Shift, Control, Alt, Meta); none for other keys.
[[nodiscard]] Qt::KeyboardModifiers modifier_of(Qt::Key key);

// The event a window receives when `key` goes down (`pressed`) or up while `held` modifiers
// are down: Qt's native scan code is the evdev code + 8 as under X11 and Wayland, and a
// character key carries its text (shifted with Shift, none with Control, Alt or Meta).
[[nodiscard]] QKeyEvent typed_key_event(const TypedKey& key, bool pressed,
                                        Qt::KeyboardModifiers held);

} // namespace zemrak::ui
