#pragma once

#include <cfenv>
#include <cstdint>
#include <cstring>

#include "Float80.h"

// The x87 unit itself, as the reference the software format is proven against: every
// operation runs on long double (the x87 80-bit format on x86) with the exception flags
// cleared before and read after. Only for x86 targets.
namespace velmora::reference {

static_assert(sizeof(long double) >= 10 && __LDBL_MANT_DIG__ == 64,
              "the reference needs the x87 80-bit long double");

inline long double ToNative(soft::Float80 x) {
    long double value = 0;
    std::memcpy(&value, &x.Significand, sizeof x.Significand);
    std::memcpy(reinterpret_cast<unsigned char*>(&value) + 8, &x.SignExponent, 2);
    return value;
}

inline soft::Float80 FromNative(long double value) {
    soft::Float80 x;
    std::memcpy(&x.Significand, &value, sizeof x.Significand);
    std::memcpy(&x.SignExponent, reinterpret_cast<const unsigned char*>(&value) + 8, 2);
    return x;
}

/// The unit's flags as the software format's flag word.
inline unsigned RaisedFlags() {
    const int raised = std::fetestexcept(FE_ALL_EXCEPT);
    return ((raised & FE_INVALID) ? soft::kInvalid : 0u) |
           ((raised & FE_DIVBYZERO) ? soft::kDivisionByZero : 0u) |
           ((raised & FE_OVERFLOW) ? soft::kOverflow : 0u);
}

/// Runs `operation` on the unit with clean flags and returns its result with the flags it
/// raised. The operands pass through volatile storage, so the compiler neither folds the
/// operation nor moves it across the flag accesses.
template <class Result, class Operation>
Result Measured(Operation&& operation, unsigned& flags) {
    std::feclearexcept(FE_ALL_EXCEPT);
    volatile Result result = operation();
    flags = RaisedFlags();
    return result;
}

}  // namespace velmora::reference
