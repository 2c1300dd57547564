#pragma once

#include <cfenv>
#include <type_traits>

namespace velmora {

/// Watches the floating-point exception flags over a stretch of arithmetic, the way a
/// trapping FPU would: an overflow (storing an extended value too large for a double into a
/// double included), an invalid operation or a division by zero becomes an EMathError with
/// "Floating point overflow", "Invalid floating point operation" or "Floating point division
/// by zero". Underflow and inexact results pass silently. No signal or trap is used.
///
/// The constructor saves the caller's floating-point environment and clears the flags; the
/// destructor (or Finish) puts the caller's environment back, so the flags the caller had
/// are kept and none of the watched arithmetic's flags leak out.
class ArithmeticCheck {
  public:
    ArithmeticCheck() noexcept;
    ~ArithmeticCheck();
    ArithmeticCheck(const ArithmeticCheck&) = delete;
    ArithmeticCheck& operator=(const ArithmeticCheck&) = delete;

    /// Restores the caller's environment and throws EMathError when a watched flag was raised
    /// since construction. When several were raised, the one a trapping FPU would have
    /// stopped at first is reported: overflow, then division by zero, then invalid operation
    /// (the latter two usually follow from an infinity made before).
    void Finish();

  private:
    std::fenv_t saved_;
    bool restored_ = false;
};

/// Throws the EMathError for the first watched flag in `flags` (see ArithmeticCheck::Finish);
/// does nothing when none is set.
void ThrowArithmeticError(int flags);

/// Keeps the compiler from moving the computation of `value` past this point (and so past
/// a check of the flags that follows).
template <class T>
inline void Settle(T& value) noexcept {
    asm volatile("" : "+m"(value));
}

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
