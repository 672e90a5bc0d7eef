// Encoding a profile, and the span of one apply's writes through the virtual mouse from the
// first write to the end of the last pause, beside the pauses the protocol itself asks for
// (five writes without macros: 100 ms; two macro pages add four: 180 ms).

#include "device/hid_library.h"
#include "device/report_plan.h"
#include "model/config_defaults.h"
#include "model/sensors.h"

#include <chrono>
#include <cstdlib>

#include <benchmark/benchmark.h>

namespace {

using Clock = std::chrono::steady_clock;

zemrak::ConfigBlock profile(int macro_buttons) {
    zemrak::ConfigBlock block;
    zemrak::fill_defaults(block, zemrak::kSensor3327);
    for (int m = 0; m < macro_buttons; ++m) {
        zemrak::ButtonRecord& record = block.button(static_cast<std::size_t>(3 + m));
        record.set_function_code(22);
        record.set_loop_count(2);
        record.set_action_count(zemrak::ButtonRecord::kMaxActions);
        for (std::size_t slot = 0; slot < zemrak::ButtonRecord::kMaxActions; ++slot) {
            zemrak::MacroAction action;
            action.set_kind(slot % 2 == 0 ? zemrak::MacroAction::Press
                                          : zemrak::MacroAction::Release);
            action.set_code(static_cast<std::uint8_t>(4 + slot / 2));
            action.set_delay(static_cast<std::uint16_t>(slot * 37));
            record.set_action(slot, action);
        }
    }
    return block;
}

// Notes when the first report goes out.
class TimedWriter final : public zemrak::HidWriter {
public:
    explicit TimedWriter(zemrak::HidWriter& inner) : m_inner(inner) {}
    Clock::time_point first{};
    bool started = false;

    bool write_command(std::span<const std::uint8_t, zemrak::kCommandReportSize> r) override {
        mark();
        return m_inner.write_command(r);
    }
    bool write_data(std::span<const std::uint8_t, zemrak::kDataReportSize> r) override {
        mark();
        return m_inner.write_data(r);
    }

private:
    void mark() {
        if (!started) {
            started = true;
            first = Clock::now();
        }
    }
    zemrak::HidWriter& m_inner;
};

void BM_EncodeProfile(benchmark::State& state) {
    const zemrak::ConfigBlock block = profile(2);
    const zemrak::DeviceParams params;
    for (auto _ : state) {
        benchmark::DoNotOptimize(zemrak::plan_reports(block, params));
    }
}
BENCHMARK(BM_EncodeProfile);

void BM_ApplyThroughVirtualMouse(benchmark::State& state) {
    const auto library = zemrak::HidLibrary::load(ZEMRAK_VIRTUAL_MOUSE_PATH);
    if (!library->usable() || !library->open_command() || !library->open_data()) {
        state.SkipWithError("virtual mouse not usable");
        return;
    }
    const int macros = static_cast<int>(state.range(0));
    const auto steps = zemrak::plan_reports(profile(macros), zemrak::DeviceParams{});
    zemrak::SleepingPause pause;
    for (auto _ : state) {
        TimedWriter writer(*library);
        const zemrak::SendResult result = zemrak::send_reports(steps, writer, pause);
        const auto span = std::chrono::duration<double>(Clock::now() - writer.first);
        state.SetIterationTime(span.count());
        if (!result.ok()) {
            state.SkipWithError("a write failed");
        }
    }
    state.counters["protocol_ms"] = macros == 0 ? 100 : 180;
}
BENCHMARK(BM_ApplyThroughVirtualMouse)
    ->Arg(0)
    ->Arg(2)
    ->UseManualTime()
    ->Iterations(20)
    ->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
