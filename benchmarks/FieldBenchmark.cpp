// Time of one probe reading (two sums of 1000 arcs) at typical points of the bench.
#include <benchmark/benchmark.h>

#include "FieldModel.h"

namespace velmora {
namespace {

/// One probe reading per iteration at the probe position (x, y) [cm] turned by angle [rad].
void ProbeReadingAt(benchmark::State& bench, Extended angle, Extended x, Extended y) {
    const LabState state = WorkingLabState();
    for (auto _ : bench) {
        benchmark::DoNotOptimize(ProbeReading(state, angle, x, y));
    }
}
// On the coil axis only the By sum is made; in a dead zone no sum at all.
BENCHMARK_CAPTURE(ProbeReadingAt, coil_centre, 0.0L, 0.0L, 0.0L)->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(ProbeReadingAt, inside_coil, 0.7L, 6.5L, 5.0L)->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(ProbeReadingAt, near_wire, -2.5L, 13.0L, 1.5L)->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(ProbeReadingAt, outside_coil, 2.0L, -20.0L, -7.5L)->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(ProbeReadingAt, dead_zone, 1.0L, 13.0L, 0.5L)->Unit(benchmark::kMicrosecond);

}  // namespace
}  // namespace velmora
