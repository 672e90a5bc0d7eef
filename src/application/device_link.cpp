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
    : m_params(services.params), m_nodes(services.nodes), m_hooks(std::move(hooks)),
      m_writer(std::make_unique<Writer>()), m_pause(services.pause) {
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
    m_standIn.reset();
    m_library.reset();
    m_retired.clear();
}

DeviceState DeviceLink::open(const LibraryChoice& choice) {
    if (!choice.forced.empty()) {
        const bool virtual_mouse = choice.forced.filename() == kVirtualMouseFileName;
        return use_library(HidLibrary::load(choice.forced), virtual_mouse);
    }
    return use_library(HidLibrary::load(choice.folder / kHidLibraryFileName), false);
}

DeviceState DeviceLink::simulate(const std::filesystem::path& folder) {
    return on_worker([this, file = folder / kVirtualMouseFileName] { return stand_in(file); });
}

DeviceState DeviceLink::use_library(std::unique_ptr<HidLibrary> library, bool simulated) {
    // std::function needs a copyable task: the library travels in a shared owner.
    auto owner = std::make_shared<std::unique_ptr<HidLibrary>>(std::move(library));
    return on_worker([this, owner, simulated] { return install(std::move(*owner), simulated); });
}

DeviceState DeviceLink::on_worker(std::function<DeviceState()> task) {
    std::promise<DeviceState> done;
    std::future<DeviceState> result = done.get_future();
    m_worker->run_on_worker([&task, &done] { done.set_value(task()); });
    return result.get();
}

DeviceState DeviceLink::install(std::unique_ptr<HidLibrary> library, bool simulated) {
    end_stand_in();
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
        m_librarySimulated = simulated;
        m_denied.reset();
        generation = ++m_generation;
    }
    m_writer->target = m_library.get();
    m_presence = std::make_unique<DevicePresence>(*m_library, m_pause, DevicePresence::Hooks{});

    m_library->set_identity(m_params.vendor_id, m_params.product_id);
    // Started before the channels are opened, so that a mouse plugged in meanwhile is seen.
    m_library->open_monitor(
        [this, generation](PresenceNotice notice) { post_notice(generation, notice); });
    if (m_presence->start() != DeviceState::Connected) {
        check_access();
    }
    publish();
    return m_state;
}

DeviceState DeviceLink::stand_in(const std::filesystem::path& file) {
    if (m_presence && m_presence->state() == DeviceState::Connected) {
        return m_state; // the mouse itself is there
    }
    if (!m_standIn) {
        auto library = HidLibrary::load(file);
        library->set_identity(m_params.vendor_id, m_params.product_id);
        const bool open = library->open_command() && library->open_data();
        if (!open) {
            library->close_command();
            library->close_data();
            const std::lock_guard lock(m_mutex);
            m_retired.push_back(std::move(library));
            return m_state;
        }
        m_standIn = std::move(library);
        m_writer->target = m_standIn.get();
    }
    publish();
    return m_state;
}

void DeviceLink::end_stand_in() {
    if (!m_standIn) {
        return;
    }
    m_standIn->close_command();
    m_standIn->close_data();
    m_writer->target = m_library.get();
    const std::lock_guard lock(m_mutex);
    m_retired.push_back(std::move(m_standIn));
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
    const DeviceState state_before = m_state;
    const bool simulated_before = m_simulated;
    const bool denied_before = access_denied().has_value();

    m_presence->on_presence(notice);
    if (m_presence->state() == DeviceState::Connected) {
        // A real mouse takes over from the simulation.
        end_stand_in();
        const std::lock_guard lock(m_mutex);
        m_denied.reset();
    } else if (notice == PresenceNotice::arrived) {
        check_access();
    }
    publish();

    // Repeated notices (one per interface of the mouse) change nothing and say nothing.
    const bool changed = m_state != state_before || m_simulated != simulated_before ||
                         access_denied().has_value() != denied_before;
    if (changed && m_hooks.presence) {
        m_hooks.presence(m_state);
    }
}

void DeviceLink::check_access() {
    if (m_librarySimulated) {
        return; // a simulated mouse has no nodes
    }
    std::optional<HidNodeAccess> denied =
        denied_node(m_nodes.nodes(m_params.vendor_id, m_params.product_id));
    const std::lock_guard lock(m_mutex);
    m_denied = std::move(denied);
}

void DeviceLink::publish() {
    const DeviceState own = m_presence ? m_presence->state() : DeviceState::NotConnected;
    m_state = m_standIn ? DeviceState::Connected : own;
    m_simulated = m_standIn != nullptr || m_librarySimulated;
}

bool DeviceLink::request_apply() {
    return m_worker->request_apply();
}

std::string DeviceLink::library_error() const {
    const std::lock_guard lock(m_mutex);
    return m_library ? m_library->error() : std::string();
}

std::optional<HidNodeAccess> DeviceLink::access_denied() const {
    const std::lock_guard lock(m_mutex);
    return m_denied;
}

} // namespace zemrak
