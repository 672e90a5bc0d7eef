#include "device/report_plan.h"

#include "device/button_map.h"
#include "device/colour_report.h"
#include "device/mode_report.h"
#include "device/sensitivity_report.h"

namespace zemrak {
namespace {

ReportStep announced(std::uint8_t code, const Payload& payload) {
    return {make_announcement(code), make_data_report(payload)};
}

} // namespace

std::vector<ReportStep> plan_reports(const ConfigBlock& profile, const DeviceParams& params) {
    std::vector<ReportStep> steps;
    steps.push_back({encode_mode_report(profile, params), std::nullopt});
    const ButtonMapEncoding buttons = encode_button_map(profile);
    for (std::size_t page = 0; page < buttons.macro_pages.size(); ++page) {
        const auto code = static_cast<std::uint8_t>(kAnnounceFirstMacroPage + page);
        steps.push_back(announced(code, buttons.macro_pages[page]));
    }
    steps.push_back(
        announced(kAnnounceSensitivity, encode_sensitivity_payload(profile, params, buttons.map)));
    steps.push_back(announced(kAnnounceColours, encode_colour_payload(profile, params)));
    return steps;
}

SendResult send_reports(std::span<const ReportStep> steps, HidWriter& writer, Pause& pause) {
    SendResult result;
    auto write = [&](bool written) {
        if (written) {
            ++result.written;
            pause.pause(kReportPause);
        } else {
            ++result.failed;
        }
        return written;
    };
    for (const ReportStep& step : steps) {
        const bool announced = write(writer.write_command(step.command));
        if (!step.data) {
            continue;
        }
        if (announced) {
            write(writer.write_data(*step.data));
        } else {
            ++result.skipped;
        }
    }
    return result;
}

} // namespace zemrak
