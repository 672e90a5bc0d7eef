#pragma once

#include "device/apply.h"

#include <condition_variable>
#include <deque>
#include <functional>
#include <memory>
#include <mutex>
#include <thread>

namespace zemrak {

// The thread that applies profiles. Requests queue up and run one after the other, so the
// user interface stays responsive during the report pauses.
class ApplyWorker {
public:
    // The request message; with first parameter 0 it applies, anything else is ignored.
    static constexpr unsigned int kApplyMessage = 1648;

    struct Hooks {
        // Called on the worker thread when an apply starts (true) and ends (false): the busy
        // indicator. The receiver marshals to its user-interface thread.
        std::function<void(bool busy)> busy;
        // Called on the worker thread after each apply with what went wrong, if anything.
        std::function<void(const ApplyOutcome&)> finished;
    };

    // `snapshot` is called by post() on the posting thread: it copies the profiles so that
    // the worker never reads records the user is editing. `last_applied` belongs to the
    // worker from now on. The services must outlive the worker.
    ApplyWorker(ApplyServices services, std::function<std::optional<ApplySnapshot>()> snapshot,
                ConfigBlock& last_applied, Hooks hooks);
    // Finishes the requests already queued, then stops the thread.
    ~ApplyWorker();
    ApplyWorker(const ApplyWorker&) = delete;
    ApplyWorker& operator=(const ApplyWorker&) = delete;

    // Queues a message. Call it on the thread that edits the profiles.
    void post(unsigned int message, unsigned long wparam, long lparam);

private:
    struct Request {
        unsigned int message = 0;
        unsigned long wparam = 0;
        std::unique_ptr<ApplySnapshot> snapshot;
        bool quit = false;
    };

    void run();
    void handle(const Request& request);

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
