#pragma once

#include <cstdint>
#include <iomanip>
#include <ostream>

#include "Extended.h"
#include "Float80Convert.h"

// Writing extended values in tests the same way on every backend and platform.
namespace velmora {

/// The extended value with this encoding: sign and biased exponent, then the significand.
/// For constants beyond what an _ext literal takes (1e4000 is Bits80(0x73E6, 0xD1BA…)).
constexpr Extended Bits80(std::uint16_t signExponent, std::uint64_t significand) {
    return Extended::FromBits({significand, signExponent});
}

/// The next extended value above a positive finite x.
constexpr Extended NextUp(Extended x) {
    soft::Float80 bits = x.Bits();
    if (++bits.Significand == 0) {
        bits.Significand = soft::kIntegerBit;
        ++bits.SignExponent;
    }
    return Extended::FromBits(bits);
}

/// The next extended value below a positive normal x.
constexpr Extended NextDown(Extended x) {
    soft::Float80 bits = x.Bits();
    if (bits.Significand-- == soft::kIntegerBit) {
        bits.Significand = ~std::uint64_t{0};
        --bits.SignExponent;
    }
    return Extended::FromBits(bits);
}

/// A test message's view of an extended value: its nearest double and its encoding. Writing
/// it raises no fault, so messages built before a check of the flags do not disturb them.
inline std::ostream& operator<<(std::ostream& out, Extended x) {
    unsigned ignored = 0;
    const soft::Float80 bits = x.Bits();
    const auto flags = out.flags();
    out << soft::ToDouble(bits, ignored) << " [" << std::hex << std::setfill('0') << std::setw(4)
        << bits.SignExponent << ':' << std::setw(16) << bits.Significand << ']';
    out.flags(flags);
    return out;
}

}  // namespace velmora
