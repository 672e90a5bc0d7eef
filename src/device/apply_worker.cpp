#include "device/apply_worker.h"

#include <utility>

namespace zemrak {

ApplyWorker::ApplyWorker(ApplyServices services,
                         std::function<std::optional<ApplySnapshot>()> snapshot,
                         ConfigBlock& last_applied, Hooks hooks)
    : m_services(services), m_snapshot(std::move(snapshot)), m_lastApplied(last_applied),
      m_hooks(std::move(hooks)), m_thread([this] { run(); }) {}

ApplyWorker::~ApplyWorker() {
    Request quit;
    quit.quit = true;
    queue(std::move(quit));
    m_thread.join();
}

bool ApplyWorker::request_apply() {
    std::optional<ApplySnapshot> snapshot = m_snapshot();
    if (!snapshot) {
        return false;
    }
    Request request;
    request.snapshot = std::make_unique<ApplySnapshot>(std::move(*snapshot));
    queue(std::move(request));
    return true;
}

void ApplyWorker::run_on_worker(std::function<void()> task) {
    Request request;
    request.task = std::move(task);
    queue(std::move(request));
}

void ApplyWorker::queue(Request request) {
    {
        const std::lock_guard lock(m_mutex);
        m_queue.push_back(std::move(request));
    }
    m_wake.notify_one();
}

void ApplyWorker::run() {
    for (;;) {
        Request request;
        {
            std::unique_lock lock(m_mutex);
            m_wake.wait(lock, [this] { return !m_queue.empty(); });
            request = std::move(m_queue.front());
            m_queue.pop_front();
        }
        if (request.quit) {
            return;
        }
        if (request.snapshot) {
            apply(*request.snapshot);
        } else if (request.task) {
            request.task();
        }
    }
}

void ApplyWorker::apply(const ApplySnapshot& snapshot) {
    if (m_hooks.busy) {
        m_hooks.busy(true);
    }
    const ApplyOutcome outcome = run_apply(snapshot, m_lastApplied, m_services);
    if (m_hooks.busy) {
        m_hooks.busy(false);
    }
    if (m_hooks.finished) {
        m_hooks.finished(outcome);
    }
}

} // namespace zemrak
