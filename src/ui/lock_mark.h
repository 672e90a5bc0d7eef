#pragma once

#include <QIcon>

namespace zemrak::ui {

// The padlock that marks a locked macro or recoil pattern in lists: drawn as vector shapes
// at whatever size and pixel ratio it is shown, so it stays sharp on every screen. The same
// icon every call.
[[nodiscard]] QIcon lock_icon();
// An icon of the same size that shows nothing: the rows of a list without a lock keep their
// names in line with the rows that have one.
[[nodiscard]] QIcon no_lock_icon();

} // namespace zemrak::ui
