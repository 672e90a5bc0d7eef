#pragma once
// Which of the mouse's hidraw nodes carries which channel, and which nodes belong to the mouse.
//
// The mouse shows several HID interfaces, each as a hidraw node. The command channel takes
// 8-byte feature reports with report ID 1 and the data channel 65-byte feature reports with
// report ID 0, so each channel is the node whose report descriptor declares exactly that
// feature report:
//   command channel: a Feature report with report ID 1 of 7 data bytes (8 with the ID);
//   data channel:    a Feature report without report IDs (ID 0) of 64 data bytes.
// Interface numbers are not used: under uhid there are none, and a device's numbering is not
// a promise. A node that matches neither shape (such as the boot-mouse interface) is never
// written to. When several nodes match, the first in node order (hidraw2 before hidraw10) wins,
// so the same device always gives the same answer.
//
// Data.ini may override the choice in a section of its own:
//   [HID]
//   CommandChannel=hidraw3            the node of that name
//   DataChannel=usage:ff00:0001       the node with a top-level collection of that usage page
//                                     and usage (hexadecimal, up to four digits each)
// A present, non-empty key replaces the descriptor rule for its channel; a value that cannot
// be read matches no node. Either way only the mouse's own nodes are considered.

#include "report_descriptor.h"

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <variant>

namespace zemrak {
class IniFile;
}

namespace zemrak::hid {

enum class Channel { command, data };

inline constexpr std::uint8_t kCommandReportId = 1;
inline constexpr std::uint64_t kCommandReportDataBytes = 7;
inline constexpr std::uint8_t kDataReportId = 0;
inline constexpr std::uint64_t kDataReportDataBytes = 64;

struct HidrawNode {
    std::string name; // "hidraw3"
    ReportDescriptor descriptor;
};

struct NodeNameSelector {
    std::string name; // "hidraw3"
    bool operator==(const NodeNameSelector&) const = default;
};
struct UsageSelector {
    CollectionUsage usage;
    bool operator==(const UsageSelector&) const = default;
};
struct UnreadableSelector {
    std::string text;
    bool operator==(const UnreadableSelector&) const = default;
};
using ChannelSelector = std::variant<NodeNameSelector, UsageSelector, UnreadableSelector>;

// "hidrawN" (or "/dev/hidrawN") or "usage:PAGE:USAGE"; the prefix may be in any letter case.
[[nodiscard]] ChannelSelector parse_channel_selector(std::string_view text);

struct ChannelOverrides {
    std::optional<ChannelSelector> command;
    std::optional<ChannelSelector> data;
};

// The [HID] keys CommandChannel and DataChannel; an absent or empty key gives no override.
[[nodiscard]] ChannelOverrides read_channel_overrides(const IniFile& ini);

// The descriptor rule: well-formed and declaring the channel's feature report.
[[nodiscard]] bool carries_channel(const ReportDescriptor& descriptor, Channel channel);
[[nodiscard]] bool matches_selector(const HidrawNode& node, const ChannelSelector& selector);

// True when node `a` comes before node `b`: by length first, so that numbered names sort by
// number, then by text.
[[nodiscard]] bool node_order_less(std::string_view a, std::string_view b);

// The index in `nodes` of the node that carries the channel, or nothing. `selector`, when given,
// replaces the descriptor rule.
[[nodiscard]] std::optional<std::size_t>
choose_channel(std::span<const HidrawNode> nodes, Channel channel,
               const std::optional<ChannelSelector>& selector);

// "hidrawN" for the device path "/dev/hidrawN"; nothing for any other path.
[[nodiscard]] std::optional<std::string> hidraw_node_name(std::string_view path);

struct HidIdentity {
    std::uint16_t vendor = 0;
    std::uint16_t product = 0;
    bool operator==(const HidIdentity&) const = default;
};

// The HID_ID property of a HID device: "BUS:VENDOR:PRODUCT" in hexadecimal, such as
// "0003:000004D9:0000A09F".
[[nodiscard]] std::optional<HidIdentity> parse_hid_id(std::string_view text);

// The identity in the name of the nearest HID device on a sysfs path, such as
// ".../0003:04D9:A09F.0001/hidraw/hidraw0". It needs no lookup in sysfs, so it still answers
// when the device is already gone.
[[nodiscard]] std::optional<HidIdentity> identity_from_syspath(std::string_view syspath);

} // namespace zemrak::hid
