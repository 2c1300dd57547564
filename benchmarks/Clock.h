#pragma once

#include <cstdint>
#include <ctime>

namespace velmora::figures {

/// Nanoseconds on CLOCK_MONOTONIC, the clock a parent process and the programs it starts
/// share, so a start time taken in one and a paint time taken in the other subtract.
inline std::int64_t MonotonicNanos() {
    timespec now{};
    clock_gettime(CLOCK_MONOTONIC, &now);
    return static_cast<std::int64_t>(now.tv_sec) * 1'000'000'000 + now.tv_nsec;
}

}  // namespace velmora::figures
