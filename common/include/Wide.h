#pragma once

#include <bit>
#include <cstdint>
#include <initializer_list>

// 128-bit unsigned arithmetic for the software extended format and the exact number texts:
// the compiler's unsigned __int128 where it has one, otherwise 64-bit halves.
// VELMORA_WIDE_HALVES forces the halves, so that they are tested on a compiler with __int128;
// it must be defined for every file of a program or none (float80_halves_tests compiles the
// headers it tests on its own), as the two make different functions of one name.
#if defined(__SIZEOF_INT128__) && !defined(VELMORA_WIDE_HALVES)
#define VELMORA_WIDE_NATIVE 1
#endif

namespace velmora::wide {

/// An unsigned 128-bit number, High × 2^64 + Low.
struct U128 {
    std::uint64_t High = 0;
    std::uint64_t Low = 0;

    friend constexpr bool operator==(const U128&, const U128&) = default;
    /// Without branches (bitwise operators, not && and ||): in the extended arithmetic the
    /// outcome is as good as random, and a mispredicted branch costs more than the comparison.
    friend constexpr bool operator<(const U128& a, const U128& b) {
        return (a.High < b.High) | ((a.High == b.High) & (a.Low < b.Low));
    }
    friend constexpr bool operator<=(const U128& a, const U128& b) { return !(b < a); }
};

constexpr U128 Add(U128 a, U128 b) {
    const std::uint64_t low = a.Low + b.Low;
    return {a.High + b.High + (low < a.Low ? 1u : 0u), low};
}

/// a − b modulo 2^128: the difference for b ≤ a, its two's complement otherwise.
constexpr U128 Subtract(U128 a, U128 b) {
    return {a.High - b.High - (a.Low < b.Low ? 1u : 0u), a.Low - b.Low};
}

/// a × 2^shift, for shift < 128; bits shifted out are lost.
constexpr U128 ShiftLeft(U128 a, int shift) {
    if (shift >= 64)
        return {a.Low << (shift - 64), 0};
    // Low's bits moving up, by two shifts that stay below 64 for any shift from 0 to 63,
    // so that a shift of 0 needs no branch of its own.
    return {(a.High << shift) | ((a.Low >> 1) >> (63 - shift)), a.Low << shift};
}

/// floor(a ÷ 2^shift) with every bit shifted out folded into the lowest bit ("sticky"), so
/// that the result still tells a rounding whether anything was dropped. Any shift ≥ 0.
constexpr U128 ShiftRightSticky(U128 a, int shift) {
    if (shift < 64) {
        // The bits lost are Low's lowest `shift`; High's moving down take two shifts that
        // stay below 64, so that a shift of 0 needs no branch of its own.
        const std::uint64_t lost = a.Low & ((std::uint64_t{1} << shift) - 1);
        return {a.High >> shift,
                (a.Low >> shift) | ((a.High << 1) << (63 - shift)) | (lost != 0 ? 1u : 0u)};
    }
    if (shift >= 128)
        return {0, (a.High | a.Low) != 0 ? 1u : 0u};
    const int s = shift - 64;
    const std::uint64_t lost = (s == 0 ? 0 : a.High << (64 - s)) | a.Low;
    return {0, (s == 0 ? a.High : a.High >> s) | (lost != 0 ? 1u : 0u)};
}

/// The number of leading zero bits of a (128 for 0).
constexpr int CountLeadingZeros(U128 a) {
    return a.High != 0 ? std::countl_zero(a.High) : 64 + std::countl_zero(a.Low);
}

/// The full product a × b.
constexpr U128 Multiply(std::uint64_t a, std::uint64_t b) {
#ifdef VELMORA_WIDE_NATIVE
    __extension__ const unsigned __int128 product = static_cast<unsigned __int128>(a) * b;
    return {static_cast<std::uint64_t>(product >> 64), static_cast<std::uint64_t>(product)};
#else
    const std::uint64_t aLow = a & 0xFFFFFFFF, aHigh = a >> 32;
    const std::uint64_t bLow = b & 0xFFFFFFFF, bHigh = b >> 32;
    const std::uint64_t lowLow = aLow * bLow;
    const std::uint64_t highLow = aHigh * bLow;
    const std::uint64_t lowHigh = aLow * bHigh;
    const std::uint64_t middle = (lowLow >> 32) + (highLow & 0xFFFFFFFF) + (lowHigh & 0xFFFFFFFF);
    return {aHigh * bHigh + (highLow >> 32) + (lowHigh >> 32) + (middle >> 32),
            (middle << 32) | (lowLow & 0xFFFFFFFF)};
#endif
}

/// Quotient and remainder of a 128-bit dividend by a 64-bit divisor.
struct Division {
    std::uint64_t Quotient = 0;
    std::uint64_t Remainder = 0;
};

/// n ÷ d for n.High < d, so that the quotient fits 64 bits.
constexpr Division Divide(U128 n, std::uint64_t d) {
#ifdef VELMORA_WIDE_NATIVE
    __extension__ using Native = unsigned __int128;
    const Native dividend = (static_cast<Native>(n.High) << 64) | n.Low;
    const auto quotient = static_cast<std::uint64_t>(dividend / d);
    return {quotient, n.Low - quotient * d};
#else
    // Long division by 32-bit digits with a normalised divisor (Knuth's algorithm D for a
    // two-digit divisor): each estimated digit is corrected at most twice.
    const int shift = std::countl_zero(d);
    d <<= shift;
    const U128 u = ShiftLeft(n, shift);
    const std::uint64_t dHigh = d >> 32, dLow = d & 0xFFFFFFFF;
    std::uint64_t remainder = u.High;
    std::uint64_t quotient = 0;
    for (const std::uint64_t digit : {u.Low >> 32, u.Low & 0xFFFFFFFF}) {
        std::uint64_t q = remainder / dHigh;
        std::uint64_t r = remainder % dHigh;
        while (q > 0xFFFFFFFF || q * dLow > ((r << 32) | digit)) {
            --q;
            r += dHigh;
            if (r > 0xFFFFFFFF)
                break;
        }
        remainder = ((remainder << 32) | digit) - q * d;
        quotient = (quotient << 32) | q;
    }
    return {quotient, remainder >> shift};
#endif
}

}  // namespace velmora::wide
