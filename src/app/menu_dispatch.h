#pragma once

#include <QString>

namespace zemrak::app {

// What a chosen pop-up menu item does, in the order the item names are searched.
enum class MenuCommand {
    Configuration = 1,
    Exit,
    ImportProfile,
    ExportProfile,
    RenameMacroDir,
    ImportMacroDir,
    ExportMacroDir,
    ExportLockedMacroDir,
    RenameMacro,
    ImportMacro,
    ExportMacro,
    ExportLockedMacro,
    RenameGunDir,
    ImportGunDir,
    ExportGunDir,
    ExportLockedGunDir,
    RenameGun,
    ImportGun,
    ExportGun,
    ExportLockedGun,
    Autostart, // the main menu: start with the desktop, or no longer
    About,
    ButtonFunction, // any other name: a function for the button page
};

// The command of a menu item name, compared without regard to letter case.
[[nodiscard]] MenuCommand menu_command(const QString& item_name);

} // namespace zemrak::app
