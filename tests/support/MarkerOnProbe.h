#pragma once

#include <cmath>
#include <string>

#include "Bench.h"

namespace velmora {

/// Empty when the bench's probe marker stands where the probe is and points where it points:
/// its three points within 1e-6 cm of the tail 1 cm behind and 0.5 cm to the left, the tip
/// 1 cm ahead and the tail to the right. Doubles cannot hold a centimetre next to a position
/// far beyond the plot, so their rounding is allowed on top. Otherwise says what is wrong.
/// Needs the bench library.
inline std::string MarkerOffProbe(const Bench& bench) {
    const LabState& s = bench.State();
    const auto& marker = bench.Scene().Points(Layer::ProbeMarker);
    if (marker.size() != 3)
        return "the probe marker does not have three points";
    const Extended c = Cos(s.ProbeAngle);
    const Extended sn = Sin(s.ProbeAngle);
    const Extended expected[3][2] = {
        {s.ProbeX - c - 0.5_ext * sn, s.ProbeY - sn + 0.5_ext * c},
        {s.ProbeX + c, s.ProbeY + sn},
        {s.ProbeX - c + 0.5_ext * sn, s.ProbeY - sn - 0.5_ext * c},
    };
    const Extended tolerance = 1e-6_ext + 1e-15_ext * (Abs(s.ProbeX) + Abs(s.ProbeY));
    for (int i = 0; i < 3; ++i) {
        if (!(Abs(marker[i].X - expected[i][0]) <= tolerance &&
              Abs(marker[i].Y - expected[i][1]) <= tolerance)) {
            return "the probe marker's point " + std::to_string(i) + " left the probe";
        }
    }
    return {};
}

}  // namespace velmora
