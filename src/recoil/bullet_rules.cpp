#include "recoil/bullet_rules.h"

#include <algorithm>
#include <limits>

namespace zemrak {

BulletField button_field(BulletButton button) {
    switch (button) {
    case BulletButton::DelayUp:
    case BulletButton::DelayDown:
        return BulletField::Delay;
    case BulletButton::XUp:
    case BulletButton::XDown:
        return BulletField::X;
    case BulletButton::YUp:
    case BulletButton::YDown:
        break;
    }
    return BulletField::Y;
}

int button_step(BulletButton button) {
    switch (button) {
    case BulletButton::DelayUp:
    case BulletButton::XDown:
    case BulletButton::YUp:
        return 1;
    case BulletButton::DelayDown:
    case BulletButton::XUp:
    case BulletButton::YDown:
        break;
    }
    return -1;
}

std::int32_t press_bullet_button(BulletButton button, std::int32_t value) {
    const std::int64_t stepped = std::int64_t{value} + button_step(button);
    if (button_field(button) == BulletField::Delay) {
        return static_cast<std::int32_t>(
            std::clamp<std::int64_t>(stepped, kButtonDelayLimits.low, kButtonDelayLimits.high));
    }
    return static_cast<std::int32_t>(
        std::clamp<std::int64_t>(stepped, std::numeric_limits<std::int32_t>::min(),
                                 std::numeric_limits<std::int32_t>::max()));
}

NumberLimits typed_limits(BulletField field) {
    return field == BulletField::Delay ? kTypedDelayLimits : kTypedMoveLimits;
}

std::int32_t bullet_value(const Bullet& bullet, BulletField field) {
    switch (field) {
    case BulletField::Delay:
        return bullet.delay;
    case BulletField::X:
        return bullet.x;
    case BulletField::Y:
        break;
    }
    return bullet.y;
}

void set_bullet_value(Bullet& bullet, BulletField field, std::int32_t value) {
    switch (field) {
    case BulletField::Delay:
        bullet.delay = static_cast<std::uint16_t>(
            std::clamp<std::int32_t>(value, 0, std::numeric_limits<std::uint16_t>::max()));
        return;
    case BulletField::X:
        bullet.x = value;
        return;
    case BulletField::Y:
        bullet.y = value;
        return;
    }
}

} // namespace zemrak
