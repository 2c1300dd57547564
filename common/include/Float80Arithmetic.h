#pragma once

#include <cmath>
#include <cstdint>
#include <utility>

#include "Float80.h"

// Addition, subtraction, multiplication, division and square root of the software extended
// format, each exactly rounded (to nearest, ties to even) with the x87's results for zeros,
// infinities and NaNs.
namespace velmora::soft {

namespace detail {

/// a + b for finite operands of which at least one is not zero, their signs taken as given.
constexpr Float80 AddFinite(Float80 a, Kind ka, Float80 b, Kind kb, unsigned& flags) {
    if (kb == Kind::Zero)
        return Canonical(a);
    if (ka == Kind::Zero)
        return Canonical(b);
    Unpacked x = Normalised(a);
    Unpacked y = Normalised(b);
    bool negative = SignOf(a);
    const bool subtract = SignOf(a) != SignOf(b);
    if (x.Exponent < y.Exponent || (x.Exponent == y.Exponent && x.Significand < y.Significand)) {
        std::swap(x, y);
        negative = SignOf(b);
    }
    const wide::U128 larger{x.Significand, 0};
    const wide::U128 smaller = wide::ShiftRightSticky({y.Significand, 0}, x.Exponent - y.Exponent);
    if (!subtract) {
        const wide::U128 sum = wide::Add(larger, smaller);
        if (sum < larger) {  // carried into bit 128
            const wide::U128 halved = wide::ShiftRightSticky(sum, 1);
            return RoundToFormat(negative, x.Exponent + 1, {halved.High | kIntegerBit, halved.Low},
                                 flags);
        }
        return RoundToFormat(negative, x.Exponent, sum, flags);
    }
    const wide::U128 difference = wide::Subtract(larger, smaller);
    if (difference == wide::U128{})
        return Zero(false);  // x − x is +0 when rounding to nearest
    return NormaliseAndRound(negative, x.Exponent, difference, flags);
}

/// A 64-bit value as a double, within a relative 2^−52: its top 63 bits, converted as a
/// signed integer (one instruction on every target, unlike an unsigned conversion), doubled.
constexpr double Approximate(std::uint64_t v) {
    return static_cast<double>(static_cast<std::int64_t>(v >> 1)) * 2;
}

/// A 128-bit two's-complement value (High read as signed) of magnitude below 2^100 as a
/// double, within 2^11 + a relative 2^−52.
constexpr double ApproximateSigned(wide::U128 v) {
    return static_cast<double>(static_cast<std::int64_t>(v.High)) * 0x1p64 + Approximate(v.Low);
}

/// A double s in [2^62, 2^65) as an integer: ⌊s⌋, at most 2^64 − 2^11. The signed
/// conversion takes s − 2^63, which is exact below 2^64 (within a factor of two of 2^63)
/// and at least the bound above it.
constexpr std::uint64_t EstimateOf(double s) {
    constexpr double kTop = 0x1p63 - 0x1p11;  // below 2^63: the conversion cannot overflow
    const double offset = s - 0x1p63;
    return kIntegerBit + static_cast<std::uint64_t>(static_cast<std::int64_t>(
                             offset < kTop ? offset : kTop));  // modulo 2^64
}

/// base + ⌊δ − 2^−20⌋ for |δ| < 2^14: the bias 2^14 keeps the sum positive, so that the
/// conversion's truncation is the floor. When base + δ is within 2^−30 of a real number v,
/// the result is ⌊v⌋ or ⌊v⌋ − 1 (the latter when v lies within 2^−20 above an integer).
constexpr std::uint64_t FloorBelow(std::uint64_t base, double delta) {
    constexpr std::uint64_t kBiasSteps = std::uint64_t{1} << 14;
    const auto steps = static_cast<std::int64_t>(delta + (0x1p14 - 0x1p-20));  // in (0, 2^15)
    return base + static_cast<std::uint64_t>(steps) - kBiasSteps;              // modulo 2^64
}

/// The square root of (high:low) rounded down, and its remainder, for a radicand n in
/// [2^126, 2^128): a root in [2^63, 2^64).
struct Root {
    std::uint64_t Floor = 0;
    wide::U128 Remainder;
};

/// The root comes from the double square root of n's top 64 bits (IEEE square roots are
/// correctly rounded on every target): r0 within 2^12 of √n. One Newton step on the exact
/// remainder, r0 + (n − r0²) ÷ (2 r0), overshoots √n by (√n − r0)² ÷ (2 r0) < 2^−40 and is
/// made in double within 2^−35; FloorBelow makes it ⌊√n⌋ or one less, and one exact
/// comparison of (r + 1)² with n settles which.
inline Root SquareRoot(wide::U128 n) {
    const double root = std::sqrt(Approximate(n.High)) * 0x1p32;  // ≈ √(n.High × 2^64)
    const std::uint64_t r0 = EstimateOf(root);
    const double delta = ApproximateSigned(wide::Subtract(n, wide::Multiply(r0, r0))) * 0.5 / root;
    std::uint64_t r = FloorBelow(r0, delta);
    wide::U128 remainder = wide::Subtract(n, wide::Multiply(r, r));
    // (r + 1)² ≤ n ⇔ n − r² ≥ 2r + 1 (never for r = 2^64 − 1, as n < 2^128 = (r + 1)²).
    const wide::U128 step{r >> 63, (r << 1) | 1};
    const bool up = !(remainder < step);
    r += up ? 1 : 0;
    remainder = up ? wide::Subtract(remainder, step) : remainder;
    return {r, remainder};
}

/// The correctly rounded square root of a finite positive x: never a tie (the root of an
/// integer is not an odd multiple of 1/2), and always a normal number.
inline Float80 RootOf(Unpacked x) {
    // value = m × 2^(u − 63) with u = e − bias: for an even u it is (m × 2^63) × 2^(u − 126),
    // for an odd u (m × 2^64) × 2^(u − 127), so that the root is √radicand × 2^(⌊u/2⌋ − 63)
    // with √radicand in [2^63, 2^64).
    const int unbiased = x.Exponent - kBias;
    const bool odd = (unbiased & 1) != 0;
    const wide::U128 radicand =
        odd ? wide::U128{x.Significand, 0} : wide::U128{x.Significand >> 1, x.Significand << 63};
    const Root root = SquareRoot(radicand);
    // The remainder against root + 1/2: n ≥ (r + 1/2)² ⇔ n − r² > r; a non-zero remainder
    // is the sticky bit.
    const bool nonzero = (root.Remainder.High | root.Remainder.Low) != 0;
    const bool above = wide::U128{0, root.Floor} < root.Remainder;
    const std::uint64_t rest = (above ? kIntegerBit : 0) | (nonzero ? 1 : 0);
    const Rounded rounded = RoundSignificand({root.Floor, rest});
    const int field = (odd ? unbiased - 1 : unbiased) / 2 + kBias + rounded.Carry;
    return {rounded.Significand, static_cast<std::uint16_t>(field)};
}

}  // namespace detail

/// The general case of Add: zeros, subnormals, infinities, NaNs, results leaving the normal
/// range.
constexpr Float80 AddGeneral(Float80 a, Float80 b, unsigned& flags);

VELMORA_QUICK constexpr Float80 Add(Float80 a, Float80 b, unsigned& flags) {
    if (IsNormal(a) && IsNormal(b)) {
        // Two normal operands, the larger first: a sum or difference that stays normal.
        Float80 x = a, y = b;
        if (Absolute(x).SignExponent < Absolute(y).SignExponent ||
            (Absolute(x).SignExponent == Absolute(y).SignExponent && x.Significand < y.Significand))
            std::swap(x, y);
        const int field = FieldOf(x);
        const int shift = field - FieldOf(y);
        const wide::U128 larger{x.Significand, 0};
        const wide::U128 smaller = wide::ShiftRightSticky({y.Significand, 0}, shift);
        Float80 result;
        if (SignOf(x) == SignOf(y)) {
            const wide::U128 sum = wide::Add(larger, smaller);
            // A carry into bit 128 (as good as random) is taken without a branch: the sum
            // 2^128 + sum halved, the bit shifted out kept as a sticky bit, one binade up.
            const bool carried = sum < larger;
            const wide::U128 halved{(sum.High >> 1) | kIntegerBit,
                                    (sum.Low >> 1) | (sum.High << 63) | (sum.Low & 1)};
            if (RoundNormal(SignOf(x), field + (carried ? 1 : 0), carried ? halved : sum, result))
                return result;
        } else {
            const wide::U128 difference = wide::Subtract(larger, smaller);
            const int lead = wide::CountLeadingZeros(difference);
            if (lead < 128 &&
                RoundNormal(SignOf(x), field - lead, wide::ShiftLeft(difference, lead), result))
                return result;
        }
    }
    return AddGeneral(a, b, flags);
}

constexpr Float80 AddGeneral(Float80 a, Float80 b, unsigned& flags) {
    const Kind ka = KindOf(a), kb = KindOf(b);
    if (ka == Kind::Finite && kb == Kind::Finite)
        return detail::AddFinite(a, ka, b, kb, flags);
    if (IsNaNKind(ka) || IsNaNKind(kb) || ka == Kind::Unsupported || kb == Kind::Unsupported)
        return PropagateNaN(a, ka, b, kb, flags);
    if (ka == Kind::Infinity || kb == Kind::Infinity) {
        if (ka == Kind::Infinity && kb == Kind::Infinity && SignOf(a) != SignOf(b)) {
            flags |= kInvalid;
            return kIndefinite;
        }
        return ka == Kind::Infinity ? a : b;
    }
    if (ka == Kind::Zero && kb == Kind::Zero)
        return Zero(SignOf(a) && SignOf(b));
    return detail::AddFinite(a, ka, b, kb, flags);
}

VELMORA_QUICK constexpr Float80 Subtract(Float80 a, Float80 b, unsigned& flags) {
    if (IsNormal(b))
        return Add(a, Negated(b), flags);
    const Kind kb = KindOf(b);
    // The NaN of b is passed on with its own sign, so b is negated only when it is not one.
    if (IsNaNKind(kb) || kb == Kind::Unsupported)
        return PropagateNaN(a, KindOf(a), b, kb, flags);
    return Add(a, Negated(b), flags);
}

constexpr Float80 MultiplyGeneral(Float80 a, Float80 b, unsigned& flags);

VELMORA_QUICK constexpr Float80 Multiply(Float80 a, Float80 b, unsigned& flags) {
    if (IsNormal(a) && IsNormal(b)) {
        const bool negative = SignOf(a) != SignOf(b);
        wide::U128 product = wide::Multiply(a.Significand, b.Significand);
        // The product lies in [2^126, 2^128): shifted left by one when below 2^127, without
        // a branch on which (as good as random).
        const std::uint64_t below = 1 - (product.High >> 63);
        product = {(product.High << below) | ((product.Low >> 63) & below), product.Low << below};
        const int field = FieldOf(a) + FieldOf(b) - kBias + 1 - static_cast<int>(below);
        Float80 result;
        if (RoundNormal(negative, field, product, result))
            return result;
    }
    return MultiplyGeneral(a, b, flags);
}

constexpr Float80 MultiplyGeneral(Float80 a, Float80 b, unsigned& flags) {
    const bool negative = SignOf(a) != SignOf(b);
    const Kind ka = KindOf(a), kb = KindOf(b);
    if (ka == Kind::Finite && kb == Kind::Finite) {
        const Unpacked x = Normalised(a);
        const Unpacked y = Normalised(b);
        const wide::U128 product = wide::Multiply(x.Significand, y.Significand);
        // The product of two integer bits lies in [2^126, 2^128).
        return NormaliseAndRound(negative, x.Exponent + y.Exponent - kBias + 1, product, flags);
    }
    if (IsNaNKind(ka) || IsNaNKind(kb) || ka == Kind::Unsupported || kb == Kind::Unsupported)
        return PropagateNaN(a, ka, b, kb, flags);
    if (ka == Kind::Infinity || kb == Kind::Infinity) {
        if (ka == Kind::Zero || kb == Kind::Zero) {
            flags |= kInvalid;
            return kIndefinite;
        }
        return Infinity(negative);
    }
    return Zero(negative);
}

constexpr Float80 DivideGeneral(Float80 a, Float80 b, unsigned& flags);

/// x ÷ y for finite non-zero operands, |x| = Significand × 2^(Exponent − 63 − bias) alike.
constexpr Float80 DivideFinite(bool negative, Unpacked x, Unpacked y, unsigned& flags) {
    // x ÷ y with both significands in [2^63, 2^64): the dividend x × 2^64 (or × 2^63 when
    // x ≥ y) gives a 64-bit quotient with its top bit set.
    const bool shifted = x.Significand >= y.Significand;
    const wide::U128 dividend = shifted ? wide::U128{x.Significand >> 1, x.Significand << 63}
                                        : wide::U128{x.Significand, 0};
    const wide::Division d = wide::Divide(dividend, y.Significand);
    // The remainder against half the divisor: the rounding bits, sticky included; without
    // branches, as whether it lies above half is as good as random.
    const std::uint64_t half = y.Significand - d.Remainder;  // r ≥ y − r  ⇔  2r ≥ y
    const bool above = d.Remainder > half;
    const bool tie = d.Remainder == half;
    const bool sticky = (d.Remainder != 0) & !tie;
    const std::uint64_t rest = ((above | tie) ? kIntegerBit : 0) | (sticky ? 1 : 0);
    const int exponent = x.Exponent - y.Exponent + kBias - (shifted ? 0 : 1);
    Float80 result;
    if (RoundNormal(negative, exponent, {d.Quotient, rest}, result))
        return result;
    return RoundToFormat(negative, exponent, {d.Quotient, rest}, flags);
}

VELMORA_QUICK constexpr Float80 Divide(Float80 a, Float80 b, unsigned& flags) {
    if (IsNormal(a) && IsNormal(b))
        return DivideFinite(SignOf(a) != SignOf(b), {a.Significand, FieldOf(a)},
                            {b.Significand, FieldOf(b)}, flags);
    return DivideGeneral(a, b, flags);
}

constexpr Float80 DivideGeneral(Float80 a, Float80 b, unsigned& flags) {
    const Kind ka = KindOf(a), kb = KindOf(b);
    const bool negative = SignOf(a) != SignOf(b);
    if (ka == Kind::Finite && kb == Kind::Finite)
        return DivideFinite(negative, Normalised(a), Normalised(b), flags);
    if (IsNaNKind(ka) || IsNaNKind(kb) || ka == Kind::Unsupported || kb == Kind::Unsupported)
        return PropagateNaN(a, ka, b, kb, flags);
    if ((ka == Kind::Zero && kb == Kind::Zero) || (ka == Kind::Infinity && kb == Kind::Infinity)) {
        flags |= kInvalid;
        return kIndefinite;
    }
    if (ka == Kind::Infinity)
        return Infinity(negative);
    if (kb == Kind::Zero) {
        flags |= kDivisionByZero;
        return Infinity(negative);
    }
    return Zero(negative);  // 0 ÷ finite, finite ÷ ∞
}

inline Float80 SquareRoot(Float80 a, unsigned& flags) {
    if (IsNormal(a) && !SignOf(a))
        return detail::RootOf({a.Significand, FieldOf(a)});
    const Kind k = KindOf(a);
    if (IsNaNKind(k) || k == Kind::Unsupported)
        return PropagateNaN(a, k, a, k, flags);
    if (k == Kind::Zero)
        return a;  // √−0 is −0
    if (SignOf(a)) {
        flags |= kInvalid;
        return kIndefinite;
    }
    if (k == Kind::Infinity)
        return a;
    return detail::RootOf(Normalised(a));
}

}  // namespace velmora::soft
