#pragma once

class QWidget;

namespace zemrak {
class ConfigBlock;
struct DeviceParams;
} // namespace zemrak

namespace zemrak::pages {

// What a page needs from the main window that hosts it.
class PageHost {
public:
    virtual ~PageHost() = default;
    // The window that owns the page's dialogs.
    [[nodiscard]] virtual QWidget* host_window() = 0;
    // The busy cover ("disable_window_ver") shown around the page's modal dialogs.
    virtual void show_busy_cover() = 0;
    virtual void hide_busy_cover() = 0;
    // The mouse model, as read from Data.ini at start-up.
    [[nodiscard]] virtual const DeviceParams& device_params() const = 0;
};

} // namespace zemrak::pages
