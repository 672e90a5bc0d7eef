#pragma once
// The hidraw nodes of the mouse, and whether this user may write to them. The HID library
// only says that it could not open the mouse; this tells a missing mouse from one that the
// system keeps this user away from.

#include <cstdint>
#include <filesystem>
#include <memory>
#include <optional>
#include <system_error>
#include <vector>

namespace zemrak {

// One hidraw node of the mouse and what opening it for writing gave (no error: it opened).
struct HidNodeAccess {
    std::filesystem::path node;
    std::error_code error;
};

// Finds the nodes of a device.
class HidNodeProbe {
public:
    virtual ~HidNodeProbe() = default;
    // Every hidraw node of the device with these USB identifiers that exists, each tried for
    // writing; empty when there is none.
    [[nodiscard]] virtual std::vector<HidNodeAccess> nodes(std::uint32_t vendor_id,
                                                           std::uint32_t product_id) = 0;
};

// Reads the kernel's hidraw class folder: `<classes>/hidrawN/device/uevent` names the device
// (HID_ID=bus:vendor:product, any bus) and the node is `<devices>/hidrawN`.
class SysfsHidNodeProbe final : public HidNodeProbe {
public:
    explicit SysfsHidNodeProbe(std::filesystem::path classes = "/sys/class/hidraw",
                               std::filesystem::path devices = "/dev");
    [[nodiscard]] std::vector<HidNodeAccess> nodes(std::uint32_t vendor_id,
                                                   std::uint32_t product_id) override;

private:
    std::filesystem::path m_classes;
    std::filesystem::path m_devices;
};

// The node that keeps this user from the mouse: the first one refused for want of
// permission, when no node of the mouse opened at all. None when a node opened, when there
// is no node, or when the nodes failed for other reasons.
[[nodiscard]] std::optional<HidNodeAccess> denied_node(const std::vector<HidNodeAccess>& nodes);

} // namespace zemrak
