#pragma once
// A named pipe standing where the program expects a regular file.

#include <filesystem>
#include <functional>

namespace zemrak::test {

// A named pipe at `file` (its folder created when missing) that nobody writes to.
void make_pipe(const std::filesystem::path& file);

// Runs `read` and tells whether it returned within a few seconds. A read still waiting on
// the pipe `pipe` after that is given a writer that leaves at once, so that it ends and the
// test fails instead of hanging.
[[nodiscard]] bool returns_without_waiting(const std::filesystem::path& pipe,
                                           const std::function<void()>& read);

} // namespace zemrak::test
