#include "desktop_session.h"

#include <algorithm>
#include <cerrno>
#include <csignal>
#include <cstring>
#include <fcntl.h>
#include <poll.h>
#include <spawn.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

extern char** environ;

namespace zemrak::test {
namespace {

using Clock = std::chrono::steady_clock;
using std::chrono::milliseconds;

constexpr milliseconds kPollStep{20};
constexpr milliseconds kServerStart{10'000};
constexpr milliseconds kGracefulEnd{5'000};

template <typename Reply>
using ReplyPtr = std::unique_ptr<Reply, decltype(&std::free)>;

int remaining_ms(Clock::time_point deadline) {
    const auto left = std::chrono::duration_cast<milliseconds>(deadline - Clock::now()).count();
    return static_cast<int>(std::clamp<long long>(left, 0, 60'000));
}

std::vector<char*> c_strings(const std::vector<std::string>& strings) {
    std::vector<char*> pointers;
    for (const std::string& text : strings) {
        pointers.push_back(const_cast<char*>(text.c_str()));
    }
    pointers.push_back(nullptr);
    return pointers;
}

} // namespace

std::filesystem::path find_on_path(const std::string& name) {
    const char* path = std::getenv("PATH");
    std::string folders = path != nullptr ? path : "/usr/bin:/bin";
    std::size_t start = 0;
    while (start <= folders.size()) {
        const std::size_t end = std::min(folders.find(':', start), folders.size());
        const std::filesystem::path candidate =
            std::filesystem::path(folders.substr(start, end - start)) / name;
        if (end > start && ::access(candidate.c_str(), X_OK) == 0) {
            return candidate;
        }
        start = end + 1;
    }
    return {};
}

std::vector<std::string> environment_with(const std::vector<std::string>& drop,
                                          const std::vector<std::string>& add) {
    std::vector<std::string> result;
    for (char** entry = environ; *entry != nullptr; ++entry) {
        const std::string variable = *entry;
        const std::string name = variable.substr(0, variable.find('='));
        if (std::find(drop.begin(), drop.end(), name) == drop.end()) {
            result.push_back(variable);
        }
    }
    result.insert(result.end(), add.begin(), add.end());
    return result;
}

ChildProcess::ChildProcess(const std::vector<std::string>& argv,
                           const std::vector<std::string>& environment,
                           const std::filesystem::path& output) {
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    if (!output.empty()) {
        posix_spawn_file_actions_addopen(&actions, STDOUT_FILENO, output.c_str(),
                                         O_WRONLY | O_CREAT | O_APPEND, 0644);
        posix_spawn_file_actions_adddup2(&actions, STDOUT_FILENO, STDERR_FILENO);
    }
    std::vector<char*> arguments = c_strings(argv);
    std::vector<char*> variables = c_strings(environment);
    pid_t pid = -1;
    if (posix_spawn(&pid, arguments[0], &actions, nullptr, arguments.data(), variables.data()) ==
        0) {
        m_pid = pid;
    }
    posix_spawn_file_actions_destroy(&actions);
}

ChildProcess::~ChildProcess() {
    if (!started() || m_status) {
        return;
    }
    ::kill(m_pid, SIGTERM);
    if (!wait_for_exit(kGracefulEnd)) {
        ::kill(m_pid, SIGKILL);
        int status = 0;
        ::waitpid(m_pid, &status, 0);
    }
}

std::optional<int> ChildProcess::wait_for_exit(milliseconds timeout) {
    if (!started() || m_status) {
        return m_status;
    }
    const Clock::time_point deadline = Clock::now() + timeout;
    for (;;) {
        int status = 0;
        const pid_t ended = ::waitpid(m_pid, &status, WNOHANG);
        if (ended == m_pid) {
            m_status = status;
            return m_status;
        }
        if (ended < 0 && errno != EINTR) {
            return std::nullopt;
        }
        if (Clock::now() >= deadline) {
            return std::nullopt;
        }
        std::this_thread::sleep_for(kPollStep);
    }
}

VirtualDisplay::VirtualDisplay(const std::filesystem::path& xvfb,
                               const std::filesystem::path& log) {
    // The server picks a free display number and writes it to this pipe once it listens.
    int ends[2] = {-1, -1};
    if (::pipe(ends) != 0) {
        return;
    }
    ::fcntl(ends[0], F_SETFD, FD_CLOEXEC);
    m_server = std::make_unique<ChildProcess>(
        std::vector<std::string>{xvfb.string(), "-displayfd", std::to_string(ends[1]), "-screen",
                                 "0", "1024x768x24", "-nolisten", "tcp"},
        environment_with({}, {}), log);
    ::close(ends[1]);

    const Clock::time_point deadline = Clock::now() + kServerStart;
    std::string number;
    for (char c = 0; m_server->started();) {
        pollfd readable{ends[0], POLLIN, 0};
        if (::poll(&readable, 1, remaining_ms(deadline)) <= 0 || ::read(ends[0], &c, 1) != 1) {
            number.clear();
            break;
        }
        if (c == '\n') {
            break;
        }
        number.push_back(c);
    }
    ::close(ends[0]);
    if (!number.empty()) {
        m_name = ":" + number;
    }
}

WindowWatch::WindowWatch(const std::string& display) {
    m_connection = xcb_connect(display.c_str(), &m_screen);
    if (!connected()) {
        return;
    }
    xcb_screen_iterator_t screens = xcb_setup_roots_iterator(xcb_get_setup(m_connection));
    for (int i = 0; i < m_screen && screens.rem > 0; ++i) {
        xcb_screen_next(&screens);
    }
    m_root = screens.data->root;
    const std::uint32_t mask = XCB_EVENT_MASK_SUBSTRUCTURE_NOTIFY;
    xcb_change_window_attributes(m_connection, m_root, XCB_CW_EVENT_MASK, &mask);
    xcb_flush(m_connection);
}

WindowWatch::~WindowWatch() {
    xcb_disconnect(m_connection);
}

bool WindowWatch::connected() const {
    return xcb_connection_has_error(m_connection) == 0;
}

xcb_atom_t WindowWatch::atom(const char* name) {
    const ReplyPtr<xcb_intern_atom_reply_t> reply(
        xcb_intern_atom_reply(
            m_connection,
            xcb_intern_atom(m_connection, 0, static_cast<std::uint16_t>(std::strlen(name)), name),
            nullptr),
        &std::free);
    return reply ? reply->atom : xcb_atom_t{XCB_ATOM_NONE};
}

bool WindowWatch::wait_for_tray(milliseconds timeout) {
    const xcb_atom_t selection = atom(("_NET_SYSTEM_TRAY_S" + std::to_string(m_screen)).c_str());
    const Clock::time_point deadline = Clock::now() + timeout;
    do {
        const ReplyPtr<xcb_get_selection_owner_reply_t> reply(
            xcb_get_selection_owner_reply(
                m_connection, xcb_get_selection_owner(m_connection, selection), nullptr),
            &std::free);
        if (reply && reply->owner != XCB_NONE) {
            return true;
        }
        std::this_thread::sleep_for(kPollStep);
    } while (Clock::now() < deadline);
    return false;
}

WindowWatch::EventPtr WindowWatch::next_event(Deadline deadline) {
    for (;;) {
        if (xcb_generic_event_t* event = xcb_poll_for_event(m_connection)) {
            return {event, &std::free};
        }
        if (!connected()) {
            return {nullptr, &std::free};
        }
        pollfd readable{xcb_get_file_descriptor(m_connection), POLLIN, 0};
        if (::poll(&readable, 1, remaining_ms(deadline)) <= 0) {
            return {nullptr, &std::free};
        }
    }
}

xcb_window_t WindowWatch::wait_for_map(milliseconds timeout) {
    const Deadline deadline = Clock::now() + timeout;
    while (const EventPtr event = next_event(deadline)) {
        if ((event->response_type & 0x7f) != XCB_MAP_NOTIFY) {
            continue;
        }
        const auto* map = reinterpret_cast<const xcb_map_notify_event_t*>(event.get());
        if (map->override_redirect == 0) {
            return map->window;
        }
    }
    return XCB_NONE;
}

bool WindowWatch::wait_for_unmap(xcb_window_t window, milliseconds timeout) {
    const Deadline deadline = Clock::now() + timeout;
    while (const EventPtr event = next_event(deadline)) {
        const std::uint8_t type = event->response_type & 0x7f;
        if (type == XCB_UNMAP_NOTIFY &&
            reinterpret_cast<const xcb_unmap_notify_event_t*>(event.get())->window == window) {
            return true;
        }
        if (type == XCB_DESTROY_NOTIFY &&
            reinterpret_cast<const xcb_destroy_notify_event_t*>(event.get())->window == window) {
            return true;
        }
    }
    return false;
}

void WindowWatch::ask_to_close(xcb_window_t window) {
    xcb_client_message_event_t message{};
    message.response_type = XCB_CLIENT_MESSAGE;
    message.format = 32;
    message.window = window;
    message.type = atom("WM_PROTOCOLS");
    message.data.data32[0] = atom("WM_DELETE_WINDOW");
    message.data.data32[1] = XCB_CURRENT_TIME;
    xcb_send_event(m_connection, 0, window, XCB_EVENT_MASK_NO_EVENT,
                   reinterpret_cast<const char*>(&message));
    xcb_flush(m_connection);
}

} // namespace zemrak::test
