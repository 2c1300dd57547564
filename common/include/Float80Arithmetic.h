#pragma once

#include <array>
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

/// The square root of (high:low) rounded down, and whether it was inexact, for a radicand
/// in [2^126, 2^128): a root in [2^63, 2^64).
struct Root {
    std::uint64_t Floor = 0;
    wide::U128 Remainder;
};

/// 1/√a in Q2.62 for a = m ÷ 2^64 ∈ [1/4, 1): a seed from the top bits of m, then three
/// Newton steps y ← y (3 − a y²) ÷ 2, each doubling the correct bits (8, 16, 32, 60).
constexpr std::uint64_t ReciprocalRoot(std::uint64_t m) {
    // Seeds for the 192 intervals [i, i + 1) ÷ 256 of a from 1/4 up: 1/√ at their middle, Q2.14.
    constexpr auto kSeeds = [] {
        std::array<std::uint16_t, 192> seeds{};
        for (std::size_t i = 0; i < seeds.size(); ++i) {
            // y = 2^14 ÷ √((64 + i + 1/2) ÷ 256) = 2^18 ÷ √(64 + i + 1/2), found by bisection.
            const std::uint64_t twiceA = 2 * (64 + i) + 1;  // (64 + i + 1/2) × 2
            std::uint64_t low = 0, high = 1 << 16;
            while (high - low > 1) {
                const std::uint64_t mid = (low + high) / 2;
                // mid² × (64 + i + 1/2) ≤ 2^36  ⇔  mid² × twiceA ≤ 2^37
                (mid * mid * twiceA <= (std::uint64_t{1} << 37) ? low : high) = mid;
            }
            seeds[i] = static_cast<std::uint16_t>(low);
        }
        return seeds;
    }();
    std::uint64_t y = std::uint64_t{kSeeds[(m >> 56) - 64]} << 48;  // Q2.62
    for (int step = 0; step < 3; ++step) {
        const std::uint64_t y2 = wide::Multiply(y, y).High;               // Q4.60
        const std::uint64_t ay2 = wide::Multiply(m, y2).High;             // Q4.60
        const std::uint64_t correction = (std::uint64_t{3} << 60) - ay2;  // Q4.60, in (0, 2^62)
        y = wide::Multiply(y, correction).High << 3;                      // y × c ÷ 2, Q2.62
    }
    return y;
}

constexpr Root SquareRoot(wide::U128 n) {
    // √n = √(m × 2^64) with m the top 64 bits ≈ m × 1/√(m/2^64) in Q32: some units off, then
    // one Newton step on the exact remainder, δ = (n − root²) ÷ (2 root) = (n − root²) y ÷ 2^127,
    // leaves it at most one unit off, which the exact remainder then sets right.
    const std::uint64_t y = ReciprocalRoot(n.High);
    std::uint64_t root = wide::Multiply(n.High, y).High << 2;  // m × y ÷ 2^62, in [2^63, 2^64)
    if (root < kIntegerBit)
        root = kIntegerBit;
    wide::U128 square = wide::Multiply(root, root);
    const bool below = square <= n;
    const wide::U128 remainder = below ? wide::Subtract(n, square) : wide::Subtract(square, n);
    const wide::U128 scaled =
        wide::Add(wide::Multiply(remainder.High, y), {0, wide::Multiply(remainder.Low, y).High});
    const std::uint64_t delta = (scaled.High << 1) | (scaled.Low >> 63);
    if (below) {
        root = delta > ~root ? ~std::uint64_t{0} : root + delta;
    } else {
        root = root - delta < kIntegerBit ? kIntegerBit : root - delta;
    }
    square = wide::Multiply(root, root);
    while (n < square) {
        --root;
        square = wide::Multiply(root, root);
    }
    for (;;) {
        // (root + 1)² = square + 2 root + 1; stop when it passes n or leaves 64 bits.
        if (root == ~std::uint64_t{0})
            break;
        const wide::U128 next = wide::Add(wide::Add(square, {0, root}), {0, root + 1});
        if (n < next)
            break;
        ++root;
        square = next;
    }
    return {root, wide::Subtract(n, square)};
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
            if (!(sum < larger)) {
                if (RoundNormal(SignOf(x), field, sum, result))
                    return result;
            } else {
                const wide::U128 halved = wide::ShiftRightSticky(sum, 1);
                if (RoundNormal(SignOf(x), field + 1, {halved.High | kIntegerBit, halved.Low},
                                result))
                    return result;
            }
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
        int field = FieldOf(a) + FieldOf(b) - kBias + 1;
        if ((product.High & kIntegerBit) == 0) {
            product = wide::ShiftLeft(product, 1);
            --field;
        }
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
    // The remainder against half the divisor: the rounding bits, sticky included.
    std::uint64_t rest = 0;
    if (d.Remainder != 0) {
        const std::uint64_t half = y.Significand - d.Remainder;  // r ≥ y − r  ⇔  2r ≥ y
        rest = d.Remainder > half ? kIntegerBit | 1 : d.Remainder == half ? kIntegerBit : 1;
    }
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

constexpr Float80 SquareRoot(Float80 a, unsigned& flags) {
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
    const Unpacked x = Normalised(a);
    // value = m × 2^(u − 63) with u = e − bias: for an even u it is (m × 2^63) × 2^(u − 126),
    // for an odd u (m × 2^64) × 2^(u − 127), so that the root is √radicand × 2^(⌊u/2⌋ − 63)
    // with √radicand in [2^63, 2^64).
    const int unbiased = x.Exponent - kBias;
    const bool odd = (unbiased & 1) != 0;
    const wide::U128 radicand =
        odd ? wide::U128{x.Significand, 0} : wide::U128{x.Significand >> 1, x.Significand << 63};
    const detail::Root root = detail::SquareRoot(radicand);
    // Never a tie: the root of an integer is not an odd multiple of 1/2. The remainder
    // against root + 1/2 decides: n ≥ (r + 1/2)² ⇔ n − r² > r.
    std::uint64_t rest = 0;
    if (root.Remainder != wide::U128{})
        rest = wide::U128{0, root.Floor} < root.Remainder ? kIntegerBit | 1 : 1;
    const int exponent = (odd ? unbiased - 1 : unbiased) / 2 + kBias;
    return RoundToFormat(false, exponent, {root.Floor, rest}, flags);
}

}  // namespace velmora::soft
