#pragma once
// The rules of giving a button a function, the same for the button page and zemrakctl.
// Records are numbered 0..31 here: 0..15 office mode, 16..31 game mode, record n and
// n + 16 being the same physical button. Every function takes a record below
// ConfigBlock::kButtonCount.

#include "model/colour.h"

#include <cstddef>
#include <cstdint>
#include <string_view>

namespace zemrak {

class ButtonRecord;
class ConfigBlock;

// At most this many buttons, over both modes, play a macro, and at most this many run a
// recoil pattern.
inline constexpr std::size_t kMaxMacroButtons = 2;
inline constexpr std::size_t kMaxRecoilButtons = 3;
// The colour a button gets when it is newly given a recoil pattern (red, 0x00BBGGRR).
inline constexpr Colour kNewRecoilColour = 0x000000FFu;

// Why a function may not go on a button.
enum class AssignmentRefusal {
    none,
    // The office-mode left button keeps its click: without it the mouse could not be used
    // to set it back.
    fixed_button,
    // The mode would have no button left that clicks or fires.
    no_left_click,
};

// True for the one record that keeps its function whatever is asked: the office-mode left
// button.
[[nodiscard]] bool button_is_fixed(std::size_t record);

// Whether `code` may go on `record` of `profile`. A mode must keep a button with the click
// or the fire function: in office mode records 0..13 count (the wheel's two records do not),
// in game mode all of 16..31. Mode switch given to an office button is given to its game
// twin as well, so the game mode is checked with the twin changed too.
[[nodiscard]] AssignmentRefusal check_assignment(const ConfigBlock& profile, std::size_t record,
                                                 std::uint8_t code);

// The language key of the message that explains a refusal; empty for none.
[[nodiscard]] std::string_view refusal_text_key(AssignmentRefusal refusal);

// Stores a function that needs nothing more than its code (not a shortcut, macro or recoil
// pattern; check_assignment() first). Mode switch on an office button also goes on its game
// twin; on a game button it leaves the office record alone. Returns the twin's record when it
// was written, else `record`.
std::size_t store_function(ConfigBlock& profile, std::size_t record, std::uint8_t code);

// A record holds a library position only while its function plays that library's item, so
// that a later change or removal of the item never rewrites a button that has been given
// another function: the macro position goes unless it plays a macro, the recoil position
// unless it runs a pattern. Every store below does this.
void settle_references(ButtonRecord& button);

// How many of the 32 records have `code`.
[[nodiscard]] std::size_t count_function(const ConfigBlock& profile, std::uint8_t code);

// Before asking for a shortcut: a record that holds none starts from no modifiers and no key.
void prepare_shortcut(ConfigBlock& profile, std::size_t record);
// Stores a shortcut: `modifiers` bits as ButtonRecord::kCtrl.. kWin, `key` a usage code.
void assign_shortcut(ConfigBlock& profile, std::size_t record, std::uint8_t modifiers,
                     std::uint8_t key);

// Before asking for a macro. A record that holds none starts from no macro and repeat mode
// 0; then there must be room for one more macro button. A record that already plays a macro
// keeps it and always has room. False when there is no room: nothing is to be asked.
[[nodiscard]] bool prepare_macro(ConfigBlock& profile, std::size_t record);
// The same for a recoil pattern; the colour starts as kNewRecoilColour.
[[nodiscard]] bool prepare_recoil(ConfigBlock& profile, std::size_t record);

} // namespace zemrak
