#include "platform/pointer_settings_noop.h"

namespace zemrak {

PointerSupport NoopPointerSettings::support() const {
    return {kPointerOtherDesktop, kPointerOtherDesktop, kPointerOtherDesktop};
}

void NoopPointerSettings::set_double_click_time(std::uint32_t /*ms*/) {
    notice_once();
}

void NoopPointerSettings::set_pointer_motion(const PointerMotion& /*motion*/) {
    notice_once();
}

void NoopPointerSettings::set_wheel_scroll(std::uint32_t /*lines_or_page*/) {
    notice_once();
}

void NoopPointerSettings::notice_once() {
    if (m_noticed) {
        return;
    }
    m_noticed = true;
    *m_notices << "zemrak-mouse: pointer settings are not applied on this desktop\n";
    m_notices->flush();
}

} // namespace zemrak
