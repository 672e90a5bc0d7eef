#include "model/save_order.h"

namespace zemrak {

std::uint64_t SaveOrder::take() {
    const std::lock_guard lock(m_mutex);
    return ++m_taken;
}

std::optional<std::error_code>
SaveOrder::write_in_order(std::uint64_t state, const std::function<std::error_code()>& write) {
    const std::lock_guard lock(m_mutex);
    if (state < m_written) {
        return std::nullopt;
    }
    const std::error_code error = write();
    // Only what reached the disk counts: after a failed write, an older state that is still
    // newer than the file may yet be written.
    if (!error) {
        m_written = state;
    }
    return error;
}

} // namespace zemrak
