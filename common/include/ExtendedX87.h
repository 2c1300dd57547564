#pragma once

#include <array>
#include <bit>
#include <cfenv>
#include <concepts>
#include <limits>

#include "Float80.h"

namespace velmora {

static_assert(std::numeric_limits<long double>::digits == 64 &&
                  std::numeric_limits<long double>::max_exponent == 16384,
              "the x87 backend needs long double in the x87 80-bit format");

/// The bench's extended-precision number on the x87 unit: long double, whose operations the
/// unit makes and whose faults it flags. See Extended.h.
class Extended {
  public:
    constexpr Extended() = default;
    template <std::integral Integer>
    constexpr Extended(Integer value) : value_(static_cast<long double>(value)) {}
    constexpr Extended(double value) : value_(value) {}
    Extended(long double) = delete;  // made only from bits or operations, as the portable one

    constexpr explicit operator double() const { return static_cast<double>(value_); }

    static constexpr Extended FromBits(soft::Float80 bits) {
        struct Encoding {
            std::uint64_t significand;
            std::uint16_t signExponent;
            std::uint16_t padding[(sizeof(long double) - 10) / 2];
        };
        return Native(
            soft::BitCast<long double>(Encoding{bits.Significand, bits.SignExponent, {}}));
    }
    constexpr soft::Float80 Bits() const {
        const auto bytes = soft::BitCast<std::array<unsigned char, sizeof(long double)>>(value_);
        soft::Float80 bits;
        for (int i = 7; i >= 0; --i)
            bits.Significand = (bits.Significand << 8) | bytes[static_cast<std::size_t>(i)];
        bits.SignExponent = static_cast<std::uint16_t>(bytes[8] | (bytes[9] << 8));
        return bits;
    }

    friend constexpr Extended operator+(Extended a, Extended b) {
        return Native(a.value_ + b.value_);
    }
    friend constexpr Extended operator-(Extended a, Extended b) {
        return Native(a.value_ - b.value_);
    }
    friend constexpr Extended operator*(Extended a, Extended b) {
        return Native(a.value_ * b.value_);
    }
    friend constexpr Extended operator/(Extended a, Extended b) {
        return Native(a.value_ / b.value_);
    }
    friend constexpr Extended operator-(Extended a) { return Native(-a.value_); }

    constexpr Extended& operator+=(Extended other) { return *this = *this + other; }
    constexpr Extended& operator-=(Extended other) { return *this = *this - other; }
    constexpr Extended& operator*=(Extended other) { return *this = *this * other; }
    constexpr Extended& operator/=(Extended other) { return *this = *this / other; }

    friend constexpr bool operator==(Extended a, Extended b) { return a.value_ == b.value_; }
    friend constexpr bool operator<(Extended a, Extended b) { return a.value_ < b.value_; }
    friend constexpr bool operator>(Extended a, Extended b) { return a.value_ > b.value_; }
    friend constexpr bool operator<=(Extended a, Extended b) { return a.value_ <= b.value_; }
    friend constexpr bool operator>=(Extended a, Extended b) { return a.value_ >= b.value_; }

    /// The unit's own square root instruction (a C library's sqrtl may answer a negative
    /// argument without the instruction, and so without its invalid operation).
    friend Extended Sqrt(Extended x) {
        long double root = x.value_;
        asm("fsqrt" : "+t"(root));
        return Native(root);
    }

  private:
    static constexpr Extended Native(long double value) {
        Extended x;
        x.value_ = value;
        return x;
    }

    long double value_ = 0;
};

Extended Sqrt(Extended x);

/// The unit's flags as soft::Flag bits.
inline unsigned RaisedExtendedFaults() {
    const int raised = std::fetestexcept(FE_INVALID | FE_DIVBYZERO | FE_OVERFLOW);
    return ((raised & FE_INVALID) ? soft::kInvalid : 0u) |
           ((raised & FE_DIVBYZERO) ? soft::kDivisionByZero : 0u) |
           ((raised & FE_OVERFLOW) ? soft::kOverflow : 0u);
}

/// Clears the unit's fault flags.
inline void ClearExtendedFaults() {
    std::feclearexcept(FE_INVALID | FE_DIVBYZERO | FE_OVERFLOW);
}

/// Adds faults to the unit's flags.
inline void RaiseExtendedFaults(unsigned flags) {
    std::feraiseexcept(((flags & soft::kInvalid) ? FE_INVALID : 0) |
                       ((flags & soft::kDivisionByZero) ? FE_DIVBYZERO : 0) |
                       ((flags & soft::kOverflow) ? FE_OVERFLOW : 0));
}

/// The caller's floating-point environment, held while a stretch of arithmetic runs with
/// clean flags and every trap off; Restore puts it back, flags and controls alike. With
/// `defaultControls` the arithmetic also rounds to nearest with the full 64-bit significand,
/// whatever the caller had set.
class HeldFaults {
  public:
    explicit HeldFaults(bool defaultControls = false) noexcept {
        // The control words are kept by hand as well: not every C library's fesetenv puts
        // back the SSE rounding mode.
        asm volatile("fnstcw %0" : "=m"(control_));
        asm volatile("stmxcsr %0" : "=m"(sseControlStatus_));
        std::feholdexcept(&saved_);
        if (defaultControls) {
            std::fesetround(FE_TONEAREST);
            std::uint16_t control = 0;
            asm volatile("fnstcw %0" : "=m"(control));
            control |= 0x0300;  // precision control 11: 64-bit significand
            asm volatile("fldcw %0" : : "m"(control));
        }
    }
    HeldFaults(const HeldFaults&) = delete;
    HeldFaults& operator=(const HeldFaults&) = delete;
    void Restore() noexcept {
        std::fesetenv(&saved_);
        asm volatile("fldcw %0" : : "m"(control_));
        asm volatile("ldmxcsr %0" : : "m"(sseControlStatus_));
    }

  private:
    std::fenv_t saved_;
    std::uint16_t control_ = 0;
    std::uint32_t sseControlStatus_ = 0;
};

/// Keeps the compiler from moving the computation of `value` past this point (and so past
/// a check of the flags that follows).
template <class T>
inline void Settle(T& value) noexcept {
    asm volatile("" : "+m"(value));
}

}  // namespace velmora
