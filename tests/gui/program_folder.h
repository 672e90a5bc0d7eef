#pragma once
// What the window tests share: a program folder of their own with the shipped files, stored
// profiles, and the main window started on it against the virtual mouse.

#include "app/main_wnd.h"
#include "model/config_block.h"
#include "model/sensors.h"

#include <cstdint>
#include <filesystem>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace zemrak::test {

// Plugs (1) or unplugs (0) the virtual mouse the windows use.
void set_virtual_mouse_plugged(int plugged);

// A profile with the defaults of `sensor` and the given name.
[[nodiscard]] ConfigBlock profile_named(const std::u16string& name,
                                        std::int32_t sensor = kSensor3327);

// The bytes of a profile.bin holding `profiles` in order.
[[nodiscard]] std::vector<std::uint8_t> profiles_file(const std::vector<ConfigBlock>& profiles);

// Copies the shipped Language/, res/, Data.ini and Default.pbin into `folder`; `settings`,
// when given, replaces Data.ini's text. With profiles, Data/profile.bin holds them and
// Data/Data.bin selects `index`.
void lay_out_program_folder(const std::filesystem::path& folder,
                            const std::vector<ConfigBlock>& profiles = {}, std::uint8_t index = 0,
                            const std::optional<std::string>& settings = std::nullopt);

// The main window on `folder`, initialised and shown, with no dialog answers pending and the
// virtual mouse plugged in; `pointer_settings`, when given, makes where its pointer settings go.
[[nodiscard]] std::unique_ptr<app::CMainWnd>
start_main_window(const std::filesystem::path& folder,
                  std::function<std::unique_ptr<PointerSettingsBackend>()> pointer_settings = {});

} // namespace zemrak::test
