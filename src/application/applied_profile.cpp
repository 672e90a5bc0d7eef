#include "application/applied_profile.h"

#include "device/pointer_change.h"
#include "device/report_plan.h"

namespace zemrak {

void AppliedProfile::posted(const ConfigBlock& profile) {
    m_posted.push_back(profile);
}

void AppliedProfile::finished(bool reached_mouse) {
    if (m_posted.empty()) {
        return;
    }
    if (reached_mouse) {
        m_held = m_posted.front();
    }
    m_posted.pop_front();
}

bool AppliedProfile::differs(const ConfigBlock* current, const DeviceParams& params) const {
    if (current == nullptr) {
        return false;
    }
    if (!m_held) {
        return true;
    }
    return plan_reports(*current, params) != plan_reports(*m_held, params) ||
           !pointer_settings_change(*current, *m_held).empty();
}

} // namespace zemrak
