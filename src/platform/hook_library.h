#pragma once
// The input library, libzemrak-hook.so, loaded at run time: it sees the keys and buttons of
// every keyboard and mouse this user may read, whichever window has the focus.

#include "platform/input_source.h"

#include <filesystem>
#include <memory>
#include <mutex>
#include <string>

namespace zemrak {

inline constexpr const char* kHookLibraryFileName = "libzemrak-hook.so";
// Names another input library to load instead of the program folder's.
inline constexpr const char* kHookLibraryVariable = "ZEMRAK_HOOK_LIBRARY";

// $ZEMRAK_HOOK_LIBRARY when set and not empty, else `<libraries>/libzemrak-hook.so`.
[[nodiscard]] std::filesystem::path hook_library_path(const std::filesystem::path& libraries,
                                                      const char* variable_value);

class HookLibrary final : public SystemInputSource {
public:
    // Null when the file cannot be loaded or lacks one of the eight entry points; `error`
    // says why.
    [[nodiscard]] static std::unique_ptr<HookLibrary> load(const std::filesystem::path& file,
                                                           std::string& error);
    // Removes both hooks; the library itself stays loaded, as its thread may still unwind.
    ~HookLibrary() override;
    HookLibrary(const HookLibrary&) = delete;
    HookLibrary& operator=(const HookLibrary&) = delete;

    // True when at least one keyboard or mouse can be read by this user now.
    [[nodiscard]] bool devices_readable() const override;

    void install(InputDevice device, Sink sink) override;
    void remove(InputDevice device) override;
    void enable(InputDevice device, bool on) override;

    struct EntryPoints;

private:
    HookLibrary();
    static void on_event(void* context, unsigned message, unsigned long wparam, long lparam);
    [[nodiscard]] Sink& sink_of(InputDevice device);

    std::unique_ptr<EntryPoints> m_entries;
    std::mutex m_mutex; // guards the sinks against the library's thread
    Sink m_keyboard;
    Sink m_mouse;
    bool m_keyboardInstalled = false;
    bool m_mouseInstalled = false;
};

} // namespace zemrak
