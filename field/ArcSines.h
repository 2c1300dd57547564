#pragma once

#include <cstdint>

#include "Extended.h"
#include "FieldModel.h"

namespace velmora::arcs {

/// The coil is cut into this many equal arcs; each arc is represented by its start point.
inline constexpr int kArcCount = 1000;

/// The start angle φ_k of arc k, in radians: k ÷ n × 2 × π in extended precision, rounded to
/// double, with the bench's π (`pi`).
inline double ArcAngle(Extended pi, int k) {
    return static_cast<double>(k / Extended(kArcCount) * 2 * pi);
}

/// One arc's start angle with the x87's fsin of it, both as their encodings.
struct ArcSineEntry {
    std::uint64_t Angle;         ///< the double φ_k
    std::uint64_t Significand;   ///< fsin φ_k: significand
    std::uint16_t SignExponent;  ///< and sign and biased exponent
};

/// fsin of the 1000 arc angles of the bench's ten-decimal π (3.1415926535, which Reset
/// always sets), as the x87 unit gives them: written by make_arc_sines on an x87 build
/// (ArcSineTable.cpp), and checked against the instruction by every test run there.
extern const ArcSineEntry kArcSineTable[kArcCount];

/// The π the table's angles were computed with: the bench's ten-decimal π.
inline constexpr Extended kTablePi = kTenDecimalPi;

/// The start angle of arc k for the bench's π `pi`: on the portable backend the table's
/// angle when `pi` is the table's (the x87 build's tests check that the computation gives the
/// same double for every arc), otherwise computed.
inline double ArcAngleFor(Extended pi, bool tablePi, int k) {
#if VELMORA_EXTENDED_X87
    (void)tablePi;
#else
    if (tablePi)
        return soft::BitCast<double>(kArcSineTable[k].Angle);
#endif
    return ArcAngle(pi, k);
}

/// The sine of arc k's start angle φ ∈ [0, 2π), in extended precision: the x87's own fsin,
/// the sine the bench's sums are defined with, inexact as it is near π (UnitSine). The unit
/// gives it on the x87 backend (far quicker than the exactly rounded Sin); the portable
/// backend takes it from the table, and computes the exactly rounded sine only for an angle
/// the table does not hold (a π other than the bench's, which only tests set).
inline Extended ArcSine(int k, double phi) {
#if VELMORA_EXTENDED_X87
    (void)k;
    return UnitSine(phi);
#else
    const ArcSineEntry& entry = kArcSineTable[k];
    if (soft::BitCast<std::uint64_t>(phi) == entry.Angle)
        return Extended::FromBits({entry.Significand, entry.SignExponent});
    return Sin(phi);
#endif
}

}  // namespace velmora::arcs
