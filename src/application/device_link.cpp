#include "application/device_link.h"

#include <future>
#include <utility>

namespace zemrak {

// Forwards the worker's writes to the library in use; swapped only on the worker thread, so
// no write ever goes to a library that is being replaced.
class DeviceLink::Writer final : public HidWriter {
public:
    HidWriter* target = nullptr;
    bool write_command(std::span<const std::uint8_t, kCommandReportSize> report) override {
        return target != nullptr && target->write_command(report);
    }
    bool write_data(std::span<const std::uint8_t, kDataReportSize> report) override {
        return target != nullptr && target->write_data(report);
    }
};

DeviceLink::DeviceLink(ProfileStore& store, DeviceLinkServices services, Hooks hooks)
    : m_params(services.params), m_hooks(std::move(hooks)), m_writer(std::make_unique<Writer>()),
      m_pause(services.pause) {
    m_worker = std::make_unique<ApplyWorker>(
        ApplyServices{*m_writer, services.pause, services.pointer, services.params},
        [&store] { return take_apply_snapshot(store); }, store.profiles().last_applied(),
        ApplyWorker::Hooks{m_hooks.busy, m_hooks.applied});
}

DeviceLink::~DeviceLink() {
    {
        const std::lock_guard lock(m_noticeMutex);
        m_closing = true;
    }
    m_worker.reset();
    // Then the libraries, while everything their monitors may still call is here: their
    // destructors stop the monitors, and a last notice is dropped above.
    m_presence.reset();
    m_library.reset();
    m_retired.clear();
}

DeviceState DeviceLink::open(const LibraryChoice& choice) {
    if (!choice.forced.empty()) {
        return use_library(HidLibrary::load(choice.forced), false);
    }
    const DeviceState real =
        use_library(HidLibrary::load(choice.folder / kHidLibraryFileName), false);
    if (real == DeviceState::Connected || !choice.simulate_when_absent) {
        return real;
    }
    return use_library(HidLibrary::load(choice.folder / kVirtualMouseFileName), true);
}

DeviceState DeviceLink::use_library(std::unique_ptr<HidLibrary> library, bool simulated) {
    std::promise<DeviceState> done;
    std::future<DeviceState> result = done.get_future();
    // std::function needs a copyable task: the library travels in a shared owner.
    auto owner = std::make_shared<std::unique_ptr<HidLibrary>>(std::move(library));
    m_worker->run_on_worker(
        [this, owner, simulated, &done] { done.set_value(install(std::move(*owner), simulated)); });
    return result.get();
}

DeviceState DeviceLink::install(std::unique_ptr<HidLibrary> library, bool simulated) {
    std::uint64_t generation = 0;
    {
        const std::lock_guard lock(m_mutex);
        if (m_library) {
            // A library that is no longer used must not keep the mouse open.
            m_library->close_command();
            m_library->close_data();
            m_retired.push_back(std::move(m_library));
        }
        m_library = std::move(library);
        generation = ++m_generation;
    }
    m_writer->target = m_library.get();
    m_simulated = simulated;
    m_presence = std::make_unique<DevicePresence>(
        *m_library, m_pause,
        DevicePresence::Hooks{[this] { report_presence(); }, [this] { report_presence(); }});

    m_library->set_identity(m_params.vendor_id, m_params.product_id);
    // Started before the channels are opened, so that a mouse plugged in meanwhile is seen.
    m_library->open_monitor(
        [this, generation](PresenceNotice notice) { post_notice(generation, notice); });
    m_state = m_presence->start();
    return m_state;
}

void DeviceLink::post_notice(std::uint64_t generation, PresenceNotice notice) {
    const std::lock_guard lock(m_noticeMutex);
    if (m_closing) {
        return;
    }
    m_worker->run_on_worker([this, generation, notice] { on_presence(generation, notice); });
}

void DeviceLink::on_presence(std::uint64_t generation, PresenceNotice notice) {
    // A notice of a library that has been replaced since says nothing about the one in use.
    if (generation != m_generation) {
        return;
    }
    m_presence->on_presence(notice);
}

void DeviceLink::report_presence() {
    m_state = m_presence->state();
    if (m_hooks.presence) {
        m_hooks.presence(m_state);
    }
}

bool DeviceLink::request_apply() {
    return m_worker->request_apply();
}

std::string DeviceLink::library_error() const {
    const std::lock_guard lock(m_mutex);
    return m_library ? m_library->error() : std::string();
}

} // namespace zemrak
