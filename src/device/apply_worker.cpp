#include "device/apply_worker.h"

#include <utility>

namespace zemrak {

ApplyWorker::ApplyWorker(ApplyServices services,
                         std::function<std::optional<ApplySnapshot>()> snapshot,
                         ConfigBlock& last_applied, Hooks hooks)
    : m_services(services), m_snapshot(std::move(snapshot)), m_lastApplied(last_applied),
      m_hooks(std::move(hooks)), m_thread([this] { run(); }) {}

ApplyWorker::~ApplyWorker() {
    {
        const std::lock_guard lock(m_mutex);
        Request quit;
        quit.quit = true;
        m_queue.push_back(std::move(quit));
    }
    m_wake.notify_one();
    m_thread.join();
}

void ApplyWorker::post(unsigned int message, unsigned long wparam, long /*lparam*/) {
    Request request;
    request.message = message;
    request.wparam = wparam;
    if (message == kApplyMessage && wparam == 0) {
        if (auto snapshot = m_snapshot()) {
            request.snapshot = std::make_unique<ApplySnapshot>(std::move(*snapshot));
        }
    }
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
        handle(request);
    }
}

void ApplyWorker::handle(const Request& request) {
    if (request.message != kApplyMessage || request.wparam != 0 || !request.snapshot) {
        return;
    }
    if (m_hooks.busy) {
        m_hooks.busy(true);
    }
    const ApplyOutcome outcome = run_apply(*request.snapshot, m_lastApplied, m_services);
    if (m_hooks.busy) {
        m_hooks.busy(false);
    }
    if (m_hooks.finished) {
        m_hooks.finished(outcome);
    }
}

} // namespace zemrak
