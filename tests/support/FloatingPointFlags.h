#pragma once

#include "Extended.h"

namespace velmora {

/// Runs `action` with exactly the extended arithmetic's fault flags `callerFaults` raised
/// (soft::Flag bits, on either backend), as a caller's earlier arithmetic would have left
/// them, and returns the faults raised after it. Every fault flag is clear again when it
/// returns, also when `action` throws.
template <class Action>
unsigned FlagsAfter(unsigned callerFaults, Action&& action) {
    struct ClearOnExit {
        ~ClearOnExit() { ClearExtendedFaults(); }
    } clear;
    ClearExtendedFaults();
    RaiseExtendedFaults(callerFaults);
    action();
    return RaisedExtendedFaults();
}

}  // namespace velmora
