// The cost of one monitor tick without its one-second wait and without the HID
// transfer: read the shared block, convert, build the report, store the overlay.
#include <benchmark/benchmark.h>

#include <cstring>

#include "pipeline/display_report.h"

namespace {

// The readings store: two whole-float stores, as the library makes them.
volatile float storedTemperature;
volatile float storedSecond;

void BM_TickWithoutWaitOrTransfer(benchmark::State& state) {
    SensorBlock block;
    std::memset(&block, 0, sizeof(block));
    block.power = 65.2f;
    block.temperature = 45.9f;
    block.usage = 37.5f;
    DisplayChoice choice{1, static_cast<std::int32_t>(state.range(0))};
    for (auto _ : state) {
        benchmark::DoNotOptimize(&block);
        const std::optional<DisplayFrame> frame = ComposeDisplayFrame(ReadSensorBlock(block), choice);
        storedTemperature = static_cast<float>(frame->temperature);
        storedSecond = static_cast<float>(frame->secondNumber);
        benchmark::DoNotOptimize(frame->report.data());
        block.temperature += 0.01f;
    }
}
BENCHMARK(BM_TickWithoutWaitOrTransfer)->Arg(0)->Arg(1);

}  // namespace

BENCHMARK_MAIN();
