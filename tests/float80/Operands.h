#pragma once

#include <algorithm>
#include <cstdint>
#include <random>

#include "Float80.h"

// Operands for proving the software extended format against the x87: random encodings
// biased toward where rounding and faults are hard to get right.
namespace velmora::operands {

using Random = std::mt19937_64;

inline std::uint64_t Bits(Random& random) {
    return random();
}
inline int Below(Random& random, int n) {
    return static_cast<int>(random() % static_cast<std::uint64_t>(n));
}

/// A significand: random, or with long runs of ones or zeros below the integer bit (so that
/// sums, products and quotients land on or next to ties), or a few bits only.
inline std::uint64_t Significand(Random& random) {
    const std::uint64_t r = Bits(random);
    switch (Below(random, 6)) {
        case 0:
            return soft::kIntegerBit | (r >> Below(random, 64));  // ones only near the bottom
        case 1:
            return ~std::uint64_t{0} << Below(random, 64);  // ones then zeros
        case 2:
            return soft::kIntegerBit | (std::uint64_t{1} << Below(random, 63));
        case 3:
            return soft::kIntegerBit | (~std::uint64_t{0} >> Below(random, 64));
        default:
            return soft::kIntegerBit | r;
    }
}

/// A biased exponent field: anywhere, at the ends of the range, around 1 and the bias.
inline int Field(Random& random) {
    switch (Below(random, 6)) {
        case 0:
            return Below(random, 70);  // subnormal and tiny
        case 1:
            return soft::kMaxField - 1 - Below(random, 70);  // the overflow edge
        case 2:
            return soft::kBias - 70 + Below(random, 140);  // ordinary numbers
        case 3:
            return soft::kBias - 1100 + Below(random, 2200);  // the double range and its edges
        default:
            return 1 + Below(random, soft::kMaxField - 1);
    }
}

/// Any encoding, mostly finite: zeros, subnormals, infinities, quiet and signalling NaNs,
/// and now and then an unnormal or pseudo-denormal the unit rejects or reads specially.
inline soft::Float80 Operand(Random& random) {
    const auto sign = static_cast<std::uint16_t>((random() & 1) << 15);
    const int pick = Below(random, 100);
    if (pick < 3)
        return {0, sign};
    if (pick < 5)
        return {soft::kIntegerBit, static_cast<std::uint16_t>(sign | soft::kMaxField)};
    if (pick < 7) {  // NaN: quiet or signalling (half each), random payload
        std::uint64_t s = soft::kIntegerBit | (Bits(random) >> Below(random, 64));
        if (Below(random, 2) == 0)
            s |= soft::kQuietBit;
        if ((s << 1) == 0)
            s |= 1;
        return {s, static_cast<std::uint16_t>(sign | soft::kMaxField)};
    }
    if (pick < 8) {  // the encodings the unit reads specially or rejects
        const std::uint64_t fraction = Bits(random) & ~soft::kIntegerBit;
        const auto field = [sign](int f) { return static_cast<std::uint16_t>(sign | f); };
        switch (Below(random, 4)) {
            case 0:  // pseudo-denormal: the integer bit set with the field 0
                return {fraction | soft::kIntegerBit, sign};
            case 1:  // unnormal, or pseudo-zero: the integer bit clear with a field
                return {fraction >> Below(random, 64), field(std::max(Field(random), 1))};
            case 2:  // pseudo-NaN
                return {fraction | 1, field(soft::kMaxField)};
            default:  // pseudo-infinity
                return {0, field(soft::kMaxField)};
        }
    }
    if (pick < 15)  // subnormal
        return {Significand(random) >> (1 + Below(random, 63)), sign};
    return {Significand(random), static_cast<std::uint16_t>(sign | Field(random))};
}

/// A second operand made to meet `a`: the same or a neighbouring exponent (cancellation and
/// ties), exponents adding up to the ends of the range (products and quotients at the
/// overflow and subnormal edges), or an independent one.
inline soft::Float80 Partner(soft::Float80 a, Random& random) {
    const int field = soft::FieldOf(a);
    const auto sign = static_cast<std::uint16_t>((random() & 1) << 15);
    const auto at = [&](int f) {
        f = f < 0 ? 0 : f > soft::kMaxField - 1 ? soft::kMaxField - 1 : f;
        return soft::Float80{f == 0 ? Significand(random) >> 1 : Significand(random),
                             static_cast<std::uint16_t>(sign | f)};
    };
    switch (Below(random, 8)) {
        case 0:  // a neighbour: a ± a few units in the last place
            return {a.Significand + static_cast<std::uint64_t>(Below(random, 9) - 4),
                    static_cast<std::uint16_t>(a.SignExponent ^ (random() & 0x8000))};
        case 1:
            return at(field - 66 + Below(random, 132));  // sums with ties and cancellation
        case 2:
            return at(2 * soft::kBias + Below(random, 130) - 65 - field);  // product near 1
        case 3:
            return at(soft::kBias + soft::kMaxField - 1 - field - Below(random, 3));  // overflow
        case 4:
            return at(soft::kBias - field + Below(random, 70) - 5);  // product near subnormal
        case 5:
            return at(field - soft::kMaxField + soft::kBias + Below(random, 3));  // quotient edge
        default:
            return Operand(random);
    }
}

}  // namespace velmora::operands
