#pragma once

#include <cfenv>
#include <cstdint>
#include <ostream>

namespace velmora {

/// What a caller can observe of the floating-point unit: the raised flags, the rounding
/// mode, and on x86 the x87 control word and the SSE control and status register.
struct FloatingPointState {
    int flags = 0;
    int rounding = 0;
    std::uint16_t x87Control = 0;
    std::uint32_t sseControlStatus = 0;

    bool operator==(const FloatingPointState&) const = default;
};

inline std::ostream& operator<<(std::ostream& out, const FloatingPointState& s) {
    return out << "flags " << s.flags << ", rounding " << s.rounding << ", x87 control "
               << s.x87Control << ", mxcsr " << s.sseControlStatus;
}

/// The floating-point state as it is now; reading it changes nothing.
inline FloatingPointState ObserveFloatingPoint() {
    FloatingPointState state;
    state.flags = std::fetestexcept(FE_ALL_EXCEPT);
    state.rounding = std::fegetround();
    asm volatile("fnstcw %0" : "=m"(state.x87Control));
    asm volatile("stmxcsr %0" : "=m"(state.sseControlStatus));
    return state;
}

/// Sets the x87's precision control: 0x000 single, 0x200 double, 0x300 extended.
inline void SetX87Precision(std::uint16_t precisionBits) {
    std::uint16_t control = 0;
    asm volatile("fnstcw %0" : "=m"(control));
    control = static_cast<std::uint16_t>((control & ~0x0300) | precisionBits);
    asm volatile("fldcw %0" : : "m"(control));
}

/// A caller's environment unlike the default one.
struct CallerEnvironment {
    const char* name;
    int rounding;
    int raisedFlags;
    std::uint16_t x87Precision;  // 0x000 single, 0x200 double, 0x300 extended
};

/// Callers that round every way, at every x87 precision, with flags already raised.
inline const CallerEnvironment kCallers[] = {
    {"default", FE_TONEAREST, 0, 0x300},
    {"upward, double precision, inexact and division by zero raised", FE_UPWARD,
     FE_INEXACT | FE_DIVBYZERO, 0x200},
    {"toward zero, single precision, every flag raised", FE_TOWARDZERO, FE_ALL_EXCEPT, 0x000},
    {"downward, overflow raised", FE_DOWNWARD, FE_OVERFLOW, 0x300},
};

/// Sets the floating-point environment to `caller`'s, from the default one.
inline void EnterCallerEnvironment(const CallerEnvironment& caller) {
    std::fesetenv(FE_DFL_ENV);
    std::fesetround(caller.rounding);
    SetX87Precision(caller.x87Precision);
    std::feraiseexcept(caller.raisedFlags);
}

}  // namespace velmora
