#include "application/access_advice.h"
#include "platform/hid_nodes.h"
#include "test_support/temp_dir.h"

#include <unistd.h>

#include <gtest/gtest.h>

namespace zemrak {
namespace {

using test::TempDir;
using test::write_text;

constexpr std::uint32_t kVendor = 0x04D9;
constexpr std::uint32_t kProduct = 0xA09F;

// A hidraw class folder as the kernel shows it, with the nodes udev made in `dev`.
void add_node(const TempDir& dir, const std::string& name, const std::string& uevent,
              bool node_made = true) {
    write_text(dir / ("class/" + name + "/device/uevent"), uevent);
    if (node_made) {
        write_text(dir / ("dev/" + name), "");
    }
}

TEST(HidNodes, TheMousesNodesAreFoundOnAnyBusAndOthersAreNot) {
    TempDir dir;
    add_node(dir, "hidraw3", "DRIVER=hid-generic\nHID_ID=0003:000004D9:0000A09F\nHID_NAME=x\n");
    add_node(dir, "hidraw1", "HID_ID=0005:000004D9:0000A09F\n");        // Bluetooth
    add_node(dir, "hidraw0", "HID_ID=0003:0000046D:0000C52B\n");        // another device
    add_node(dir, "hidraw5", "HID_ID=0003:000004D9:0000A09F\n", false); // no node yet
    add_node(dir, "hidraw6", "HID_ID=0003:000004D9\n");                 // malformed
    add_node(dir, "hidraw7", "HID_ID=0003:000004D9:0000A09Fzz\n");      // malformed

    SysfsHidNodeProbe probe(dir / "class", dir / "dev");
    const std::vector<HidNodeAccess> nodes = probe.nodes(kVendor, kProduct);
    ASSERT_EQ(2u, nodes.size());
    EXPECT_EQ(dir / "dev/hidraw1", nodes[0].node);
    EXPECT_EQ(dir / "dev/hidraw3", nodes[1].node);
    EXPECT_FALSE(nodes[0].error) << nodes[0].error.message();

    EXPECT_TRUE(SysfsHidNodeProbe(dir / "missing", dir / "dev").nodes(kVendor, kProduct).empty());
}

TEST(HidNodes, ANodeThisUserCannotOpenIsReportedWithItsReason) {
    if (::geteuid() == 0) {
        GTEST_SKIP() << "root opens any file";
    }
    TempDir dir;
    add_node(dir, "hidraw2", "HID_ID=0003:000004D9:0000A09F\n");
    std::filesystem::permissions(dir / "dev/hidraw2", std::filesystem::perms::owner_read);
    const auto nodes = SysfsHidNodeProbe(dir / "class", dir / "dev").nodes(kVendor, kProduct);
    ASSERT_EQ(1u, nodes.size());
    EXPECT_EQ(std::errc::permission_denied, nodes[0].error);
    EXPECT_TRUE(denied_node(nodes).has_value());
}

TEST(HidNodes, OnlyPermissionKeepsTheUserFromAMouseThatIsThere) {
    const auto denied = std::make_error_code(std::errc::permission_denied);
    const auto busy = std::make_error_code(std::errc::device_or_resource_busy);
    EXPECT_FALSE(denied_node({}).has_value()) << "no mouse";
    EXPECT_FALSE(denied_node({{"/dev/hidraw1", denied}, {"/dev/hidraw2", {}}}).has_value())
        << "a node that opens reaches the mouse";
    EXPECT_FALSE(denied_node({{"/dev/hidraw1", busy}}).has_value());
    const auto first = denied_node({{"/dev/hidraw1", busy}, {"/dev/hidraw2", denied}});
    ASSERT_TRUE(first.has_value());
    EXPECT_EQ("/dev/hidraw2", first->node);
    EXPECT_TRUE(
        denied_node({{"/dev/hidraw4", std::make_error_code(std::errc::operation_not_permitted)}})
            .has_value());
}

TEST(AccessAdvice, NamesTheNodeTheReasonAndCommandsThatWorkFromAnyFolder) {
    const HidNodeAccess denied{"/dev/hidraw7", std::make_error_code(std::errc::permission_denied)};
    const std::string advice =
        access_advice("May not write (%1: %2). Do:", denied, "/opt/it's here/zemrak");
    EXPECT_EQ("May not write (/dev/hidraw7: Permission denied). Do:\n"
              "    sudo cp '/opt/it'\\''s here/zemrak/70-zemrak-mouse.rules' /etc/udev/rules.d/\n"
              "    sudo udevadm control --reload\n"
              "    sudo udevadm trigger",
              advice);
}

} // namespace
} // namespace zemrak
