// Time of one probe reading (two sums of 1000 arcs) at typical points of the bench, and of
// the arcs' sines that the first reading with a new π computes.
#include <benchmark/benchmark.h>

#include "ArcSines.h"
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
BENCHMARK_CAPTURE(ProbeReadingAt, coil_centre, 0.0_ext, 0.0_ext, 0.0_ext)
    ->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(ProbeReadingAt, inside_coil, 0.7_ext, 6.5_ext, 5.0_ext)
    ->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(ProbeReadingAt, near_wire, -2.5_ext, 13.0_ext, 1.5_ext)
    ->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(ProbeReadingAt, outside_coil, 2.0_ext, -20.0_ext, -7.5_ext)
    ->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(ProbeReadingAt, dead_zone, 1.0_ext, 13.0_ext, 0.5_ext)
    ->Unit(benchmark::kMicrosecond);

/// The 1000 arcs' sines for a π met for the first time, as Reset's reading at start-up makes
/// them: two π take turns, so every call computes them.
void ArcSinesForANewPi(benchmark::State& bench) {
    const Extended pis[] = {kTenDecimalPi, 3.14159265358979_ext};
    int turn = 0;
    for (auto _ : bench) {
        benchmark::DoNotOptimize(arcs::ArcSinesOf(pis[turn]).data());
        turn = 1 - turn;
    }
}
BENCHMARK(ArcSinesForANewPi)->Unit(benchmark::kMicrosecond);

}  // namespace
}  // namespace velmora
