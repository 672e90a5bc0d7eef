#pragma once
// Data files that exist but cannot be read, made in each way a test can make one.

#include <filesystem>
#include <string>
#include <system_error>
#include <vector>

namespace zemrak::test {

enum class Unreadable {
    folder,        // a folder, with a file in it, stands where the file should be
    link_loop,     // a symbolic link to itself: there, but never opened
    no_permission, // a file of mode 000 holding a few bytes
};

// Every way this process can make: root reads a file of mode 000, so no_permission only
// when the tests do not run as root.
[[nodiscard]] std::vector<Unreadable> unreadable_ways();

// For test traces: "a folder", "a link loop", "mode 000".
[[nodiscard]] std::string describe(Unreadable way);

// Puts an unreadable `file` in place, made `way`, replacing whatever was there; its folder is
// created when missing.
void make_unreadable(const std::filesystem::path& file, Unreadable way);

// The error a read of such a file fails with.
[[nodiscard]] std::error_code unreadable_reason(Unreadable way);

// True when `file` is still exactly what make_unreadable() made.
[[nodiscard]] bool left_as_made(const std::filesystem::path& file, Unreadable way);

} // namespace zemrak::test
