#include "ui/typed_keys.h"

#include <QKeySequence>
#include <array>
#include <linux/input-event-codes.h>
#include <string_view>

namespace zemrak::ui {
namespace {

// X11 and Wayland both give the evdev code plus 8 as the native scan code.
constexpr std::uint16_t kScanCodeOffset = 8;

// The character keys a row at a time, unshifted and shifted; each row's keys have
// consecutive evdev codes from `first`.
struct CharacterRow {
    std::uint16_t first;
    std::string_view plain;
    std::string_view shifted;
};

constexpr std::array kCharacterRows = std::to_array<CharacterRow>({
    {KEY_1, "1234567890-=", "!@#$%^&*()_+"},
    {KEY_Q, "qwertyuiop[]", "QWERTYUIOP{}"},
    {KEY_A, "asdfghjkl;'`", "ASDFGHJKL:\"~"},
    {KEY_BACKSLASH, "\\zxcvbnm,./", "|ZXCVBNM<>?"},
    {KEY_SPACE, " ", " "},
});

// The other keys, with the text some of them type.
struct OtherKey {
    Qt::Key key;
    std::uint16_t code;
    char text;
};

constexpr std::array kOtherKeys = std::to_array<OtherKey>({
    {Qt::Key_Escape, KEY_ESC, '\x1b'},
    {Qt::Key_Backspace, KEY_BACKSPACE, '\b'},
    {Qt::Key_Tab, KEY_TAB, '\t'},
    {Qt::Key_Return, KEY_ENTER, '\r'},
    {Qt::Key_Enter, KEY_KPENTER, '\r'},
    {Qt::Key_Shift, KEY_LEFTSHIFT, 0},
    {Qt::Key_Control, KEY_LEFTCTRL, 0},
    {Qt::Key_Alt, KEY_LEFTALT, 0},
    {Qt::Key_Meta, KEY_LEFTMETA, 0},
    {Qt::Key_CapsLock, KEY_CAPSLOCK, 0},
    {Qt::Key_NumLock, KEY_NUMLOCK, 0},
    {Qt::Key_ScrollLock, KEY_SCROLLLOCK, 0},
    {Qt::Key_Print, KEY_SYSRQ, 0},
    {Qt::Key_Pause, KEY_PAUSE, 0},
    {Qt::Key_Menu, KEY_COMPOSE, 0},
    {Qt::Key_Insert, KEY_INSERT, 0},
    {Qt::Key_Delete, KEY_DELETE, 0},
    {Qt::Key_Home, KEY_HOME, 0},
    {Qt::Key_End, KEY_END, 0},
    {Qt::Key_PageUp, KEY_PAGEUP, 0},
    {Qt::Key_PageDown, KEY_PAGEDOWN, 0},
    {Qt::Key_Left, KEY_LEFT, 0},
    {Qt::Key_Up, KEY_UP, 0},
    {Qt::Key_Right, KEY_RIGHT, 0},
    {Qt::Key_Down, KEY_DOWN, 0},
    {Qt::Key_F1, KEY_F1, 0},
    {Qt::Key_F2, KEY_F2, 0},
    {Qt::Key_F3, KEY_F3, 0},
    {Qt::Key_F4, KEY_F4, 0},
    {Qt::Key_F5, KEY_F5, 0},
    {Qt::Key_F6, KEY_F6, 0},
    {Qt::Key_F7, KEY_F7, 0},
    {Qt::Key_F8, KEY_F8, 0},
    {Qt::Key_F9, KEY_F9, 0},
    {Qt::Key_F10, KEY_F10, 0},
    {Qt::Key_F11, KEY_F11, 0},
    {Qt::Key_F12, KEY_F12, 0},
});

// A character's Qt key: its upper-case code point, as Qt numbers the Latin-1 keys.
Qt::Key key_of_character(char character) {
    return static_cast<Qt::Key>(QChar::fromLatin1(character).toUpper().unicode());
}

bool same_name(Qt::Key key, const QString& name) {
    return QKeySequence(key)
               .toString(QKeySequence::PortableText)
               .compare(name, Qt::CaseInsensitive) == 0;
}

// The row and place of a character key; none for other keys.
std::optional<std::pair<const CharacterRow*, std::size_t>> character_place(Qt::Key key) {
    for (const CharacterRow& row : kCharacterRows) {
        for (std::size_t place = 0; place < row.plain.size(); ++place) {
            if (key_of_character(row.plain[place]) == key) {
                return std::pair{&row, place};
            }
        }
    }
    return std::nullopt;
}

} // namespace

std::optional<TypedKey> typed_key(const QString& name) {
    if (name.isEmpty()) {
        return std::nullopt;
    }
    for (const CharacterRow& row : kCharacterRows) {
        for (std::size_t place = 0; place < row.plain.size(); ++place) {
            const Qt::Key key = key_of_character(row.plain[place]);
            if (same_name(key, name)) {
                return TypedKey{key, static_cast<std::uint16_t>(row.first + place)};
            }
        }
    }
    for (const OtherKey& other : kOtherKeys) {
        if (same_name(other.key, name)) {
            return TypedKey{other.key, other.code};
        }
    }
    return std::nullopt;
}

Qt::KeyboardModifiers modifier_of(Qt::Key key) {
    switch (key) {
    case Qt::Key_Shift:
        return Qt::ShiftModifier;
    case Qt::Key_Control:
        return Qt::ControlModifier;
    case Qt::Key_Alt:
        return Qt::AltModifier;
    case Qt::Key_Meta:
        return Qt::MetaModifier;
    default:
        return Qt::NoModifier;
    }
}

QKeyEvent typed_key_event(const TypedKey& key, bool pressed, Qt::KeyboardModifiers held) {
    const bool shifted = held.testFlag(Qt::ShiftModifier);
    // Control, Alt and Meta make a key a command, not a character.
    const bool command =
        (held & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier)) != Qt::NoModifier;
    Qt::Key shown = key.key;
    QString text;
    if (const auto place = character_place(key.key)) {
        const auto& [row, index] = *place;
        const char character = (shifted ? row->shifted : row->plain)[index];
        // Shift+1 is the key "!", as the desktop reports it.
        shown = key_of_character(character);
        if (!command) {
            text = QChar::fromLatin1(character);
        }
    } else {
        for (const OtherKey& other : kOtherKeys) {
            if (other.key == key.key && other.text != 0 && !command) {
                text = QChar::fromLatin1(other.text);
            }
        }
    }
    if (key.key == Qt::Key_Enter) {
        held |= Qt::KeypadModifier;
    }
    return QKeyEvent(pressed ? QEvent::KeyPress : QEvent::KeyRelease, shown, held,
                     static_cast<quint32>(key.evdev_code + kScanCodeOffset), 0, 0, text);
}

} // namespace zemrak::ui
