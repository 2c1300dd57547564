#include "ArcSines.h"

namespace velmora::arcs {

const ArcSines& ArcSinesOf(Extended pi) {
    struct Kept {
        bool known = false;
        soft::Float80 pi;
        unsigned faults = 0;  ///< soft::Flag bits raised while the sines were computed
        ArcSines sines;
    };
    thread_local Kept kept;
    if (!kept.known || kept.pi != pi.Bits()) {
        // Computed with clean flags and the default controls, whatever the caller had, and
        // without touching the caller's flags.
        HeldFaults held(true);
        for (int k = 0; k < kArcCount; ++k) {
            kept.sines[static_cast<std::size_t>(k)] = Sin(ArcAngle(pi, k));
            Settle(kept.sines[static_cast<std::size_t>(k)]);
        }
        kept.faults = RaisedExtendedFaults();
        held.Restore();
        kept.pi = pi.Bits();
        kept.known = true;
    }
    if (kept.faults != 0)
        RaiseExtendedFaults(kept.faults);
    return kept.sines;
}

}  // namespace velmora::arcs
