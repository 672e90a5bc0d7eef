#include "channel_choice.h"

#include "model/ini_file.h"

#include <algorithm>
#include <cctype>
#include <vector>

namespace zemrak::hid {
namespace {

constexpr std::string_view kNodePrefix = "hidraw";
constexpr std::string_view kDevicePrefix = "/dev/";
constexpr std::string_view kUsagePrefix = "usage:";
constexpr std::uint32_t kMax16 = 0xFFFF;

bool is_digits(std::string_view text) {
    return !text.empty() && std::all_of(text.begin(), text.end(), [](char c) {
        return std::isdigit(static_cast<unsigned char>(c)) != 0;
    });
}

// Nothing unless `text` is 1 to `max_digits` hexadecimal digits.
std::optional<std::uint32_t> parse_hex(std::string_view text, std::size_t max_digits) {
    if (text.empty() || text.size() > max_digits) {
        return std::nullopt;
    }
    std::uint32_t value = 0;
    for (const char c : text) {
        const auto u = static_cast<unsigned char>(c);
        if (std::isxdigit(u) == 0) {
            return std::nullopt;
        }
        const int digit = std::isdigit(u) != 0 ? u - '0' : std::tolower(u) - 'a' + 10;
        value = value * 16 + static_cast<std::uint32_t>(digit);
    }
    return value;
}

bool starts_with_ignoring_case(std::string_view text, std::string_view prefix) {
    return text.size() >= prefix.size() &&
           std::equal(prefix.begin(), prefix.end(), text.begin(), [](char a, char b) {
               return std::tolower(static_cast<unsigned char>(a)) ==
                      std::tolower(static_cast<unsigned char>(b));
           });
}

std::vector<std::string_view> split(std::string_view text, char separator) {
    std::vector<std::string_view> parts;
    for (;;) {
        const std::size_t at = text.find(separator);
        parts.push_back(text.substr(0, at));
        if (at == std::string_view::npos) {
            return parts;
        }
        text.remove_prefix(at + 1);
    }
}

// A HID device's sysfs name: "BBBB:VVVV:PPPP.NNNN", four hexadecimal digits per number except
// the instance, which may grow longer.
std::optional<HidIdentity> identity_from_device_name(std::string_view name) {
    const std::size_t dot = name.find('.');
    if (dot == std::string_view::npos || !parse_hex(name.substr(dot + 1), 8)) {
        return std::nullopt;
    }
    const std::vector<std::string_view> parts = split(name.substr(0, dot), ':');
    if (parts.size() != 3 || std::any_of(parts.begin(), parts.end(), [](std::string_view p) {
            return p.size() != 4 || !parse_hex(p, 4);
        })) {
        return std::nullopt;
    }
    return HidIdentity{static_cast<std::uint16_t>(*parse_hex(parts[1], 4)),
                       static_cast<std::uint16_t>(*parse_hex(parts[2], 4))};
}

std::optional<ChannelSelector> read_selector(const IniFile& ini, std::string_view key) {
    const std::optional<std::string> value = ini.value("HID", key);
    if (!value || value->empty()) {
        return std::nullopt;
    }
    return parse_channel_selector(*value);
}

} // namespace

ChannelSelector parse_channel_selector(std::string_view text) {
    std::string_view node = text;
    if (node.starts_with(kDevicePrefix)) {
        node.remove_prefix(kDevicePrefix.size());
    }
    if (starts_with_ignoring_case(node, kNodePrefix) &&
        is_digits(node.substr(kNodePrefix.size()))) {
        return NodeNameSelector{std::string(kNodePrefix) +
                                std::string(node.substr(kNodePrefix.size()))};
    }
    if (starts_with_ignoring_case(text, kUsagePrefix)) {
        const std::vector<std::string_view> parts = split(text.substr(kUsagePrefix.size()), ':');
        if (parts.size() == 2) {
            const std::optional<std::uint32_t> page = parse_hex(parts[0], 4);
            const std::optional<std::uint32_t> usage = parse_hex(parts[1], 4);
            if (page && usage) {
                return UsageSelector{CollectionUsage{static_cast<std::uint16_t>(*page),
                                                     static_cast<std::uint16_t>(*usage)}};
            }
        }
    }
    return UnreadableSelector{std::string(text)};
}

ChannelOverrides read_channel_overrides(const IniFile& ini) {
    return ChannelOverrides{read_selector(ini, "CommandChannel"),
                            read_selector(ini, "DataChannel")};
}

bool carries_channel(const ReportDescriptor& descriptor, Channel channel) {
    if (!descriptor.well_formed) {
        return false;
    }
    const bool command = channel == Channel::command;
    const FeatureReport* report =
        descriptor.feature_report(command ? kCommandReportId : kDataReportId);
    return report != nullptr &&
           report->data_bytes() == (command ? kCommandReportDataBytes : kDataReportDataBytes);
}

bool matches_selector(const HidrawNode& node, const ChannelSelector& selector) {
    if (const auto* named = std::get_if<NodeNameSelector>(&selector)) {
        return node.name == named->name;
    }
    if (const auto* by_usage = std::get_if<UsageSelector>(&selector)) {
        const auto& collections = node.descriptor.top_level_collections;
        return std::find(collections.begin(), collections.end(), by_usage->usage) !=
               collections.end();
    }
    return false;
}

bool node_order_less(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) {
        return a.size() < b.size();
    }
    return a < b;
}

std::optional<std::size_t> choose_channel(std::span<const HidrawNode> nodes, Channel channel,
                                          const std::optional<ChannelSelector>& selector) {
    std::optional<std::size_t> chosen;
    for (std::size_t i = 0; i < nodes.size(); ++i) {
        const bool matches = selector ? matches_selector(nodes[i], *selector)
                                      : carries_channel(nodes[i].descriptor, channel);
        if (matches && (!chosen || node_order_less(nodes[i].name, nodes[*chosen].name))) {
            chosen = i;
        }
    }
    return chosen;
}

std::optional<std::string> hidraw_node_name(std::string_view path) {
    if (!path.starts_with(kDevicePrefix)) {
        return std::nullopt;
    }
    const std::string_view name = path.substr(kDevicePrefix.size());
    if (!name.starts_with(kNodePrefix) || !is_digits(name.substr(kNodePrefix.size()))) {
        return std::nullopt;
    }
    return std::string(name);
}

std::optional<HidIdentity> parse_hid_id(std::string_view text) {
    const std::vector<std::string_view> parts = split(text, ':');
    if (parts.size() != 3 || !parse_hex(parts[0], 8)) {
        return std::nullopt;
    }
    const std::optional<std::uint32_t> vendor = parse_hex(parts[1], 8);
    const std::optional<std::uint32_t> product = parse_hex(parts[2], 8);
    if (!vendor || !product || *vendor > kMax16 || *product > kMax16) {
        return std::nullopt;
    }
    return HidIdentity{static_cast<std::uint16_t>(*vendor), static_cast<std::uint16_t>(*product)};
}

std::optional<HidIdentity> identity_from_syspath(std::string_view syspath) {
    const std::vector<std::string_view> parts = split(syspath, '/');
    for (auto part = parts.rbegin(); part != parts.rend(); ++part) {
        if (const std::optional<HidIdentity> identity = identity_from_device_name(*part)) {
            return identity;
        }
    }
    return std::nullopt;
}

} // namespace zemrak::hid
