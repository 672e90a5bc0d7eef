#pragma once
// Owners of libudev handles, for the run-time loaded libraries that watch devices with it.
// Each library keeps its own lock around libudev; these only let go of what they hold.

#include <libudev.h>
#include <memory>

namespace zemrak {

struct UdevUnref {
    void operator()(udev* handle) const { udev_unref(handle); }
    void operator()(udev_monitor* handle) const { udev_monitor_unref(handle); }
    void operator()(udev_device* handle) const { udev_device_unref(handle); }
};
using UdevPtr = std::unique_ptr<udev, UdevUnref>;
using UdevMonitorPtr = std::unique_ptr<udev_monitor, UdevUnref>;
using UdevDevicePtr = std::unique_ptr<udev_device, UdevUnref>;

} // namespace zemrak
