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

}  // namespace velmora
