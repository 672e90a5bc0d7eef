#pragma once

#include <QIcon>

namespace zemrak::ui {

// The padlock that marks a locked macro or recoil pattern in lists: drawn as vector shapes
// at whatever size and pixel ratio it is shown, so it stays sharp on every screen.
[[nodiscard]] QIcon lock_icon();

} // namespace zemrak::ui
