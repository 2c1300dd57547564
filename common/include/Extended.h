#pragma once

#include <cstdint>

#include "Float80.h"

// The backend is chosen when the build is configured (VELMORA_EXTENDED=x87|portable): the
// x87 unit where there is one, the software format everywhere else. Both give the same bits
// for every operation below, and report the same faults.
#if VELMORA_EXTENDED_X87
#include "ExtendedX87.h"
#else
#include "ExtendedPortable.h"
#endif

namespace velmora {

// The bench's extended-precision number: every variable of the experiment and every typed
// value, in the 80-bit format (64-bit significand, 15-bit exponent). Every operation rounds
// to nearest, ties to even, and keeps subnormals. An overflow, a division by zero and an
// invalid operation are not errors by themselves: they raise the backend's fault flags
// (RaisedExtendedFaults), which ArithmeticCheck turns into the bench's errors.
//
// Made from integers and doubles exactly; written in the code as literals with the _ext
// suffix (3.1415926535_ext is the extended value nearest to that decimal). Turned into a
// double by static_cast, with the overflow fault beyond the double range.

/// sin x and cos x for any finite x (an infinity is invalid): the extended value nearest to
/// the exact one, computed in the software format on every backend, so that each platform
/// turns and walks the probe by the same bits. (A C library's long double functions are not
/// used: glibc's sinl and cosl are one unit in the last place off for about 2.5 % of angles,
/// and other libraries differ from glibc's.)
Extended Sin(Extended x);
Extended Cos(Extended x);

constexpr Extended Abs(Extended x) {
    return Extended::FromBits(soft::Absolute(x.Bits()));
}
constexpr bool SignBit(Extended x) {
    return soft::SignOf(x.Bits());
}
constexpr bool IsNaN(Extended x) {
    return soft::IsNaNKind(soft::KindOf(x.Bits()));
}
constexpr bool IsInfinite(Extended x) {
    return soft::KindOf(x.Bits()) == soft::Kind::Infinity;
}
constexpr bool IsFinite(Extended x) {
    const soft::Kind k = soft::KindOf(x.Bits());
    return k == soft::Kind::Zero || k == soft::Kind::Finite;
}

/// x × 2^n, exact unless it leaves the range (rounded on the subnormal grid, or an infinity
/// with the overflow fault).
Extended ScaleByPowerOfTwo(Extended x, int n);

/// The largest finite value, the smallest normal and subnormal ones, infinity, and the quiet
/// NaN with no payload.
inline constexpr Extended kLargestExtended =
    Extended::FromBits({~std::uint64_t{0}, soft::kMaxField - 1});
inline constexpr Extended kSmallestNormalExtended = Extended::FromBits({soft::kIntegerBit, 1});
inline constexpr Extended kSmallestSubnormalExtended = Extended::FromBits({1, 0});
inline constexpr Extended kInfiniteExtended = Extended::FromBits(soft::Infinity(false));
inline constexpr Extended kNaNExtended =
    Extended::FromBits({soft::kIntegerBit | soft::kQuietBit, soft::kMaxField});

namespace literals {

/// A decimal literal of at most 19 significant digits and a scale of at most 10^±27 (the
/// exponent less the fraction digits): its nearest extended value, by one exactly rounded
/// product or quotient of the digits with an exact power of ten.
consteval Extended operator""_ext(const char* text) {
    std::uint64_t digits = 0;
    int significant = 0, scale = 0, pendingZeros = 0;  // zeros of the fraction not yet taken
    bool fraction = false;
    const char* at = text;
    for (; *at != '\0' && *at != 'e' && *at != 'E'; ++at) {
        if (*at == '.') {
            fraction = true;
            continue;
        }
        if (*at == '\'')
            continue;
        if (*at < '0' || *at > '9')
            throw "an _ext literal is decimal: digits, a point and an exponent";
        if (fraction && *at == '0') {
            ++pendingZeros;
            continue;
        }
        for (; pendingZeros > 0; --pendingZeros, --scale) {
            digits *= 10;
            significant += digits != 0 ? 1 : 0;
        }
        if (digits != 0 || *at != '0')
            ++significant;
        digits = digits * 10 + static_cast<std::uint64_t>(*at - '0');
        scale -= fraction ? 1 : 0;
    }
    if (*at != '\0') {
        ++at;
        const bool negative = *at == '-';
        if (*at == '-' || *at == '+')
            ++at;
        int exponent = 0;
        for (; *at != '\0'; ++at) {
            if (*at < '0' || *at > '9')
                throw "an _ext literal is decimal: digits, a point and an exponent";
            exponent = exponent * 10 + (*at - '0');
        }
        scale += negative ? -exponent : exponent;
    }
    if (significant > 19 || scale > 27 || scale < -27)
        throw "an _ext literal has at most 19 significant digits and a scale within 10^±27";
    Extended power = 1;
    for (int i = 0; i < (scale < 0 ? -scale : scale); ++i)
        power = power * 10;  // exact: 10^27 = 2^27 × 5^27 and 5^27 < 2^64
    return scale < 0 ? Extended(digits) / power : Extended(digits) * power;
}

}  // namespace literals

using namespace literals;

}  // namespace velmora
