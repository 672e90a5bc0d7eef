#pragma once
// Giving a button a macro or a recoil pattern from the libraries, once the user has picked
// one: what the button page does after its pickers close with OK. Records are numbered 0..31
// as in model/button_assignment.h.

#include "model/colour.h"

#include <cstddef>
#include <cstdint>

namespace zemrak {

class ConfigBlock;
class MacroLibrary;
class RecoilLibrary;

// What a pick did to the button.
enum class PickOutcome {
    assigned,  // the button plays the item
    defaulted, // no item was picked: the button went back to its default function
    unchanged, // the pick counts as cancelled
};

// After prepare_macro(). A position without a macro (an empty library, -1, a folder entry)
// gives the record its default function. A macro without actions changes nothing. Otherwise
// the record takes the position, `repeat_mode` (0..2), the macro's folder and name, its
// action count, its 30 action slots and its loop count, and plays it.
PickOutcome assign_macro(ConfigBlock& profile, std::size_t record, std::int32_t position,
                         std::int32_t repeat_mode, const MacroLibrary& library);

// After prepare_recoil(). A position without a pattern gives the record its default
// function. Otherwise the record takes the position, `repeat_mode`, `colour` (0x00BBGGRR),
// the pattern's folder and name, its bullet count as action count, its second parameter byte
// as loop count and its 360 bytes of bullets, and runs it.
PickOutcome assign_recoil(ConfigBlock& profile, std::size_t record, std::int32_t position,
                          std::int32_t repeat_mode, Colour colour, const RecoilLibrary& library);

} // namespace zemrak
