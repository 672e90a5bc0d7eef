#pragma once
// The office-mode buttons as the mouse sees them: the 32-byte button map (sent later inside
// the sensitivity report) and one macro page for each button that plays a macro.

#include "device/report_types.h"
#include "model/button_functions.h"
#include "model/button_record.h"
#include "model/config_block.h"

#include <cstdint>
#include <vector>

namespace zemrak {

// Kind bytes of macro buttons: the first in record order, and any later one.
inline constexpr std::uint8_t kFirstMacroKind = 0x04;
inline constexpr std::uint8_t kLaterMacroKind = 0x14;

// The mouse has room for two macro pages: the announce codes after theirs belong to the
// sensitivity and colour reports. A profile from elsewhere may still hold more macro buttons;
// those after the second get the map entry of their record's default function instead.
inline constexpr std::size_t kMaxMacroPages = 2;

struct ButtonMapEncoding {
    ButtonMap map{};
    // One page per macro button in record order; page p is announced with
    // kAnnounceFirstMacroPage + p.
    std::vector<Payload> macro_pages;
};

// Encodes records 0..15; game-mode records never reach the mouse.
[[nodiscard]] ButtonMapEncoding encode_button_map(const ConfigBlock& block);

// The part of a record's macro page that is sent: the loop count, then the actions. At most
// ButtonRecord::kMaxActions actions are read, and encoding stops before the first action that
// would not fit whole.
[[nodiscard]] Payload encode_macro_page(const ButtonRecord& record);

} // namespace zemrak
