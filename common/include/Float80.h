#pragma once

#include <bit>
#include <cstdint>

#include "Wide.h"

// The 80-bit extended format in software: sign bit, 15-bit biased exponent, 64-bit
// significand with an explicit integer bit. Every operation rounds to nearest, ties to even,
// keeps subnormals, and reports its faults in a flag word of its own, as the x87 unit does
// with every exception masked; results, NaNs included, are the bits that unit gives.

// The quick paths of the operations are inlined into the arithmetic of the bench, which runs
// them thousands of times per reading; the compilers that know the attribute are told.
#if defined(__GNUC__)
#define VELMORA_QUICK [[gnu::always_inline]]
#else
#define VELMORA_QUICK
#endif

namespace velmora::soft {

/// std::bit_cast, or the compiler's built-in where the library has none (libc++ 14).
template <class To, class From>
constexpr To BitCast(const From& from) {
#if defined(__cpp_lib_bit_cast)
    return std::bit_cast<To>(from);
#else
    return __builtin_bit_cast(To, from);
#endif
}

/// The faults an operation can report, OR-ed into a flag word; underflow and inexact
/// results are not faults here.
enum Flag : unsigned {
    kInvalid = 1,  ///< invalid operation: 0 ÷ 0, ∞ − ∞, √−1, a signalling NaN, …
    kDivisionByZero = 4,  ///< a finite non-zero value divided by zero
    kOverflow = 8,        ///< a rounded result beyond the largest finite value
};

/// An extended value by its encoding.
struct Float80 {
    std::uint64_t Significand = 0;   ///< bit 63 is the integer bit
    std::uint16_t SignExponent = 0;  ///< bit 15 the sign, bits 14..0 the biased exponent

    friend constexpr bool operator==(const Float80&, const Float80&) = default;
};

inline constexpr int kBias = 16383;
inline constexpr int kMaxField = 0x7FFF;
inline constexpr std::uint64_t kIntegerBit = std::uint64_t{1} << 63;
inline constexpr std::uint64_t kQuietBit = std::uint64_t{1} << 62;

constexpr bool SignOf(Float80 x) {
    return (x.SignExponent & 0x8000) != 0;
}
constexpr int FieldOf(Float80 x) {
    return x.SignExponent & kMaxField;
}
constexpr std::uint16_t SignBits(bool negative) {
    return negative ? 0x8000 : 0;
}

/// The x87's default NaN ("real indefinite"): the result of every invalid operation that
/// has no NaN operand.
inline constexpr Float80 kIndefinite{kIntegerBit | kQuietBit, 0xFFFF};

constexpr Float80 Infinity(bool negative) {
    return {kIntegerBit, static_cast<std::uint16_t>(SignBits(negative) | kMaxField)};
}
constexpr Float80 Zero(bool negative) {
    return {0, SignBits(negative)};
}

/// How the unit sees an encoding. Unnormals (exponent set, integer bit clear), pseudo-NaNs
/// and pseudo-infinities are Unsupported: every arithmetic operation rejects them as
/// invalid. Pseudo-denormals (exponent 0, integer bit set) are read as subnormals are.
enum class Kind { Zero, Finite, Infinity, QuietNaN, SignalingNaN, Unsupported };

constexpr Kind KindOf(Float80 x) {
    const int field = FieldOf(x);
    const bool integerBit = (x.Significand & kIntegerBit) != 0;
    if (field == kMaxField) {
        if (!integerBit)
            return Kind::Unsupported;
        if ((x.Significand << 1) == 0)
            return Kind::Infinity;
        return (x.Significand & kQuietBit) != 0 ? Kind::QuietNaN : Kind::SignalingNaN;
    }
    if (field == 0)
        return x.Significand == 0 ? Kind::Zero : Kind::Finite;
    return integerBit ? Kind::Finite : Kind::Unsupported;
}

constexpr bool IsNaNKind(Kind k) {
    return k == Kind::QuietNaN || k == Kind::SignalingNaN;
}

/// x re-encoded as the unit writes a result: a pseudo-denormal (exponent 0 with the integer
/// bit set) becomes the normal value it stands for.
constexpr Float80 Canonical(Float80 x) {
    if (FieldOf(x) == 0 && (x.Significand & kIntegerBit) != 0)
        return {x.Significand, static_cast<std::uint16_t>(x.SignExponent | 1)};
    return x;
}

/// A finite non-zero magnitude Significand × 2^(Exponent − 63 − kBias) with the integer bit
/// set: subnormals are normalised, so Exponent may lie below 1.
struct Unpacked {
    std::uint64_t Significand = 0;
    int Exponent = 0;
};

constexpr Unpacked Normalised(Float80 x) {
    const int field = FieldOf(x) == 0 ? 1 : FieldOf(x);
    const int shift = std::countl_zero(x.Significand);
    return {x.Significand << shift, field - shift};
}

/// True when x is a normal number: exponent field neither 0 nor all ones, integer bit set.
/// The quick paths of the operations take these; everything else goes the general way.
VELMORA_QUICK constexpr bool IsNormal(Float80 x) {
    const unsigned field = x.SignExponent & kMaxField;
    return field - 1 < kMaxField - 1 && (x.Significand & kIntegerBit) != 0;
}

/// (high:low), with high's top bit set, rounded to a significand: Carry is 1 when it
/// rounded up past 2^64 to 2^63 of the next binade, which the exponent field must add.
struct Rounded {
    std::uint64_t Significand = 0;
    int Carry = 0;
};

/// Written without branches on the value: whether a rounding goes up is as good as random,
/// and a mispredicted branch costs more than the whole rounding.
VELMORA_QUICK constexpr Rounded RoundSignificand(wide::U128 value) {
    // Up when the rest is above half, or half with an odd significand: exactly then does
    // rest + (half − 1) + (the significand's lowest bit) carry past 2^64.
    const std::uint64_t odd = value.High & 1;
    const std::uint64_t up = value.Low + (kIntegerBit - 1 + odd) < value.Low ? 1 : 0;
    const std::uint64_t significand = value.High + up;
    // A carry past the integer bit wraps the significand to 0.
    const std::uint64_t carried = significand == 0 ? 1 : 0;
    return {significand | (carried << 63), static_cast<int>(carried)};
}

/// Rounds (high:low), with high's top bit set, to a normal result with exponent field
/// `field`, when that result stays normal; false (and nothing written) otherwise.
VELMORA_QUICK constexpr bool RoundNormal(bool negative, int field, wide::U128 value,
                                         Float80& result) {
    if (static_cast<unsigned>(field) - 1u >= kMaxField - 1u)
        return false;
    const Rounded rounded = RoundSignificand(value);
    field += rounded.Carry;
    if (field == kMaxField)
        return false;
    result = {rounded.Significand, static_cast<std::uint16_t>(SignBits(negative) | field)};
    return true;
}

/// Rounds the magnitude (high:low) × 2^(exponent − 127 − kBias) to the format, to nearest,
/// ties to even; `low` may carry a sticky lowest bit. `high` must have its top bit set.
/// Overflow gives infinity and kOverflow; results below the normal range are subnormal,
/// rounded once on the subnormal grid.
constexpr Float80 RoundToFormat(bool negative, int exponent, wide::U128 value, unsigned& flags) {
    if (exponent >= kMaxField) {
        flags |= kOverflow;
        return Infinity(negative);
    }
    int field = exponent;
    if (exponent < 1) {
        value = wide::ShiftRightSticky(value, 1 - exponent);
        field = 0;
    }
    std::uint64_t significand = value.High;
    const std::uint64_t half = kIntegerBit;
    if (value.Low > half || (value.Low == half && (significand & 1) != 0)) {
        ++significand;
        if (significand == 0) {  // carried past the integer bit: the next binade
            significand = kIntegerBit;
            ++field;
        } else if (field == 0 && significand == kIntegerBit) {
            field = 1;  // a subnormal rounded up to the smallest normal value
        }
    }
    if (field >= kMaxField) {
        flags |= kOverflow;
        return Infinity(negative);
    }
    return {significand, static_cast<std::uint16_t>(SignBits(negative) | field)};
}

/// Normalises (high:low), which must not be zero, and rounds it as RoundToFormat does;
/// `exponent` belongs to the top bit of `high` as there.
constexpr Float80 NormaliseAndRound(bool negative, int exponent, wide::U128 value,
                                    unsigned& flags) {
    const int shift = wide::CountLeadingZeros(value);
    return RoundToFormat(negative, exponent - shift, wide::ShiftLeft(value, shift), flags);
}

/// The NaN a quiet operation passes on: the NaN itself with its quiet bit set.
constexpr Float80 Quieted(Float80 nan) {
    return {nan.Significand | kQuietBit, nan.SignExponent};
}

/// The result of an operation with at least one NaN or unsupported operand, as the x87
/// makes it: an unsupported operand or a signalling NaN is invalid; of two NaNs a quiet one
/// wins over a signalling one, then the larger significand, then the positive one; the
/// NaN passed on is quieted.
constexpr Float80 PropagateNaN(Float80 a, Kind ka, Float80 b, Kind kb, unsigned& flags) {
    if (ka == Kind::Unsupported || kb == Kind::Unsupported) {
        flags |= kInvalid;
        return kIndefinite;
    }
    if (ka == Kind::SignalingNaN || kb == Kind::SignalingNaN)
        flags |= kInvalid;
    if (!IsNaNKind(kb))
        return Quieted(a);
    if (!IsNaNKind(ka))
        return Quieted(b);
    if (ka != kb)
        return Quieted(ka == Kind::QuietNaN ? a : b);
    if (a.Significand != b.Significand)
        return Quieted(a.Significand > b.Significand ? a : b);
    return Quieted(SignOf(a) ? b : a);
}

constexpr Float80 Negated(Float80 x) {
    return {x.Significand, static_cast<std::uint16_t>(x.SignExponent ^ 0x8000)};
}
constexpr Float80 Absolute(Float80 x) {
    return {x.Significand, static_cast<std::uint16_t>(x.SignExponent & 0x7FFF)};
}

}  // namespace velmora::soft
