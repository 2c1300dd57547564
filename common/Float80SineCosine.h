#pragma once

#include <algorithm>
#include <array>
#include <optional>

#include "AngleConstants.h"
#include "FixedPoint.h"
#include "Float80.h"

// Sine and cosine of the software extended format, for any argument: the argument is
// reduced by π/2 with as many bits of 2/π as its exponent needs (so 10^4000 radians are
// reduced as exactly as 1 radian), and the Taylor series of the reduced argument is summed
// in fixed point of 128 bits. A result that lies too close to half-way between two extended
// values for that precision is made again with 256 and then 512 bits, so every result is
// the extended value nearest to the exact sine or cosine.
namespace velmora::soft {

namespace trig {

/// The reduced argument: x = (Quadrant + Fraction) × π/2 up to a multiple of 2π, Fraction
/// in [−1/2, 1/2] given by its magnitude and sign.
template <int N>
struct Reduced {
    int Quadrant = 0;
    Fixed<N> Fraction;
    bool Negative = false;
};

/// x × 2/π for x = m × 2^e (m with its top bit set), from the bits of 2/π that matter:
/// those whose products with m are not whole multiples of 4.
template <int N>
constexpr Reduced<N> ReduceByHalfPi(std::uint64_t m, int e) {
    // Bits t_s … of 2/π (t_1 the first after the point) times m: the value is
    // P × 2^(e − (s + 64W − 1)) for a window of W = kWindowWords words starting at bit s.
    constexpr int kWindowWords = N == 2 ? 3 : N + 2;  // the quick kernel needs about 190 bits
    const int start = e - 1 > 1 ? e - 1 : 1;
    std::uint64_t window[kWindowWords] = {};
    const int word = (start - 1) / 64, bit = (start - 1) % 64;
    for (int i = 0; i < kWindowWords; ++i) {
        const std::uint64_t high = angle::kTwoOverPi[word + i];
        const std::uint64_t low = angle::kTwoOverPi[word + i + 1];
        window[i] = bit == 0 ? high : (high << bit) | (low >> (64 - bit));
    }
    // P = m × window, kWindowWords + 1 words, most significant first.
    std::uint64_t p[kWindowWords + 1] = {};
    std::uint64_t carry = 0;
    for (int i = kWindowWords - 1; i >= 0; --i) {
        const wide::U128 q = wide::Multiply(m, window[i]);
        const std::uint64_t low = q.Low + carry;
        p[i + 1] = low;
        carry = q.High + (low < carry ? 1 : 0);
    }
    p[0] = carry;
    // The binary point lies below bit `point` of P (bit 0 the lowest of p[kWindowWords]).
    const int point = start + 64 * kWindowWords - 1 - e;
    const auto wordAt = [&](int index) {  // the index-th word of P from the bottom, or 0
        return index >= 0 && index <= kWindowWords ? p[kWindowWords - index] : 0;
    };
    const auto bitsFrom = [&](int low) {  // bits low … low + 63 of P
        const int index = low >= 0 ? low / 64 : -((63 - low) / 64);
        const int shift = low - 64 * index;
        const std::uint64_t bottom = wordAt(index), top = wordAt(index + 1);
        return shift == 0 ? bottom : (bottom >> shift) | (top << (64 - shift));
    };
    Reduced<N> r;
    r.Quadrant = static_cast<int>(bitsFrom(point) & 3);
    // The fraction's bits from `point − 1` down, as Q2.(64N − 2): its first bit is 2^−1.
    for (int i = 0; i < N; ++i)
        r.Fraction.Words[i] = bitsFrom(point + 2 - 64 * (i + 1));
    r.Fraction.Words[0] &= (std::uint64_t{1} << 62) - 1;  // drop the quadrant bits
    // A fraction of at least 1/2 belongs to the next quadrant, from below.
    const Fixed<N> half = [] {
        Fixed<N> h;
        h.Words[0] = std::uint64_t{1} << 61;
        return h;
    }();
    if (!(r.Fraction < half)) {
        r.Fraction = Fixed<N>::One() - r.Fraction;
        r.Negative = true;
        r.Quadrant = (r.Quadrant + 1) & 3;
    }
    return r;
}

/// 1/1!, 1/3!, 1/5!, … (odd) or 1/0!, 1/2!, 1/4!, … (even), until they vanish in
/// Q2.(64N − 2).
template <int N, bool kOdd>
constexpr auto TaylorCoefficients() {
    constexpr int kCount = [] {
        Fixed<N> c = Fixed<N>::One();
        int count = 0;
        for (std::uint64_t k = kOdd ? 1 : 0; c != Fixed<N>{}; k += 2, ++count)
            c = c / ((k + 1) * (k + 2));
        return count;
    }();
    std::array<Fixed<N>, kCount> coefficients{};
    Fixed<N> c = Fixed<N>::One();
    for (std::uint64_t k = kOdd ? 1 : 0, i = 0; i < kCount; k += 2, ++i) {
        coefficients[i] = c;
        c = c / ((k + 1) * (k + 2));
    }
    return coefficients;
}

/// Σ (−1)^k c_k z^k by Horner's rule; every partial sum stays positive for z ≤ (π/4)².
template <int N, std::size_t K>
constexpr Fixed<N> AlternatingSeries(const std::array<Fixed<N>, K>& c, const Fixed<N>& z) {
    Fixed<N> sum = c[K - 1];
    for (std::size_t k = K - 1; k-- > 0;)
        sum = c[k] - z * sum;
    return sum;
}

/// The extended value nearest to ±value (value in Q2.(64N − 2), within the kernel's error
/// bound), or nothing when a half-way point lies within that bound.
template <int N>
constexpr std::optional<Float80> Rounded(bool negative, const Fixed<N>& value, bool lastTry) {
    // The error bound: the reduction's few units of the last bit, plus, for the quick
    // kernel, 2^−90 of the value (its series and table); as a power of two in units of the
    // last bit of `rest`.
    constexpr int kAbsoluteSlackBits = 10;
    constexpr int kRelativeSlackBits = N == 2 ? 38 : 0;
    int zeros = 0;
    {
        int lead = 0;
        while (lead < N && value.Words[lead] == 0)
            ++lead;
        if (lead == N)
            return Zero(negative);
        zeros = 64 * lead + std::countl_zero(value.Words[lead]);
    }
    const int slackShift = std::max(kRelativeSlackBits, kAbsoluteSlackBits + zeros + 128 - 64 * N);
    // 64 significant bits from the leading one, and the 64 bits after them.
    const auto bits = [&](int from) {  // 64 bits starting `from` bits below the top
        const int w = from / 64, b = from % 64;
        const std::uint64_t high = w < N ? value.Words[w] : 0;
        const std::uint64_t low = w + 1 < N ? value.Words[w + 1] : 0;
        return b == 0 ? high : (high << b) | (low >> (64 - b));
    };
    std::uint64_t significand = bits(zeros);
    const std::uint64_t rest = bits(zeros + 64);
    const std::uint64_t half = kIntegerBit;
    const std::uint64_t distance = rest > half ? rest - half : half - rest;
    if (!lastTry && (slackShift >= 62 || distance <= (std::uint64_t{1} << slackShift)))
        return std::nullopt;
    int field = kBias + 1 - zeros;  // the leading one is 2^(1 − zeros)
    if (rest > half || (rest == half && (significand & 1) != 0)) {
        if (++significand == 0) {
            significand = kIntegerBit;
            ++field;
        }
    }
    return Float80{significand, static_cast<std::uint16_t>(SignBits(negative) | field)};
}

/// sin |a| and cos |a| for the reduced angle a = Fraction × π/2, |a| ≤ π/4.
template <int N>
struct Pair {
    Fixed<N> Sine;
    Fixed<N> Cosine;
};

/// The series of the whole reduced angle in N words (the careful kernel).
template <int N>
constexpr Pair<N> SeriesKernel(const Fixed<N>& fraction) {
    const Fixed<N> angle = fraction * Truncated<N>(angle::kHalfPi);
    const Fixed<N> square = angle * angle;
    constexpr auto kOdd = TaylorCoefficients<N, true>();
    constexpr auto kEven = TaylorCoefficients<N, false>();
    return {angle * AlternatingSeries(kOdd, square), AlternatingSeries(kEven, square)};
}

/// floor(2^bits ÷ divisor) for 64 ≤ bits < 128 and a quotient below 2^64.
constexpr std::uint64_t ScaledReciprocal(int bits, std::uint64_t divisor) {
    return wide::Divide({std::uint64_t{1} << (bits - 64), 0}, divisor).Quotient;
}

/// The quick kernel in two words: |a| = j π/512 + t with the nearest j of 0 … 128 and
/// |t| ≤ π/1024, whose short series meet the table of sin and cos of j π/512 by the addition
/// theorems. With z = t² ≤ 2^−16.7 only the first terms need two words; the later ones are
/// summed in one word scaled to their size (a term times z^k needs 2^(16.7k) less). The
/// series stop at t^9/9! and t^8/8!; all told the error stays below 2^−100.
constexpr Pair<2> TableKernel(const Fixed<2>& fraction) {
    const std::uint64_t j = (fraction.Words[0] + (std::uint64_t{1} << 53)) >> 54;  // |f| × 256
    const Fixed<2> step{{j << 54, 0}};                                             // j ÷ 256
    const bool below = fraction < step;
    const Fixed<2> g = below ? step - fraction : fraction - step;
    const Fixed<2> t = g * Truncated<2>(angle::kHalfPi);
    const Fixed<2> z = t * t;
    const std::uint64_t z80 = (z.Words[0] << 18) | (z.Words[1] >> 46);  // z × 2^80
    const auto high = [](std::uint64_t a, std::uint64_t b) { return wide::Multiply(a, b).High; };
    // z × (one word scaled by 2^scale) as Q2.126.
    const auto times = [&](std::uint64_t scaled, int scale) {
        const wide::U128 p = wide::ShiftRightSticky(wide::Multiply(z80, scaled), 80 + scale - 126);
        return Fixed<2>{{p.High, p.Low & ~std::uint64_t{1}}};
    };
    // sin t = t (1 − z (1/6 − z (1/120 − z (1/5040 − z/9!)))).
    constexpr std::uint64_t kS3 = ScaledReciprocal(76, 5040), kS4 = ScaledReciprocal(76, 362880);
    constexpr std::uint64_t kS2 = ScaledReciprocal(70, 120);
    const std::uint64_t s3 = kS3 - (high(z80, kS4) >> 16);  // × 2^76
    const std::uint64_t s2 = kS2 - (high(z80, s3) >> 22);   // × 2^70
    constexpr Fixed<2> kSixth = Fixed<2>::One() / 6;
    const Fixed<2> s1 = kSixth - times(s2, 70);
    const Fixed<2> sineT = t * (Fixed<2>::One() - z * s1);
    // cos t = 1 − z (1/2 − z (1/24 − z (1/720 − z/8!))).
    constexpr std::uint64_t kC3 = ScaledReciprocal(73, 720), kC4 = ScaledReciprocal(73, 40320);
    constexpr std::uint64_t kC2 = ScaledReciprocal(68, 24);
    const std::uint64_t c3 = kC3 - (high(z80, kC4) >> 16);  // × 2^73
    const std::uint64_t c2 = kC2 - (high(z80, c3) >> 21);   // × 2^68
    constexpr Fixed<2> kHalf = Fixed<2>::One() / 2;
    const Fixed<2> c1 = kHalf - times(c2, 68);
    const Fixed<2> cosineT = Fixed<2>::One() - z * c1;

    const Fixed<2> sineJ{{angle::kSineSteps[2 * j], angle::kSineSteps[2 * j + 1]}};
    const Fixed<2> cosineJ{{angle::kCosineSteps[2 * j], angle::kCosineSteps[2 * j + 1]}};
    // sin(jπ/512 ± t) = sin·cos t ± cos·sin t; cos(jπ/512 ± t) = cos·cos t ∓ sin·sin t; both
    // stay positive for an angle in [0, π/4].
    const Fixed<2> sc = sineJ * cosineT, cs = cosineJ * sineT;
    const Fixed<2> cc = cosineJ * cosineT, ss = sineJ * sineT;
    return {below ? sc - cs : sc + cs, below ? cc + ss : cc - ss};
}

/// sin x or cos x for finite x = m × 2^e in N-word precision, or nothing when it cannot be
/// rounded surely at that precision.
template <int N>
constexpr std::optional<Float80> SineOrCosine(bool negative, std::uint64_t m, int e, bool cosine,
                                              bool lastTry) {
    const Reduced<N> r = ReduceByHalfPi<N>(m, e);
    Pair<N> kernel;
    if constexpr (N == 2) {
        kernel = TableKernel(r.Fraction);
    } else {
        kernel = SeriesKernel<N>(r.Fraction);
    }
    // sin(q π/2 + a) is sin a, cos a, −sin a, −cos a for q = 0 … 3; cos is a quadrant ahead.
    const int quadrant = (r.Quadrant + (cosine ? 1 : 0)) & 3;
    const bool useCosine = (quadrant & 1) != 0;
    bool resultNegative = (quadrant & 2) != 0;
    if (!useCosine)
        resultNegative = resultNegative != r.Negative;  // sin(−a) = −sin a
    // sin(−x) = −sin x; cos(−x) = cos x.
    if (negative && !cosine)
        resultNegative = !resultNegative;
    return Rounded(resultNegative, useCosine ? kernel.Cosine : kernel.Sine, lastTry);
}

}  // namespace trig

/// sin x or cos x, the extended value nearest to the exact one. NaNs pass (a signalling one
/// is invalid); an infinity is invalid. Below 2^−32 in magnitude, sin x rounds to x itself
/// and cos x to 1.
constexpr Float80 SineOrCosine(Float80 x, bool cosine, unsigned& flags) {
    const Kind kind = KindOf(x);
    if (IsNaNKind(kind) || kind == Kind::Unsupported)
        return PropagateNaN(x, kind, x, kind, flags);
    if (kind == Kind::Infinity) {
        flags |= kInvalid;
        return kIndefinite;
    }
    constexpr Float80 kOne{kIntegerBit, kBias};
    if (kind == Kind::Zero)
        return cosine ? kOne : x;
    const Unpacked u = Normalised(x);
    if (u.Exponent < kBias - 32)
        return cosine ? kOne : Canonical(x);
    const int e = u.Exponent - kBias - 63;
    if (const auto quick = trig::SineOrCosine<2>(SignOf(x), u.Significand, e, cosine, false))
        return *quick;
    if (const auto careful = trig::SineOrCosine<4>(SignOf(x), u.Significand, e, cosine, false))
        return *careful;
    return *trig::SineOrCosine<8>(SignOf(x), u.Significand, e, cosine, true);
}

constexpr Float80 Sine(Float80 x, unsigned& flags) {
    return SineOrCosine(x, false, flags);
}
constexpr Float80 Cosine(Float80 x, unsigned& flags) {
    return SineOrCosine(x, true, flags);
}

}  // namespace velmora::soft
