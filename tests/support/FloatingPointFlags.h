#pragma once

#include <cfenv>

namespace velmora {

/// Runs `action` with exactly the floating-point exception flags `callerFlags` raised, as a
/// caller's earlier arithmetic would have left them, and returns the flags raised after it
/// (of FE_ALL_EXCEPT). Every flag is clear again when it returns, also when `action` throws.
template <class Action>
int FlagsAfter(int callerFlags, Action&& action) {
    struct ClearOnExit {
        ~ClearOnExit() { std::feclearexcept(FE_ALL_EXCEPT); }
    } clear;
    std::feclearexcept(FE_ALL_EXCEPT);
    std::feraiseexcept(callerFlags);
    action();
    return std::fetestexcept(FE_ALL_EXCEPT);
}

}  // namespace velmora
