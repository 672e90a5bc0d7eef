#include "program_folder.h"

#include "model/config_defaults.h"
#include "test_support/temp_dir.h"
#include "ui/file_dialogs.h"
#include "ui/modal.h"

#include <dlfcn.h>

namespace zemrak::test {

void set_virtual_mouse_plugged(int plugged) {
    void* handle = ::dlopen(ZEMRAK_VIRTUAL_MOUSE_PATH, RTLD_NOW | RTLD_LOCAL);
    auto* set = reinterpret_cast<void (*)(int)>(::dlsym(handle, "ZemrakVirtualMouse_SetPlugged"));
    set(plugged);
}

ConfigBlock profile_named(const std::u16string& name, std::int32_t sensor) {
    ConfigBlock block;
    fill_defaults(block, sensor);
    block.set_name(name);
    return block;
}

std::vector<std::uint8_t> profiles_file(const std::vector<ConfigBlock>& profiles) {
    std::vector<std::uint8_t> bytes;
    for (const ConfigBlock& block : profiles) {
        bytes.insert(bytes.end(), block.bytes().begin(), block.bytes().end());
    }
    return bytes;
}

void lay_out_program_folder(const std::filesystem::path& folder,
                            const std::vector<ConfigBlock>& profiles, std::uint8_t index,
                            const std::optional<std::string>& settings) {
    const std::filesystem::path shipped = ZEMRAK_PROGRAM_DIR;
    for (const char* entry : {"Language", "res", "Data.ini", "Default.pbin"}) {
        std::filesystem::copy(shipped / entry, folder / entry,
                              std::filesystem::copy_options::recursive);
    }
    if (settings) {
        write_text(folder / "Data.ini", *settings);
    }
    if (!profiles.empty()) {
        write_bytes(folder / "Data" / "profile.bin", profiles_file(profiles));
        write_bytes(folder / "Data" / "Data.bin", {index, 0, 0, 0, 0, 0, 0, 0});
    }
}

std::unique_ptr<app::CMainWnd>
start_main_window(const std::filesystem::path& folder,
                  std::function<std::unique_ptr<PointerSettingsBackend>()> pointer_settings) {
    set_virtual_mouse_plugged(1);
    ui::ModalAnswers::clear();
    ui::FileDialogAnswers::clear();
    auto window = std::make_unique<app::CMainWnd>(app::MainWndOptions{
        folders_in(folder), ZEMRAK_VIRTUAL_MOUSE_PATH, nullptr, std::move(pointer_settings)});
    window->initialise();
    window->show();
    return window;
}

} // namespace zemrak::test
