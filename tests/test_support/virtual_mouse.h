#pragma once
// The virtual mouse's test controls, reached in the same loaded copy that the program's
// binding uses (dlopen gives every loader of one file the same copy).

#include <dlfcn.h>

namespace zemrak::test {

struct VirtualMouseControls {
    void (*set_plugged)(int) = nullptr;
    void (*fail_writes)(int) = nullptr;
    int (*accepted_writes)() = nullptr;

    VirtualMouseControls() {
        void* handle = ::dlopen(ZEMRAK_VIRTUAL_MOUSE_PATH, RTLD_NOW | RTLD_LOCAL);
        set_plugged =
            reinterpret_cast<void (*)(int)>(::dlsym(handle, "ZemrakVirtualMouse_SetPlugged"));
        fail_writes =
            reinterpret_cast<void (*)(int)>(::dlsym(handle, "ZemrakVirtualMouse_FailWrites"));
        accepted_writes =
            reinterpret_cast<int (*)()>(::dlsym(handle, "ZemrakVirtualMouse_AcceptedWrites"));
    }
};

} // namespace zemrak::test
