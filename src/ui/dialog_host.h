#pragma once

class QWidget;

namespace zemrak::ui {

// The window that modal dialogs are shown over.
class DialogHost {
public:
    virtual ~DialogHost() = default;
    // The window that owns the dialogs.
    [[nodiscard]] virtual QWidget* host_window() = 0;
    // The busy cover ("disable_window_ver") shown around every modal dialog.
    virtual void show_busy_cover() = 0;
    virtual void hide_busy_cover() = 0;
};

} // namespace zemrak::ui
