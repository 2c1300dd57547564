#pragma once

#include <cstdint>
#include <string_view>
#include <vector>

#include "Extended.h"

// Exact arithmetic on extended values and powers of ten, used where an 80-bit product or
// quotient would round once too often: the decimal digits of a displayed number and the
// scaling of a typed number by a large power of ten. Internal to the number texts.
namespace velmora::exact {

/// An extended value taken apart: |v| = Significand × 2^Exponent. Field is the 15-bit
/// biased exponent field of the encoding: 0 for zero and subnormals, 0x7FFF for infinities
/// and NaN (whose Significand and Exponent mean nothing).
struct ExtendedParts {
    std::uint64_t Significand = 0;
    int Exponent = 0;
    int Field = 0;
    bool Negative = false;
};

ExtendedParts Decompose(Extended value);

/// The smallest and largest binary exponent of a unit in the last place of a finite extended
/// value: the subnormal spacing 2^-16445, and 2^16320 for the values in [2^16383, 2^16384).
inline constexpr int kLeastUnitExponent = -16445;
inline constexpr int kGreatestUnitExponent = 16320;

/// How the part that a floor division drops compares with one half.
enum class Rest { Zero, BelowHalf, Half, AboveHalf };

/// floor(m × 2^binaryShift × 5^fivePower) and the class of the dropped fraction, or Fits
/// false when that floor is 2^64 or more.
struct ScaledFloor {
    bool Fits = false;
    std::uint64_t Quotient = 0;
    Rest Dropped = Rest::Zero;
};

/// Exact for every argument; quick (no allocation) when |fivePower| ≤ 27 and the operands
/// fit in 128 bits, which covers the magnitudes a lab bench shows.
ScaledFloor FloorScaled(std::uint64_t m, int binaryShift, int fivePower);

/// A whole number of any size, read from decimal digits: the digits of a number text that are
/// too many for a 64-bit integer, held exactly.
class WholeNumber {
  public:
    /// Writes `digits` ("0" to "9") after the number's own digits: n becomes
    /// n × 10^digits.size() + the number the digits write. One pass over the number for every
    /// nine digits.
    void AppendDigits(std::u16string_view digits);

    friend int BitLength(const WholeNumber& m);
    friend ScaledFloor FloorScaled(const WholeNumber& m, int binaryShift, int fivePower);

  private:
    std::vector<std::uint32_t> limbs_;  ///< least significant first, no leading zero limb
};

/// The number of significant bits of m (0 for 0).
int BitLength(const WholeNumber& m);

/// FloorScaled for a whole number of any size; exact, always with big-integer arithmetic.
ScaledFloor FloorScaled(const WholeNumber& m, int binaryShift, int fivePower);

/// True when rounding the scaled value to the nearest integer, ties to even, gives
/// Quotient + 1 rather than Quotient.
bool RoundsUp(const ScaledFloor& floor);

/// The number of significant bits of m (0 for 0).
int BitLength(std::uint64_t m);

/// floor(n × log10 2) and floor(n × log2 10), exact for |n| ≤ 100000 (32-bit fixed-point
/// constants, checked over that whole range when they were chosen).
int FloorLog10Of2Power(int n);
int FloorLog2Of10Power(int n);

}  // namespace velmora::exact
