#pragma once
// Looking up the entry points of a library loaded at run time.

#include <dlfcn.h>
#include <string>

namespace zemrak {

// Looks up one entry point; false (with the name appended to `missing`) when it is not there.
template <typename Fn>
bool resolve_symbol(void* handle, const char* name, Fn& slot, std::string& missing) {
    void* symbol = ::dlsym(handle, name);
    if (symbol == nullptr) {
        missing += missing.empty() ? name : std::string(", ") + name;
        return false;
    }
    // POSIX guarantees that a data pointer from dlsym converts to a function pointer.
    slot = reinterpret_cast<Fn>(symbol);
    return true;
}

} // namespace zemrak
