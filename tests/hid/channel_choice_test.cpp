#include "model/ini_file.h"
#include "real/channel_choice.h"

#include <cstdint>
#include <string>
#include <vector>

#include <gtest/gtest.h>

namespace zemrak::hid {
namespace {

using Bytes = std::vector<std::uint8_t>;

const Bytes kBootMouse = {
    0x05, 0x01, 0x09, 0x02, 0xA1, 0x01, 0x09, 0x01, 0xA1, 0x00, 0x05, 0x09, 0x19,
    0x01, 0x29, 0x03, 0x15, 0x00, 0x25, 0x01, 0x95, 0x03, 0x75, 0x01, 0x81, 0x02,
    0x95, 0x01, 0x75, 0x05, 0x81, 0x03, 0x05, 0x01, 0x09, 0x30, 0x09, 0x31, 0x09,
    0x38, 0x15, 0x81, 0x25, 0x7F, 0x75, 0x08, 0x95, 0x03, 0x81, 0x06, 0xC0, 0xC0,
};

// The second interface of a typical gaming mouse: consumer keys (ID 3) and a vendor collection
// with the 7-byte feature report ID 1.
const Bytes kKeysAndCommand = {
    0x05, 0x0C, 0x09, 0x01, 0xA1, 0x01, 0x85, 0x03, 0x19, 0x00, 0x2A, 0x3C, 0x02, 0x15, 0x00, 0x26,
    0x3C, 0x02, 0x95, 0x01, 0x75, 0x10, 0x81, 0x00, 0xC0, 0x06, 0x00, 0xFF, 0x09, 0x01, 0xA1, 0x01,
    0x85, 0x01, 0x15, 0x00, 0x26, 0xFF, 0x00, 0x75, 0x08, 0x95, 0x07, 0x09, 0x02, 0xB1, 0x02, 0xC0,
};

// A vendor interface without report IDs: 64-byte input and feature reports.
const Bytes kVendorData = {
    0x06, 0x01, 0xFF, 0x09, 0x02, 0xA1, 0x01, 0x15, 0x00, 0x26, 0xFF, 0x00, 0x75,
    0x08, 0x95, 0x40, 0x09, 0x03, 0x81, 0x02, 0x09, 0x04, 0xB1, 0x02, 0xC0,
};

Bytes vendor_feature(std::uint8_t id, std::uint8_t count) {
    Bytes bytes = {0x06, 0x00, 0xFF, 0x09, 0x01, 0xA1, 0x01};
    if (id != 0) {
        bytes.insert(bytes.end(), {0x85, id});
    }
    bytes.insert(bytes.end(), {0x75, 0x08, 0x95, count, 0x09, 0x02, 0xB1, 0x02, 0xC0});
    return bytes;
}

HidrawNode node(std::string name, const Bytes& descriptor) {
    return HidrawNode{std::move(name), parse_report_descriptor(descriptor)};
}

std::optional<std::string> chosen(const std::vector<HidrawNode>& nodes, Channel channel,
                                  const std::optional<ChannelSelector>& selector = std::nullopt) {
    const std::optional<std::size_t> index = choose_channel(nodes, channel, selector);
    if (!index) {
        return std::nullopt;
    }
    return nodes.at(*index).name;
}

TEST(ChannelChoiceTest, PicksEachChannelByItsFeatureReportAndNeverTheBootMouse) {
    const std::vector<HidrawNode> nodes = {node("hidraw7", kVendorData),
                                           node("hidraw5", kBootMouse),
                                           node("hidraw6", kKeysAndCommand)};
    EXPECT_EQ(chosen(nodes, Channel::command), "hidraw6");
    EXPECT_EQ(chosen(nodes, Channel::data), "hidraw7");

    const std::vector<HidrawNode> boot_only = {node("hidraw0", kBootMouse)};
    EXPECT_EQ(chosen(boot_only, Channel::command), std::nullopt);
    EXPECT_EQ(chosen(boot_only, Channel::data), std::nullopt);
}

TEST(ChannelChoiceTest, RefusesReportsOfAnotherIdOrSizeAndMalformedDescriptors) {
    Bytes unclosed = vendor_feature(1, 7);
    unclosed.pop_back();
    const std::vector<HidrawNode> near_misses = {
        node("hidraw1", vendor_feature(2, 7)),  node("hidraw2", vendor_feature(1, 8)),
        node("hidraw3", vendor_feature(1, 6)),  node("hidraw4", vendor_feature(0, 63)),
        node("hidraw5", vendor_feature(0, 65)), node("hidraw6", vendor_feature(0, 7)),
        node("hidraw7", vendor_feature(1, 64)), node("hidraw8", unclosed),
    };
    EXPECT_EQ(chosen(near_misses, Channel::command), std::nullopt);
    EXPECT_EQ(chosen(near_misses, Channel::data), std::nullopt);

    // A 7-byte Input report with ID 1 is not a feature report.
    const Bytes input_only = {0x06, 0x00, 0xFF, 0x09, 0x01, 0xA1, 0x01, 0x85,
                              0x01, 0x75, 0x08, 0x95, 0x07, 0x81, 0x02, 0xC0};
    EXPECT_FALSE(carries_channel(parse_report_descriptor(input_only), Channel::command));
}

TEST(ChannelChoiceTest, TakesTheFirstMatchInNodeOrderWhateverTheListOrder) {
    const std::vector<HidrawNode> nodes = {
        node("hidraw10", vendor_feature(1, 7)), node("hidraw9", vendor_feature(1, 7)),
        node("hidraw11", vendor_feature(0, 64)), node("hidraw2", kBootMouse),
        node("hidraw12", vendor_feature(0, 64))};
    EXPECT_EQ(chosen(nodes, Channel::command), "hidraw9");
    EXPECT_EQ(chosen(nodes, Channel::data), "hidraw11");
    EXPECT_TRUE(node_order_less("hidraw2", "hidraw10"));
    EXPECT_TRUE(node_order_less("hidraw10", "hidraw11"));
    EXPECT_FALSE(node_order_less("hidraw3", "hidraw3"));
}

TEST(ChannelChoiceTest, ReadsSelectorsByNameAndByUsage) {
    EXPECT_EQ(parse_channel_selector("hidraw3"), ChannelSelector(NodeNameSelector{"hidraw3"}));
    EXPECT_EQ(parse_channel_selector("/dev/hidraw12"),
              ChannelSelector(NodeNameSelector{"hidraw12"}));
    EXPECT_EQ(parse_channel_selector("HIDRAW4"), ChannelSelector(NodeNameSelector{"hidraw4"}));
    EXPECT_EQ(parse_channel_selector("usage:ff00:0001"),
              ChannelSelector(UsageSelector{{0xFF00, 0x0001}}));
    EXPECT_EQ(parse_channel_selector("Usage:C:1"), ChannelSelector(UsageSelector{{0x000C, 1}}));
    for (const char* bad :
         {"hidraw", "hidraw3a", "/dev/usb/hiddev0", "usage:ff00", "usage:ff00:0001:2",
          "usage:10000:1", "usage:ff00:", "usage:xx:1", "3", " hidraw3"}) {
        EXPECT_EQ(parse_channel_selector(bad), ChannelSelector(UnreadableSelector{bad})) << bad;
    }
}

TEST(ChannelChoiceTest, OverridesFromDataIniReplaceTheDescriptorRule) {
    const std::vector<HidrawNode> nodes = {node("hidraw5", kBootMouse),
                                           node("hidraw6", kKeysAndCommand),
                                           node("hidraw7", kVendorData)};
    const ChannelOverrides overrides =
        read_channel_overrides(IniFile::parse("[Default]\n"
                                              "VID=04d9\n"
                                              "[hid]\n"
                                              "commandchannel = hidraw5\n"
                                              "DataChannel=usage:ff01:2\n"));
    // The named node is taken even though its descriptor carries no such report.
    EXPECT_EQ(chosen(nodes, Channel::command, overrides.command), "hidraw5");
    EXPECT_EQ(chosen(nodes, Channel::data, overrides.data), "hidraw7");

    // The usage may be any of a node's top-level collections.
    EXPECT_EQ(chosen(nodes, Channel::command, UsageSelector{{0x000C, 0x0001}}), "hidraw6");
    // Only the mouse's own nodes are candidates, and an unreadable value matches none of them.
    EXPECT_EQ(chosen(nodes, Channel::command, NodeNameSelector{"hidraw1"}), std::nullopt);
    EXPECT_EQ(chosen(nodes, Channel::data, UsageSelector{{0xFF00, 0x0003}}), std::nullopt);
    EXPECT_EQ(chosen(nodes, Channel::data, UnreadableSelector{"hidraw7?"}), std::nullopt);
}

TEST(ChannelChoiceTest, AbsentOrEmptyOverrideKeysLeaveTheDescriptorRule) {
    const ChannelOverrides empty =
        read_channel_overrides(IniFile::parse("[HID]\nCommandChannel=\nOther=hidraw1\n"));
    EXPECT_EQ(empty.command, std::nullopt);
    EXPECT_EQ(empty.data, std::nullopt);
    EXPECT_EQ(read_channel_overrides(IniFile::parse("")).command, std::nullopt);
    EXPECT_EQ(read_channel_overrides(IniFile::parse("[HID]\nDataChannel=junk\n")).data,
              std::optional<ChannelSelector>(UnreadableSelector{"junk"}));
}

TEST(ChannelChoiceTest, AcceptsOnlyHidrawDevicePaths) {
    EXPECT_EQ(hidraw_node_name("/dev/hidraw3"), "hidraw3");
    EXPECT_EQ(hidraw_node_name("/dev/hidraw15"), "hidraw15");
    for (const char* bad : {"/dev/hidraw", "/dev/hidraw3x", "/dev/hidraw/../sda", "hidraw3",
                            "/dev/usb/hiddev0", "/sys/class/hidraw/hidraw3", ""}) {
        EXPECT_EQ(hidraw_node_name(bad), std::nullopt) << bad;
    }
}

TEST(ChannelChoiceTest, ReadsTheIdentityFromHidIdAndFromSysfsPaths) {
    const HidIdentity mouse{0x04D9, 0xA09F};
    EXPECT_EQ(parse_hid_id("0003:000004D9:0000A09F"), mouse);
    EXPECT_EQ(parse_hid_id("0005:000004d9:0000a09f"), mouse);
    for (const char* bad : {"0003:000104D9:0000A09F", "0003:000004D9", "0003:000004D9:0000A09G",
                            "0003:000004D9:0000A09F:1", ":000004D9:0000A09F", ""}) {
        EXPECT_EQ(parse_hid_id(bad), std::nullopt) << bad;
    }

    EXPECT_EQ(identity_from_syspath("/sys/devices/pci0000:00/0000:00:14.0/usb1/1-2/1-2:1.1/"
                                    "0003:04D9:A09F.0007/hidraw/hidraw6"),
              mouse);
    EXPECT_EQ(identity_from_syspath("/devices/virtual/misc/uhid/0003:04D9:A09F.1000A/hidraw/"
                                    "hidraw3"),
              mouse);
    // The nearest HID device counts, not one further up.
    EXPECT_EQ(identity_from_syspath("/devices/0003:04D9:A09F.0001/0005:046D:C52B.0002/hidraw/"
                                    "hidraw1"),
              (HidIdentity{0x046D, 0xC52B}));
    EXPECT_EQ(identity_from_syspath("/devices/pci0000:00/0000:00:14.0/usb1/1-2/1-2:1.1"),
              std::nullopt);
    EXPECT_EQ(identity_from_syspath("/devices/0003:4D9:A09F.0007/hidraw/hidraw6"), std::nullopt);
}

} // namespace
} // namespace zemrak::hid
