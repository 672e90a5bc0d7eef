#pragma once

#include "device/apply.h"

#include <condition_variable>
#include <deque>
#include <functional>
#include <memory>
#include <mutex>
#include <optional>
#include <thread>

namespace zemrak {

// The thread that applies profiles and does everything else that talks to the mouse. Requests
// queue up and run one after the other, so the user interface stays responsive during the
// report pauses and the settle wait of an arriving mouse, and the HID library is never used by
// two requests at once.
class ApplyWorker {
public:
    struct Hooks {
        // Called on the worker thread when an apply starts (true) and ends (false): the busy
        // indicator. The receiver marshals to its user-interface thread.
        std::function<void(bool busy)> busy;
        // Called on the worker thread after each apply with what went wrong, if anything.
        std::function<void(const ApplyOutcome&)> finished;
    };

    // `snapshot` is called by request_apply() on the requesting thread: it copies the profiles
    // so that the worker never reads records the user is editing. `last_applied` belongs to
    // the worker from now on. The services must outlive the worker.
    ApplyWorker(ApplyServices services, std::function<std::optional<ApplySnapshot>()> snapshot,
                ConfigBlock& last_applied, Hooks hooks);
    // Finishes the requests already queued, then stops the thread.
    ~ApplyWorker();
    ApplyWorker(const ApplyWorker&) = delete;
    ApplyWorker& operator=(const ApplyWorker&) = delete;

    // Queues an apply of the profiles as they are now. Call it on the thread that edits them.
    // False, and nothing is queued, when no profile is current.
    bool request_apply();
    // Queues `task` to run on the worker thread, after the requests before it.
    void run_on_worker(std::function<void()> task);

private:
    struct Request {
        std::unique_ptr<ApplySnapshot> snapshot; // an apply
        std::function<void()> task;              // or something else that uses the mouse
        bool quit = false;
    };

    void queue(Request request);
    void run();
    void apply(const ApplySnapshot& snapshot);

    ApplyServices m_services;
    std::function<std::optional<ApplySnapshot>()> m_snapshot;
    ConfigBlock& m_lastApplied;
    Hooks m_hooks;
    std::mutex m_mutex;
    std::condition_variable m_wake;
    std::deque<Request> m_queue;
    std::thread m_thread; // last: it starts once everything else is set up
};

} // namespace zemrak
