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

/// Nanoseconds of processor time the calling thread has used: beside the monotonic clock it
/// tells the program's own work from waiting for the display server and for the processor.
inline std::int64_t ThreadCpuNanos() {
    timespec now{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
    return static_cast<std::int64_t>(now.tv_sec) * 1'000'000'000 + now.tv_nsec;
}

}  // namespace velmora::figures
