// The HID report descriptor parser of the real HID library.

#include "real/report_descriptor.h"

#include <cstddef>
#include <cstdint>
#include <span>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const zemrak::hid::ReportDescriptor parsed =
        zemrak::hid::parse_report_descriptor(std::span(data, size));
    static_cast<void>(parsed.feature_report(1));
    return 0;
}
