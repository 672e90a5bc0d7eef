#pragma once

#include <cstdint>
#include <functional>
#include <mutex>
#include <optional>
#include <system_error>

namespace zemrak {

// Keeps the writes of one file in the order in which the states they write were taken,
// whichever thread writes them: a state taken earlier is never written over one taken later.
// The apply worker writes profile.bin from a copy taken when apply was pressed, while the
// window may save a newer list in the meantime; that newer list must stay on disk.
class SaveOrder {
public:
    // A number for a state taken now; every later call gives a larger one. Any thread.
    [[nodiscard]] std::uint64_t take();
    // Runs `write` for the state numbered `state`, unless a state taken after it has been
    // written successfully already: then nothing is written and nothing is returned. Any
    // thread; writes never overlap.
    [[nodiscard]] std::optional<std::error_code>
    write_in_order(std::uint64_t state, const std::function<std::error_code()>& write);

private:
    std::mutex m_mutex;
    std::uint64_t m_taken = 0;
    std::uint64_t m_written = 0;
};

} // namespace zemrak
