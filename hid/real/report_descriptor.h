#pragma once
// Reading of HID report descriptors: just enough to tell a device's hidraw nodes apart by the
// feature reports they declare and the top-level collections they hold.

#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

namespace zemrak::hid {

// The kernel refuses longer descriptors, so no hidraw node has one.
inline constexpr std::size_t kMaxReportDescriptorSize = 4096;

struct FeatureReport {
    // 0 when the descriptor uses no report IDs.
    std::uint8_t id = 0;
    // Report size times report count, summed over every Feature item of this report. The report
    // ID byte is not counted.
    std::uint64_t bits = 0;

    [[nodiscard]] std::uint64_t data_bytes() const { return bits / 8 + (bits % 8 != 0 ? 1 : 0); }
    bool operator==(const FeatureReport&) const = default;
};

// The usage of a collection: its usage page and its usage within that page.
struct CollectionUsage {
    std::uint16_t page = 0;
    std::uint16_t usage = 0;

    bool operator==(const CollectionUsage&) const = default;
};

struct ReportDescriptor {
    // One entry per report ID that has Feature items, in the order of their first item.
    std::vector<FeatureReport> feature_reports;
    // The outermost collections, in order.
    std::vector<CollectionUsage> top_level_collections;
    // False when parsing stopped at a fault the kernel would refuse too (an item running past
    // the end, report ID 0 or above 255, a Pop without a Push, a global stack overflow, an
    // unbalanced End Collection, collections left open). The lists then hold what came before.
    bool well_formed = true;

    [[nodiscard]] const FeatureReport* feature_report(std::uint8_t id) const;
};

// Never reads outside `bytes`. Long items are skipped; reserved items and the items that do not
// shape a Feature report or a collection's usage are ignored.
[[nodiscard]] ReportDescriptor parse_report_descriptor(std::span<const std::uint8_t> bytes);

} // namespace zemrak::hid
