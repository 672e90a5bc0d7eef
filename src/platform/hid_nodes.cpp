#include "platform/hid_nodes.h"

#include "platform/unique_fd.h"

#include <algorithm>
#include <cerrno>
#include <charconv>
#include <fcntl.h>
#include <fstream>
#include <string>
#include <string_view>

namespace zemrak {
namespace {

// A uevent file is a handful of short lines; anything longer is not one.
constexpr std::size_t kMaxUeventLines = 64;

struct HidId {
    std::uint32_t vendor = 0;
    std::uint32_t product = 0;
};

[[nodiscard]] std::optional<std::uint32_t> hex_field(std::string_view text) {
    std::uint32_t value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value, 16);
    if (error != std::errc() || end != text.data() + text.size()) {
        return std::nullopt;
    }
    return value;
}

// HID_ID=0003:000004D9:0000A09F: bus, vendor, product in hexadecimal.
[[nodiscard]] std::optional<HidId> read_hid_id(const std::filesystem::path& uevent) {
    std::ifstream in(uevent);
    std::string line;
    for (std::size_t i = 0; i < kMaxUeventLines && std::getline(in, line); ++i) {
        constexpr std::string_view kKey = "HID_ID=";
        if (!line.starts_with(kKey)) {
            continue;
        }
        const std::string_view id = std::string_view(line).substr(kKey.size());
        const std::size_t first = id.find(':');
        const std::size_t second = id.find(':', first + 1);
        if (first == std::string_view::npos || second == std::string_view::npos) {
            return std::nullopt;
        }
        const auto vendor = hex_field(id.substr(first + 1, second - first - 1));
        const auto product = hex_field(id.substr(second + 1));
        if (!vendor || !product) {
            return std::nullopt;
        }
        return HidId{*vendor, *product};
    }
    return std::nullopt;
}

[[nodiscard]] std::error_code try_write_open(const std::filesystem::path& node) {
    // Non-blocking, and closed at once: only the permission is asked, nothing is written.
    const UniqueFd fd(::open(node.c_str(), O_RDWR | O_NONBLOCK | O_CLOEXEC | O_NOCTTY));
    return fd ? std::error_code() : std::error_code(errno, std::generic_category());
}

} // namespace

SysfsHidNodeProbe::SysfsHidNodeProbe(std::filesystem::path classes, std::filesystem::path devices)
    : m_classes(std::move(classes)), m_devices(std::move(devices)) {}

std::vector<HidNodeAccess> SysfsHidNodeProbe::nodes(std::uint32_t vendor_id,
                                                    std::uint32_t product_id) {
    std::vector<HidNodeAccess> found;
    std::error_code error;
    for (std::filesystem::directory_iterator it(m_classes, error), end; !error && it != end;
         it.increment(error)) {
        const auto id = read_hid_id(it->path() / "device" / "uevent");
        if (!id || id->vendor != vendor_id || id->product != product_id) {
            continue;
        }
        const std::filesystem::path node = m_devices / it->path().filename();
        std::error_code exists_error;
        if (!std::filesystem::exists(node, exists_error)) {
            continue; // announced by the kernel, not yet made by udev
        }
        found.push_back({node, try_write_open(node)});
    }
    std::sort(found.begin(), found.end(),
              [](const HidNodeAccess& a, const HidNodeAccess& b) { return a.node < b.node; });
    return found;
}

std::optional<HidNodeAccess> denied_node(const std::vector<HidNodeAccess>& nodes) {
    if (std::any_of(nodes.begin(), nodes.end(), [](const HidNodeAccess& n) { return !n.error; })) {
        return std::nullopt;
    }
    const auto denied = std::find_if(nodes.begin(), nodes.end(), [](const HidNodeAccess& n) {
        return n.error == std::errc::permission_denied ||
               n.error == std::errc::operation_not_permitted;
    });
    if (denied == nodes.end()) {
        return std::nullopt;
    }
    return *denied;
}

} // namespace zemrak
