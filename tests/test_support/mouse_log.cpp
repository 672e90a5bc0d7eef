#include "test_support/mouse_log.h"

#include "device/report_plan.h"
#include "model/byte_io.h"
#include "test_support/temp_dir.h"

#include <sstream>

namespace zemrak::test {

std::vector<std::string> received_reports(const std::filesystem::path& log) {
    std::vector<std::string> received;
    std::istringstream lines(read_text(log));
    for (std::string line; std::getline(lines, line);) {
        received.push_back(line.substr(line.find(' ') + 1));
    }
    return received;
}

std::vector<std::string> planned_reports(const ConfigBlock& profile, const DeviceParams& params) {
    std::vector<std::string> planned;
    for (const ReportStep& step : plan_reports(profile, params)) {
        planned.push_back("cmd " + to_hex(step.command));
        if (step.data) {
            planned.push_back("data " + to_hex(*step.data));
        }
    }
    return planned;
}

} // namespace zemrak::test
