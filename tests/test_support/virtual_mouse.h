#pragma once
// The virtual mouse's test controls, reached in the same loaded copy that the program's
// binding uses (dlopen gives every loader of one file the same copy).

#include <dlfcn.h>

namespace zemrak::test {

struct VirtualMouseControls {
    void (*set_plugged)(int) = nullptr;
    void (*fail_writes)(int) = nullptr;
    int (*accepted_writes)() = nullptr;

    // A copy of the virtual mouse under another path is a mouse of its own.
    explicit VirtualMouseControls(const char* file = ZEMRAK_VIRTUAL_MOUSE_PATH) {
        void* handle = ::dlopen(file, RTLD_NOW | RTLD_LOCAL);
        set_plugged =
            reinterpret_cast<void (*)(int)>(::dlsym(handle, "ZemrakVirtualMouse_SetPlugged"));
        fail_writes =
            reinterpret_cast<void (*)(int)>(::dlsym(handle, "ZemrakVirtualMouse_FailWrites"));
        accepted_writes =
            reinterpret_cast<int (*)()>(::dlsym(handle, "ZemrakVirtualMouse_AcceptedWrites"));
    }
};

} // namespace zemrak::test
