#pragma once

#include "FieldModel.h"

namespace velmora {

/// A LabState holding the working values the bench's Reset command gives it.
inline LabState ResetLabState() {
    LabState state;
    state.Circulation = 0;
    state.WireRadius = 1;
    state.PiValue = 3.1415926535_ext;
    state.Mu0 = state.PiValue * 4 * 1e-7_ext;
    state.CoilCurrent = 0.05_ext;
    state.CoilTurns = 400;
    state.CoilRadius = 13;
    state.ProbeAngle = 0;
    state.ProbeX = 0;
    state.ProbeY = 0;
    return state;
}

}  // namespace velmora
