#include "test_support/named_pipe.h"

#include <atomic>
#include <cerrno>
#include <chrono>
#include <fcntl.h>
#include <sys/stat.h>
#include <thread>
#include <unistd.h>

namespace zemrak::test {
namespace {

constexpr auto kPatience = std::chrono::seconds(3);
constexpr auto kPoll = std::chrono::milliseconds(10);

} // namespace

void make_pipe(const std::filesystem::path& file) {
    std::filesystem::create_directories(file.parent_path());
    std::filesystem::remove(file);
    if (::mkfifo(file.c_str(), 0600) != 0) {
        throw std::filesystem::filesystem_error("mkfifo", file,
                                                std::error_code(errno, std::generic_category()));
    }
}

bool returns_without_waiting(const std::filesystem::path& pipe, const std::function<void()>& read) {
    std::atomic<bool> done = false;
    std::thread reader([&] {
        read();
        done = true;
    });
    const auto deadline = std::chrono::steady_clock::now() + kPatience;
    while (!done && std::chrono::steady_clock::now() < deadline) {
        std::this_thread::sleep_for(kPoll);
    }
    const bool in_time = done;
    // A reader may wait on the pipe more than once (an open, then a read); each writer that
    // comes and goes releases it.
    while (!done) {
        const int fd = ::open(pipe.c_str(), O_WRONLY | O_NONBLOCK | O_CLOEXEC);
        if (fd >= 0) {
            ::close(fd);
        }
        std::this_thread::sleep_for(kPoll);
    }
    reader.join();
    return in_time;
}

} // namespace zemrak::test
