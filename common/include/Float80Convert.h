#pragma once

#include <bit>
#include <cstdint>

#include "Float80.h"

// Conversions between the software extended format and double and 64-bit integers, and
// comparisons, with the x87's results and faults.
namespace velmora::soft {

/// A double, exactly; a signalling NaN is quieted and reported invalid.
VELMORA_QUICK constexpr Float80 FromDouble(double value, unsigned& flags) {
    const auto bits = BitCast<std::uint64_t>(value);
    const bool negative = (bits >> 63) != 0;
    const int field = static_cast<int>((bits >> 52) & 0x7FF);
    const std::uint64_t fraction = bits & ((std::uint64_t{1} << 52) - 1);
    if (static_cast<unsigned>(field) - 1u < 0x7FEu) {  // normal
        return {kIntegerBit | (fraction << 11),
                static_cast<std::uint16_t>(SignBits(negative) | (field - 1023 + kBias))};
    }
    if (field == 0x7FF) {
        if (fraction == 0)
            return Infinity(negative);
        if ((fraction & (std::uint64_t{1} << 51)) == 0)
            flags |= kInvalid;
        return {kIntegerBit | kQuietBit | (fraction << 11),
                static_cast<std::uint16_t>(SignBits(negative) | kMaxField)};
    }
    if (field == 0) {
        if (fraction == 0)
            return Zero(negative);
        // fraction × 2^−1074, normalised.
        const int shift = std::countl_zero(fraction);
        return {fraction << shift,
                static_cast<std::uint16_t>(SignBits(negative) | (kBias - 1074 + 63 - shift))};
    }
    return Zero(negative);  // not reached: every field is handled above
}

/// The double nearest to x, ties to even; beyond the double range infinity and kOverflow,
/// below it a subnormal double or zero (silently). NaNs keep their sign and top payload
/// bits; a signalling NaN or an unsupported encoding is invalid.
constexpr double ToDoubleGeneral(Float80 x, unsigned& flags);

VELMORA_QUICK constexpr double ToDouble(Float80 x, unsigned& flags) {
    if (IsNormal(x)) {
        // A normal value whose double is normal too: 53 bits kept, 11 rounded off.
        const int field = FieldOf(x) - kBias + 1023;
        if (static_cast<unsigned>(field) - 1u < 0x7FEu) {
            std::uint64_t mantissa = x.Significand >> 11;  // with the hidden bit 2^52
            // Up when the 11 bits dropped are above half (0x400), or half with an odd
            // mantissa: exactly then rest + 0x3FF + (the mantissa's lowest bit) reaches
            // 0x800. Added without a branch, which would be mispredicted half the time.
            const std::uint64_t rest = x.Significand & 0x7FF;
            mantissa += (rest + 0x3FF + (mantissa & 1)) >> 11;
            const std::uint64_t bits = (std::uint64_t(field - 1) << 52) + mantissa;
            if ((bits >> 52) < 0x7FF)
                return BitCast<double>((std::uint64_t{SignOf(x)} << 63) | bits);
        }
    }
    return ToDoubleGeneral(x, flags);
}

/// ToDouble for the values beyond its quick path: zeros, subnormals, infinities, NaNs, and
/// results outside the double's normal range.
constexpr double ToDoubleGeneral(Float80 x, unsigned& flags) {
    const Kind kind = KindOf(x);
    const std::uint64_t sign = std::uint64_t{SignOf(x)} << 63;
    constexpr std::uint64_t kExponentMask = std::uint64_t{0x7FF} << 52;
    constexpr std::uint64_t kFractionMask = (std::uint64_t{1} << 52) - 1;
    switch (kind) {
        case Kind::Unsupported:
            flags |= kInvalid;
            return BitCast<double>(std::uint64_t{0xFFF8'0000'0000'0000});
        case Kind::SignalingNaN:
        case Kind::QuietNaN:
            if (kind == Kind::SignalingNaN)
                flags |= kInvalid;
            return BitCast<double>(sign | kExponentMask | (std::uint64_t{1} << 51) |
                                   ((x.Significand >> 11) & kFractionMask));
        case Kind::Infinity:
            return BitCast<double>(sign | kExponentMask);
        case Kind::Zero:
            return BitCast<double>(sign);
        case Kind::Finite:
            break;
    }
    const Unpacked u = Normalised(x);
    const int field = u.Exponent - kBias + 1023;  // the double's biased exponent
    if (field >= 0x7FF) {
        flags |= kOverflow;
        return BitCast<double>(sign | kExponentMask);
    }
    // Keep 53 bits, or fewer on the subnormal grid (field ≤ 0); `rest` holds the dropped
    // bits from its top down, or just a sticky 1 when all of them lie below half a unit.
    const int shift = 11 + (field < 1 ? 1 - field : 0);
    std::uint64_t mantissa = shift < 64 ? u.Significand >> shift : 0;
    const std::uint64_t rest = shift < 64    ? u.Significand << (64 - shift)
                               : shift == 64 ? u.Significand
                                             : 1;
    if (rest > kIntegerBit || (rest == kIntegerBit && (mantissa & 1) != 0))
        ++mantissa;
    // The mantissa's hidden bit (2^52) adds one to the exponent field; a rounding carry into
    // 2^53 adds another, and a subnormal rounded up to 2^52 becomes the smallest normal.
    const std::uint64_t bits = (field < 1 ? 0 : (std::uint64_t(field - 1) << 52)) + mantissa;
    if ((bits & kExponentMask) == kExponentMask) {
        flags |= kOverflow;
        return BitCast<double>(sign | kExponentMask);
    }
    return BitCast<double>(sign | bits);
}

/// An integer, exactly.
constexpr Float80 FromUnsigned(std::uint64_t magnitude, bool negative = false) {
    if (magnitude == 0)
        return Zero(negative);
    const int shift = std::countl_zero(magnitude);
    return {magnitude << shift,
            static_cast<std::uint16_t>(SignBits(negative) | (kBias + 63 - shift))};
}

constexpr Float80 FromInteger(std::int64_t value) {
    const bool negative = value < 0;
    const std::uint64_t magnitude =
        negative ? ~static_cast<std::uint64_t>(value) + 1 : static_cast<std::uint64_t>(value);
    // +0 for zero: an integer zero has no sign.
    return magnitude == 0 ? Zero(false) : FromUnsigned(magnitude, negative);
}

/// x truncated toward zero; NaNs, infinities and values outside the 64-bit range give the
/// integer indefinite −2^63 and kInvalid.
constexpr std::int64_t ToInteger(Float80 x, unsigned& flags) {
    constexpr std::int64_t kIntegerIndefinite = INT64_MIN;
    const Kind kind = KindOf(x);
    if (kind == Kind::Zero)
        return 0;
    if (kind != Kind::Finite) {
        flags |= kInvalid;
        return kIntegerIndefinite;
    }
    const Unpacked u = Normalised(x);
    const int unbiased = u.Exponent - kBias;
    if (unbiased < 0)
        return 0;
    if (unbiased >= 63) {
        if (SignOf(x) && unbiased == 63 && u.Significand == kIntegerBit)
            return kIntegerIndefinite;  // exactly −2^63
        flags |= kInvalid;
        return kIntegerIndefinite;
    }
    const std::uint64_t magnitude = u.Significand >> (63 - unbiased);
    return SignOf(x) ? -static_cast<std::int64_t>(magnitude) : static_cast<std::int64_t>(magnitude);
}

enum class Ordering { Less, Equal, Greater, Unordered };

/// Compares a with b. A NaN or an unsupported encoding makes them unordered; the relations
/// <, ≤, >, ≥ (`signalling`) report that as invalid, = and ≠ only for a signalling NaN or an
/// unsupported encoding.
constexpr Ordering Compare(Float80 a, Float80 b, bool signalling, unsigned& flags) {
    const Kind ka = KindOf(a), kb = KindOf(b);
    const auto unusual = [](Kind k) { return k == Kind::SignalingNaN || k == Kind::Unsupported; };
    if (IsNaNKind(ka) || IsNaNKind(kb) || ka == Kind::Unsupported || kb == Kind::Unsupported) {
        if (signalling || unusual(ka) || unusual(kb))
            flags |= kInvalid;
        return Ordering::Unordered;
    }
    if (ka == Kind::Zero && kb == Kind::Zero)
        return Ordering::Equal;
    const bool negativeA = ka != Kind::Zero && SignOf(a);
    const bool negativeB = kb != Kind::Zero && SignOf(b);
    if (negativeA != negativeB)
        return negativeA ? Ordering::Less : Ordering::Greater;
    // Magnitudes by (exponent field, significand); a subnormal counts as field 1.
    const auto key = [](Float80 x) {
        return wide::U128{static_cast<std::uint64_t>(FieldOf(x) == 0 ? 1 : FieldOf(x)),
                          x.Significand};
    };
    const wide::U128 ma = ka == Kind::Zero ? wide::U128{} : key(a);
    const wide::U128 mb = kb == Kind::Zero ? wide::U128{} : key(b);
    if (ma == mb)
        return Ordering::Equal;
    return (ma < mb) != negativeA ? Ordering::Less : Ordering::Greater;
}

}  // namespace velmora::soft
