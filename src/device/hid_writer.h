#pragma once

#include "device/report_types.h"

#include <chrono>
#include <span>

namespace zemrak {

// Where reports go: the two feature-report channels of the mouse.
class HidWriter {
public:
    virtual ~HidWriter() = default;
    // True when the 8-byte report was written to the command channel.
    [[nodiscard]] virtual bool write_command(std::span<const std::uint8_t, kCommandReportSize>) = 0;
    // True when the 65-byte report was written to the data channel.
    [[nodiscard]] virtual bool write_data(std::span<const std::uint8_t, kDataReportSize>) = 0;
};

// The pause the mouse needs after each report; tests record it instead of sleeping.
class Pause {
public:
    virtual ~Pause() = default;
    virtual void pause(std::chrono::milliseconds duration) = 0;
};

// Sleeps the calling thread.
class SleepingPause final : public Pause {
public:
    void pause(std::chrono::milliseconds duration) override;
};

} // namespace zemrak
