#pragma once
// What the mouse holds, as far as the program knows, so that the window can show when the
// current profile has changes the mouse does not have yet.

#include "model/config_block.h"
#include "model/device_params.h"

#include <deque>
#include <optional>

namespace zemrak {

class AppliedProfile {
public:
    // `held`: what the mouse is taken to hold at start-up (the current profile as loaded,
    // which the last run applied).
    explicit AppliedProfile(const ConfigBlock& held) : m_held(held) {}

    // An apply of `profile` was queued; applies end in the order they were queued.
    void posted(const ConfigBlock& profile);
    // The oldest queued apply ended; `reached_mouse` when every report was written.
    void finished(bool reached_mouse);
    // Another mouse took over (a real one after the simulation): what it holds is not known,
    // so every profile differs from it until an apply reaches it.
    void forget() { m_held.reset(); }

    // True when applying `current` would write something the mouse does not hold: a report
    // or a desktop pointer setting. The name alone, which never reaches the mouse, is no
    // change. False without a current profile.
    [[nodiscard]] bool differs(const ConfigBlock* current, const DeviceParams& params) const;

private:
    std::optional<ConfigBlock> m_held;
    std::deque<ConfigBlock> m_posted;
};

} // namespace zemrak
