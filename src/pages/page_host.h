#pragma once

#include "ui/dialog_host.h"

namespace zemrak {
struct DeviceParams;
} // namespace zemrak

namespace zemrak::ui {
class InputCapture;
class PopupMenu;
} // namespace zemrak::ui

class QString;

namespace zemrak::pages {

class ProfileModel;

// What a page needs from the main window that hosts it: the owner of its dialogs and the
// device it configures.
class PageHost : public ui::DialogHost {
public:
    // The mouse model, as read from Data.ini at start-up.
    [[nodiscard]] virtual const DeviceParams& device_params() const = 0;
    // The data the page shows and the news of its changes.
    [[nodiscard]] virtual ProfileModel& model() = 0;
    // Where keys and mouse buttons are captured from (the shortcut dialog, the recorder).
    [[nodiscard]] virtual ui::InputCapture& input_capture() = 0;
    // Builds the pop-up menu of `layout` (a file of the program's menu folder) in place of any
    // menu the window has open; the item chosen goes to the window's menu dispatch. The caller
    // opens it where it belongs; the window owns it until the next menu.
    [[nodiscard]] virtual ui::PopupMenu& make_menu(const QString& layout) = 0;
};

} // namespace zemrak::pages
