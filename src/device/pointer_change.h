#pragma once
// The rule that turns a change of profile into the few desktop pointer settings that must
// actually change on apply.

#include "model/config_block.h"
#include "platform/pointer_settings.h"

namespace zemrak {

// What applying `current` must change when `last_applied` is what was applied before:
// - the double-click time when the double-click level differs;
// - acceleration and speed together when the pointer speed level or enhance precision differs;
// - the wheel when the wheel lines or the page-scroll flag differ: kScrollOnePage while page
//   scroll is on, else the wheel lines (a negative line count gives 0).
// Identical profiles give an empty change.
[[nodiscard]] PointerSettingsChange pointer_settings_change(const ConfigBlock& current,
                                                            const ConfigBlock& last_applied);

} // namespace zemrak
