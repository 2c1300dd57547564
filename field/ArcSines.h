#pragma once

#include <array>

#include "Extended.h"

namespace velmora::arcs {

/// The coil is cut into this many equal arcs; each arc is represented by its start point.
inline constexpr int kArcCount = 1000;

/// The start angle φ_k of arc k, in radians: k ÷ n × 2 × π in extended precision, rounded to
/// double, with the bench's π (`pi`).
inline double ArcAngle(Extended pi, int k) {
    return static_cast<double>(k / Extended(kArcCount) * 2 * pi);
}

/// sin φ_k of every arc k: the extended value nearest to the exact sine of the double φ_k (the
/// software format's Sin, as the probe's angle takes), so that no processor changes a reading.
using ArcSines = std::array<Extended, kArcCount>;

/// The arcs' sines for the bench's π `pi`. They are computed the first time a reading on this
/// thread meets `pi` (Reset's reading, in a session) and kept until one meets another π. The
/// faults their computation raised, which only an absurd π raises, are raised again on the
/// backend's flags at every call: a reading's faults do not depend on whether the sines were
/// known before.
const ArcSines& ArcSinesOf(Extended pi);

}  // namespace velmora::arcs
