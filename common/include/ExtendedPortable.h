#pragma once

#include <concepts>
#include <type_traits>

#include "Float80Arithmetic.h"
#include "Float80Convert.h"

namespace velmora {

namespace detail {
/// The portable arithmetic's fault flags (soft::Flag bits) since they were last cleared:
/// sticky, per thread, like a floating-point unit's.
inline thread_local unsigned threadFaults = 0;

/// Runs a soft operation and adds the faults it reports to the thread's flags.
template <class Operation, class... Operands>
VELMORA_QUICK constexpr auto Checked(Operation operation, Operands... operands) {
    unsigned flags = 0;
    const auto result = operation(operands..., flags);
    if (flags != 0 && !std::is_constant_evaluated())
        threadFaults |= flags;
    return result;
}

constexpr soft::Ordering Compared(soft::Float80 a, soft::Float80 b, bool signalling) {
    return detail::Checked(soft::Compare, a, b, signalling);
}
}  // namespace detail

/// The bench's extended-precision number, computed in software: the 80-bit format with its
/// exact roundings and faults on every processor. See Extended.h.
class Extended {
  public:
    constexpr Extended() = default;
    template <std::integral Integer>
    constexpr Extended(Integer value)
        : bits_(std::is_signed_v<Integer> ? soft::FromInteger(static_cast<std::int64_t>(value))
                                          : soft::FromUnsigned(static_cast<std::uint64_t>(value))) {
    }
    VELMORA_QUICK constexpr Extended(double value)
        : bits_(detail::Checked(soft::FromDouble, value)) {}
    Extended(long double) = delete;  // made only from bits or operations, as the x87 one

    /// The double nearest to the value; beyond the double range an infinity and the
    /// overflow fault.
    VELMORA_QUICK constexpr explicit operator double() const {
        return detail::Checked(soft::ToDouble, bits_);
    }

    static constexpr Extended FromBits(soft::Float80 bits) { return Extended(bits, 0); }
    constexpr soft::Float80 Bits() const { return bits_; }

    VELMORA_QUICK friend constexpr Extended operator+(Extended a, Extended b) {
        return {detail::Checked(soft::Add, a.bits_, b.bits_), 0};
    }
    VELMORA_QUICK friend constexpr Extended operator-(Extended a, Extended b) {
        return {detail::Checked(soft::Subtract, a.bits_, b.bits_), 0};
    }
    VELMORA_QUICK friend constexpr Extended operator*(Extended a, Extended b) {
        return {detail::Checked(soft::Multiply, a.bits_, b.bits_), 0};
    }
    VELMORA_QUICK friend constexpr Extended operator/(Extended a, Extended b) {
        return {detail::Checked(soft::Divide, a.bits_, b.bits_), 0};
    }
    friend constexpr Extended operator-(Extended a) { return {soft::Negated(a.bits_), 0}; }

    constexpr Extended& operator+=(Extended other) { return *this = *this + other; }
    constexpr Extended& operator-=(Extended other) { return *this = *this - other; }
    constexpr Extended& operator*=(Extended other) { return *this = *this * other; }
    constexpr Extended& operator/=(Extended other) { return *this = *this / other; }

    friend constexpr bool operator==(Extended a, Extended b) {
        return detail::Compared(a.bits_, b.bits_, false) == soft::Ordering::Equal;
    }
    friend constexpr bool operator<(Extended a, Extended b) {
        return detail::Compared(a.bits_, b.bits_, true) == soft::Ordering::Less;
    }
    friend constexpr bool operator>(Extended a, Extended b) { return b < a; }
    friend constexpr bool operator<=(Extended a, Extended b) {
        const soft::Ordering o = detail::Compared(a.bits_, b.bits_, true);
        return o == soft::Ordering::Less || o == soft::Ordering::Equal;
    }
    friend constexpr bool operator>=(Extended a, Extended b) { return b <= a; }

    friend Extended Sqrt(Extended x) { return {detail::Checked(soft::SquareRoot, x.bits_), 0}; }

  private:
    constexpr Extended(soft::Float80 bits, int) : bits_(bits) {}

    soft::Float80 bits_;
};

Extended Sqrt(Extended x);

/// The faults raised since the flags were last cleared, as soft::Flag bits.
inline unsigned RaisedExtendedFaults() {
    return detail::threadFaults;
}
/// Clears the flags.
inline void ClearExtendedFaults() {
    detail::threadFaults = 0;
}
/// Adds faults to the flags.
inline void RaiseExtendedFaults(unsigned flags) {
    detail::threadFaults |= flags;
}

/// The caller's fault flags, held while a stretch of arithmetic runs with clean ones;
/// Restore puts them back. The software format has no other controls to hold.
class HeldFaults {
  public:
    explicit HeldFaults(bool = false) noexcept : saved_(detail::threadFaults) {
        detail::threadFaults = 0;
    }
    HeldFaults(const HeldFaults&) = delete;
    HeldFaults& operator=(const HeldFaults&) = delete;
    void Restore() noexcept { detail::threadFaults = saved_; }

  private:
    unsigned saved_;
};

/// Nothing to keep in order: the portable flags are ordinary memory.
template <class T>
inline void Settle(T&) noexcept {}

}  // namespace velmora
