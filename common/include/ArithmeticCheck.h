#pragma once

#include <type_traits>

#include "Extended.h"

namespace velmora {

/// Watches the extended arithmetic's fault flags over a stretch of arithmetic, the way a
/// trapping FPU would: an overflow (storing an extended value too large for a double into a
/// double included), an invalid operation or a division by zero becomes an EMathError with
/// "Floating point overflow", "Invalid floating point operation" or "Floating point division
/// by zero". Underflow and inexact results pass silently. No signal or trap is used.
///
/// The constructor holds the caller's flags and clears them, and sets the unit's controls to
/// rounding to nearest with the full 64-bit significand (a library in the process may have
/// left the x87 at 53 bits, as Windows' graphics drivers have done); the destructor (or
/// Finish) puts the caller's flags and controls back, so the flags the caller had are kept
/// and none of the watched arithmetic's flags leak out.
class ArithmeticCheck {
  public:
    ArithmeticCheck() noexcept = default;
    ~ArithmeticCheck();
    ArithmeticCheck(const ArithmeticCheck&) = delete;
    ArithmeticCheck& operator=(const ArithmeticCheck&) = delete;

    /// Restores the caller's flags and throws EMathError when a watched fault was raised
    /// since construction. When several were raised, the one a trapping FPU would have
    /// stopped at first is reported: overflow, then division by zero, then invalid operation
    /// (the latter two usually follow from an infinity made before).
    void Finish();

  private:
    HeldFaults held_{true};
    bool restored_ = false;
};

/// Throws the EMathError for the first fault in `faults` (soft::Flag bits, see
/// ArithmeticCheck::Finish); does nothing when none is set.
void ThrowArithmeticError(unsigned faults);

/// Runs `compute` under an ArithmeticCheck and returns its result; throws EMathError as
/// ArithmeticCheck::Finish does.
template <class Compute>
auto Checked(Compute&& compute) -> decltype(compute()) {
    ArithmeticCheck check;
    if constexpr (std::is_void_v<decltype(compute())>) {
        compute();
        check.Finish();
    } else {
        auto result = compute();
        Settle(result);
        check.Finish();
        return result;
    }
}

}  // namespace velmora
