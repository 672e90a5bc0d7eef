#pragma once
// The pointer-settings backend of desktops whose settings the program cannot change.

#include "platform/pointer_settings.h"

#include <iostream>
#include <ostream>

namespace zemrak {

// Changes nothing, and support() names every setting as left alone on this desktop. The first
// time it is asked to change a setting it writes one line to
// `notices` saying that pointer settings are not applied on this desktop, so the user learns
// why the profile's pointer settings have no effect; later requests stay silent. `notices`
// must outlive the backend.
class NoopPointerSettings final : public PointerSettingsBackend {
public:
    explicit NoopPointerSettings(std::ostream& notices = std::cerr) : m_notices(&notices) {}

    [[nodiscard]] PointerSupport support() const override;
    void set_double_click_time(std::uint32_t ms) override;
    void set_pointer_motion(const PointerMotion& motion) override;
    void set_wheel_scroll(std::uint32_t lines_or_page) override;

private:
    void notice_once();

    std::ostream* m_notices;
    bool m_noticed = false;
};

} // namespace zemrak
