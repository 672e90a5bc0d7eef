#include "real/report_descriptor.h"

#include <cstdint>
#include <limits>
#include <span>
#include <vector>

#include <gtest/gtest.h>

namespace zemrak::hid {
namespace {

using Bytes = std::vector<std::uint8_t>;

// A boot-protocol mouse: three buttons, X, Y and a wheel.
const Bytes kBootMouse = {
    0x05, 0x01, 0x09, 0x02, 0xA1, 0x01, 0x09, 0x01, 0xA1, 0x00, 0x05, 0x09, 0x19,
    0x01, 0x29, 0x03, 0x15, 0x00, 0x25, 0x01, 0x95, 0x03, 0x75, 0x01, 0x81, 0x02,
    0x95, 0x01, 0x75, 0x05, 0x81, 0x03, 0x05, 0x01, 0x09, 0x30, 0x09, 0x31, 0x09,
    0x38, 0x15, 0x81, 0x25, 0x7F, 0x75, 0x08, 0x95, 0x03, 0x81, 0x06, 0xC0, 0xC0,
};

// A vendor collection with one feature report of `count` bytes; `id` 0 leaves out the Report
// ID item.
Bytes vendor_feature(std::uint8_t id, std::uint8_t count) {
    Bytes bytes = {0x06, 0x00, 0xFF, 0x09, 0x01, 0xA1, 0x01};
    if (id != 0) {
        bytes.insert(bytes.end(), {0x85, id});
    }
    bytes.insert(bytes.end(), {0x15, 0x00, 0x26, 0xFF, 0x00, 0x75, 0x08, 0x95, count, 0x09, 0x02,
                               0xB1, 0x02, 0xC0});
    return bytes;
}

TEST(ReportDescriptorTest, BootMouseHasOneCollectionAndNoFeatureReports) {
    const ReportDescriptor parsed = parse_report_descriptor(kBootMouse);
    EXPECT_TRUE(parsed.well_formed);
    EXPECT_TRUE(parsed.feature_reports.empty());
    // The nested physical collection is not a top-level one.
    EXPECT_EQ(parsed.top_level_collections, (std::vector<CollectionUsage>{{0x0001, 0x0002}}));
}

TEST(ReportDescriptorTest, MeasuresVendorFeatureReportsWithAndWithoutReportIds) {
    const ReportDescriptor command = parse_report_descriptor(vendor_feature(1, 7));
    EXPECT_TRUE(command.well_formed);
    EXPECT_EQ(command.feature_reports, (std::vector<FeatureReport>{{1, 56}}));
    EXPECT_EQ(command.top_level_collections, (std::vector<CollectionUsage>{{0xFF00, 0x0001}}));

    const ReportDescriptor data = parse_report_descriptor(vendor_feature(0, 64));
    EXPECT_TRUE(data.well_formed);
    ASSERT_NE(data.feature_report(0), nullptr);
    EXPECT_EQ(data.feature_report(0)->data_bytes(), 64U);
    EXPECT_EQ(data.feature_report(1), nullptr);

    EXPECT_EQ(parse_report_descriptor(vendor_feature(2, 7)).feature_reports,
              (std::vector<FeatureReport>{{2, 56}}));
    EXPECT_EQ(parse_report_descriptor(vendor_feature(0, 63)).feature_reports,
              (std::vector<FeatureReport>{{0, 504}}));
}

TEST(ReportDescriptorTest, SumsEveryFeatureItemOfAReportAndNothingElse) {
    const Bytes bytes = {
        0x06, 0x00, 0xFF, 0x09, 0x01, 0xA1, 0x01,       // vendor collection
        0x85, 0x01, 0x75, 0x08, 0x95, 0x07, 0x81, 0x02, // ID 1: a 7-byte Input report
        0x75, 0x01, 0x95, 0x04, 0xB1, 0x02,             // ID 1: four feature bits
        0x75, 0x04, 0x95, 0x01, 0xB1, 0x03,             //       four bits of padding
        0x75, 0x08, 0x95, 0x06, 0xB1, 0x02,             //       six feature bytes
        0x85, 0x02, 0x95, 0x03, 0xB1, 0x02,             // ID 2: three feature bytes
        0x85, 0x01, 0x95, 0x01, 0x91, 0x02,             // ID 1: an Output byte
        0xC0,
    };
    const ReportDescriptor parsed = parse_report_descriptor(bytes);
    EXPECT_TRUE(parsed.well_formed);
    EXPECT_EQ(parsed.feature_reports, (std::vector<FeatureReport>{{1, 56}, {2, 24}}));
}

TEST(ReportDescriptorTest, RestoresGlobalsOnPopAndResetsUsagesAfterEachMainItem) {
    const Bytes bytes = {
        0x05, 0x0C, 0x09, 0x01, 0xA1, 0x01, 0xC0,             // consumer control
        0x06, 0x00, 0xFF, 0x85, 0x01, 0x75, 0x08, 0x95, 0x07, // vendor page; ID 1, 7 bytes
        0xA4, 0x85, 0x05, 0x75, 0x10, 0x95, 0x02, 0xB1, 0x02, // Push; ID 5: two 16-bit fields
        0xB4, 0xA1, 0x01, 0xB1, 0x02, 0xC0,                   // Pop; a collection without usage
        0x0B, 0x02, 0x00, 0x01, 0xFF,                         // a four-byte usage, page FF01
        0xA1, 0x01, 0xC0,
    };
    const ReportDescriptor parsed = parse_report_descriptor(bytes);
    EXPECT_TRUE(parsed.well_formed);
    EXPECT_EQ(parsed.feature_reports, (std::vector<FeatureReport>{{5, 32}, {1, 56}}));
    EXPECT_EQ(parsed.top_level_collections,
              (std::vector<CollectionUsage>{{0x000C, 0x0001}, {0xFF00, 0}, {0xFF01, 0x0002}}));
}

TEST(ReportDescriptorTest, SkipsLongAndReservedItems) {
    Bytes bytes = {0xFE, 0x03, 0x10, 0xB1, 0xB1, 0xB1, // long item whose data looks like items
                   0x0C, 0x0D, 0xFF};                  // reserved items
    const Bytes command = vendor_feature(1, 7);
    bytes.insert(bytes.end(), command.begin(), command.end());
    bytes.insert(bytes.end(), {0xFE, 0x00, 0x20});
    const ReportDescriptor parsed = parse_report_descriptor(bytes);
    EXPECT_TRUE(parsed.well_formed);
    EXPECT_EQ(parsed.feature_reports, (std::vector<FeatureReport>{{1, 56}}));
}

TEST(ReportDescriptorTest, MarksFaultsTheKernelRefusesAndKeepsWhatCameBefore) {
    const Bytes command = vendor_feature(1, 7);
    const auto with_command = [&command](Bytes tail) {
        Bytes bytes = command;
        bytes.insert(bytes.end(), tail.begin(), tail.end());
        return bytes;
    };
    const std::vector<Bytes> faulty = {
        with_command({0x85, 0x00}),                   // report ID 0
        with_command({0x86, 0x00, 0x01}),             // report ID 256
        with_command({0xB4}),                         // Pop without Push
        with_command({0xC0}),                         // End Collection without Collection
        with_command({0xA1, 0x01}),                   // collection left open
        with_command({0x95}),                         // item cut off before its data
        with_command({0x27, 0xFF, 0xFF}),             // four-byte item with two bytes
        with_command({0xFE, 0x04, 0x10, 0x00, 0x00}), // long item cut short
        with_command({0xFE, 0x01}),                   // long item header cut short
        with_command(Bytes(17, 0xA4)),                // Push past the stack's depth
    };
    for (const Bytes& bytes : faulty) {
        const ReportDescriptor parsed = parse_report_descriptor(bytes);
        EXPECT_FALSE(parsed.well_formed) << "size " << bytes.size();
        EXPECT_EQ(parsed.feature_reports, (std::vector<FeatureReport>{{1, 56}}));
    }
    EXPECT_TRUE(parse_report_descriptor(with_command(Bytes(16, 0xA4))).well_formed);
}

TEST(ReportDescriptorTest, EveryTruncationOfADescriptorIsMalformedOrIncomplete) {
    const Bytes full = vendor_feature(1, 7);
    for (std::size_t size = 0; size < full.size(); ++size) {
        const ReportDescriptor parsed = parse_report_descriptor(std::span(full.data(), size));
        const FeatureReport* report = parsed.feature_report(1);
        // Every cut either comes before the feature report or leaves the collection open.
        EXPECT_TRUE(!parsed.well_formed || report == nullptr) << "size " << size;
    }
    EXPECT_TRUE(parse_report_descriptor(Bytes{}).well_formed);
}

TEST(ReportDescriptorTest, HugeSizesAndCountsSaturateInsteadOfWrapping) {
    const Bytes bytes = {0x77, 0xFF, 0xFF, 0xFF, 0xFF, 0x97, 0xFF, 0xFF,
                         0xFF, 0xFF, 0xB1, 0x02, 0xB1, 0x02, 0xB1, 0x02};
    const ReportDescriptor parsed = parse_report_descriptor(bytes);
    EXPECT_TRUE(parsed.well_formed);
    ASSERT_EQ(parsed.feature_reports.size(), 1U);
    EXPECT_EQ(parsed.feature_reports[0].bits, std::numeric_limits<std::uint64_t>::max());
    EXPECT_EQ(parsed.feature_reports[0].data_bytes(),
              std::numeric_limits<std::uint64_t>::max() / 8 + 1);
}

} // namespace
} // namespace zemrak::hid
