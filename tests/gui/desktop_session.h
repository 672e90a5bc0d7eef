#pragma once
// A throwaway desktop for tests that run the real program on a real X display: an Xvfb
// server, child processes started with environments of their own, and a client connection
// that sees the top-level windows come and go.

#include <chrono>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <optional>
#include <string>
#include <sys/types.h>
#include <vector>
#include <xcb/xcb.h>

namespace zemrak::test {

// The program of that name found on PATH; empty when there is none.
[[nodiscard]] std::filesystem::path find_on_path(const std::string& name);

// This process's environment without the variables named in `drop`, followed by `add`
// (each "NAME=VALUE").
[[nodiscard]] std::vector<std::string> environment_with(const std::vector<std::string>& drop,
                                                        const std::vector<std::string>& add);

// A child process. One that still runs when the object goes is ended (SIGTERM, then SIGKILL
// after five seconds) and reaped.
class ChildProcess {
public:
    // Starts the program argv[0] (a path) with exactly `environment`. Standard output and
    // error go to `output` when it is given, else they stay this process's own.
    ChildProcess(const std::vector<std::string>& argv, const std::vector<std::string>& environment,
                 const std::filesystem::path& output = {});
    ~ChildProcess();
    ChildProcess(const ChildProcess&) = delete;
    ChildProcess& operator=(const ChildProcess&) = delete;

    [[nodiscard]] bool started() const { return m_pid > 0; }
    [[nodiscard]] pid_t pid() const { return m_pid; }
    // The wait status (as waitpid reports it) once the process has ended, waiting at most
    // `timeout`; empty while it still runs.
    [[nodiscard]] std::optional<int> wait_for_exit(std::chrono::milliseconds timeout);

private:
    pid_t m_pid = -1;
    std::optional<int> m_status;
};

// An Xvfb server on a display number no other server uses.
class VirtualDisplay {
public:
    // `xvfb` is the server program; its messages go to `log`.
    VirtualDisplay(const std::filesystem::path& xvfb, const std::filesystem::path& log);

    // ":N" once the server accepts clients; empty when it did not start within ten seconds.
    [[nodiscard]] const std::string& name() const { return m_name; }

private:
    std::unique_ptr<ChildProcess> m_server;
    std::string m_name;
};

// A client of a display that watches its top-level windows. Events are read in the order
// the server sent them, so a window shown and hidden again between two looks is still seen.
class WindowWatch {
public:
    explicit WindowWatch(const std::string& display);
    ~WindowWatch();
    WindowWatch(const WindowWatch&) = delete;
    WindowWatch& operator=(const WindowWatch&) = delete;

    [[nodiscard]] bool connected() const;
    // Waits until some client owns the screen's system tray selection.
    [[nodiscard]] bool wait_for_tray(std::chrono::milliseconds timeout);
    // The next top-level window shown that a window manager would manage (menus, tool tips
    // and tray icons are not); XCB_NONE when none is within `timeout`. On a display of the
    // test's own that is a window of the program under test.
    [[nodiscard]] xcb_window_t wait_for_map(std::chrono::milliseconds timeout);
    // Whether `window` is hidden (or destroyed) within `timeout`.
    [[nodiscard]] bool wait_for_unmap(xcb_window_t window, std::chrono::milliseconds timeout);
    // Asks `window` to close as a window manager's close button does (WM_DELETE_WINDOW).
    void ask_to_close(xcb_window_t window);

private:
    using Deadline = std::chrono::steady_clock::time_point;
    using EventPtr = std::unique_ptr<xcb_generic_event_t, decltype(&std::free)>;

    [[nodiscard]] EventPtr next_event(Deadline deadline);
    [[nodiscard]] xcb_atom_t atom(const char* name);

    xcb_connection_t* m_connection = nullptr;
    xcb_window_t m_root = XCB_NONE;
    int m_screen = 0;
};

} // namespace zemrak::test
