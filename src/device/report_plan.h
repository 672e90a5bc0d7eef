#pragma once
// The reports of one apply, in the order they are written, and the code that writes them
// with the pauses the mouse needs.

#include "device/hid_writer.h"
#include "device/report_types.h"
#include "model/config_block.h"
#include "model/device_params.h"

#include <chrono>
#include <cstddef>
#include <optional>
#include <span>
#include <vector>

namespace zemrak {

// The pause after every successful write.
inline constexpr std::chrono::milliseconds kReportPause{20};

// One command report, and the data report it announces, if any. The mode report is a
// command report alone.
struct ReportStep {
    CommandReport command{};
    std::optional<DataReport> data;

    friend bool operator==(const ReportStep&, const ReportStep&) = default;
};

// Every report of an apply of `profile`: the mode report, one announced page per macro
// button, the sensitivity report (with the button map) and the colour report.
[[nodiscard]] std::vector<ReportStep> plan_reports(const ConfigBlock& profile,
                                                   const DeviceParams& params);

struct SendResult {
    std::size_t written = 0; // reports the mouse accepted
    std::size_t failed = 0;  // writes that returned failure
    std::size_t skipped = 0; // data reports not sent because their announcement failed
    [[nodiscard]] bool ok() const { return failed == 0 && skipped == 0; }
};

// Writes the steps in order. A failed announcement skips its data report; a failed step does
// not stop the next one; every successful write is followed by kReportPause.
[[nodiscard]] SendResult send_reports(std::span<const ReportStep> steps, HidWriter& writer,
                                      Pause& pause);

} // namespace zemrak
