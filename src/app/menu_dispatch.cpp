#include "app/menu_dispatch.h"

#include <array>
#include <utility>

namespace zemrak::app {
namespace {

constexpr std::array<std::pair<const char*, MenuCommand>, 22> kNames = {{
    {"configuration", MenuCommand::Configuration},
    {"exit", MenuCommand::Exit},
    {"import_profile", MenuCommand::ImportProfile},
    {"export_profile", MenuCommand::ExportProfile},
    {"rename_macro_dir", MenuCommand::RenameMacroDir},
    {"import_macro_dir", MenuCommand::ImportMacroDir},
    {"export_macro_dir", MenuCommand::ExportMacroDir},
    {"export_pw_macro_dir", MenuCommand::ExportLockedMacroDir},
    {"rename_macro", MenuCommand::RenameMacro},
    {"import_macro", MenuCommand::ImportMacro},
    {"export_macro", MenuCommand::ExportMacro},
    {"export_pw_macro", MenuCommand::ExportLockedMacro},
    {"rename_gun_dir", MenuCommand::RenameGunDir},
    {"import_gun_dir", MenuCommand::ImportGunDir},
    {"export_gun_dir", MenuCommand::ExportGunDir},
    {"export_pw_gun_dir", MenuCommand::ExportLockedGunDir},
    {"rename_gun", MenuCommand::RenameGun},
    {"import_gun", MenuCommand::ImportGun},
    {"export_gun", MenuCommand::ExportGun},
    {"export_pw_gun", MenuCommand::ExportLockedGun},
    {"autostart", MenuCommand::Autostart},
    {"about", MenuCommand::About},
}};

} // namespace

MenuCommand menu_command(const QString& item_name) {
    for (const auto& [name, command] : kNames) {
        if (item_name.compare(QLatin1String(name), Qt::CaseInsensitive) == 0) {
            return command;
        }
    }
    return MenuCommand::ButtonFunction;
}

} // namespace zemrak::app
