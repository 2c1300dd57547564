// Times ProbeReading inside the web module's build (node runs it): microseconds per reading
// at the points of benchmarks/FieldBenchmark.cpp, the median of 15 rounds. A figure for
// BENCHMARKS.md beside the native field_benchmark, not a test.
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <vector>

#include "FieldModel.h"

namespace {

using velmora::Extended;
using velmora::operator""_ext;

volatile double sink = 0;  // keeps the readings from being optimised away

/// Median microseconds per reading at (x, y) [cm] turned by `angle` [rad].
double MedianMicroseconds(Extended angle, Extended x, Extended y) {
    const velmora::LabState state = velmora::WorkingLabState();
    constexpr int kRounds = 15;
    constexpr int kReadings = 200;
    std::vector<double> rounds;
    for (int round = 0; round < kRounds; ++round) {
        const auto start = std::chrono::steady_clock::now();
        for (int i = 0; i < kReadings; ++i)
            sink = sink + static_cast<double>(velmora::ProbeReading(state, angle, x, y));
        const std::chrono::duration<double, std::micro> took =
            std::chrono::steady_clock::now() - start;
        rounds.push_back(took.count() / kReadings);
    }
    std::sort(rounds.begin(), rounds.end());
    return rounds[kRounds / 2];
}

}  // namespace

int main() {
    const struct {
        const char* name;
        Extended angle, x, y;
    } points[] = {
        {"coil_centre", 0.0_ext, 0.0_ext, 0.0_ext}, {"inside_coil", 0.7_ext, 6.5_ext, 5.0_ext},
        {"near_wire", -2.5_ext, 13.0_ext, 1.5_ext}, {"outside_coil", 2.0_ext, -20.0_ext, -7.5_ext},
        {"dead_zone", 1.0_ext, 13.0_ext, 0.5_ext},
    };
    for (const auto& point : points)
        std::printf("%s\t%.1f\n", point.name, MedianMicroseconds(point.angle, point.x, point.y));
}
