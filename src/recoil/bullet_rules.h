#pragma once
// What the controls of a bullet row do to the bullet they show: the small buttons beside each
// value and the limits of typing.

#include "model/number_text.h"
#include "recoil/recoil_record.h"

#include <array>
#include <cstdint>

namespace zemrak {

// The three values of a bullet row.
enum class BulletField : std::uint8_t { Delay, X, Y };

inline constexpr std::array<BulletField, 3> kBulletFields{BulletField::Delay, BulletField::X,
                                                          BulletField::Y};

// The row's six buttons, named after their controls. The x pair is named the other way round
// from what it does: "down" adds one to x and "up" takes one away.
enum class BulletButton : std::uint8_t { DelayUp, DelayDown, XUp, XDown, YUp, YDown };

inline constexpr std::array<BulletButton, 6> kBulletButtons{
    BulletButton::DelayUp, BulletButton::DelayDown, BulletButton::XUp,
    BulletButton::XDown,   BulletButton::YUp,       BulletButton::YDown};

// What typing can give: a movement of at most 127 steps either way, a delay of 10..1270 ms.
inline constexpr NumberLimits kTypedMoveLimits{-127, 127};
inline constexpr NumberLimits kTypedDelayLimits{10, 1270};
// The buttons go beyond the typing limits, except that a delay stays at least this long and
// within what its 16 bits store.
inline constexpr NumberLimits kButtonDelayLimits{1, 65535};

[[nodiscard]] BulletField button_field(BulletButton button);
// +1 or -1: what one press adds to the button's value.
[[nodiscard]] int button_step(BulletButton button);

// The value a press of `button` makes of `value`, the number its field shows.
[[nodiscard]] std::int32_t press_bullet_button(BulletButton button, std::int32_t value);

[[nodiscard]] NumberLimits typed_limits(BulletField field);

[[nodiscard]] std::int32_t bullet_value(const Bullet& bullet, BulletField field);
// A delay beyond what its 16 bits store is held at the nearer end.
void set_bullet_value(Bullet& bullet, BulletField field, std::int32_t value);

} // namespace zemrak
