#pragma once

#include "Extended.h"

namespace velmora {

/// The experiment's variables, all extended precision, in declaration order. All are zero
/// until the bench's Reset gives them their working values.
struct LabState {
    Extended Circulation = 0;  ///< A: running sum of B·dl / Mu0 along the walked path
    Extended WireRadius = 0;   ///< cm: radius of the dead zone around each wire section
    Extended Mu0 = 0;          ///< T·m/A: magnetic constant, PiValue × 4 × 1e-7
    Extended CoilCurrent = 0;  ///< A: current in one turn
    Extended CoilTurns = 0;    ///< number of turns
    Extended CoilRadius = 0;   ///< cm
    Extended PiValue = 0;      ///< the ten-decimal π 3.1415926535 of the field sums
    Extended ProbeAngle = 0;   ///< rad, counter-clockwise from +x, never reduced to a range
    Extended ProbeX = 0;       ///< cm
    Extended ProbeY = 0;       ///< cm
    Extended Induction = 0;    ///< T: the last probe reading
};

/// π to ten decimals: the π of the field sums (PiValue) and of every conversion of the
/// probe angle between degrees and radians.
inline constexpr Extended kTenDecimalPi = 3.1415926535_ext;
/// The coil on the bench: 400 turns of radius 13 cm carrying 50 mA, its wire sections at
/// (±13 cm, 0) with a dead zone of 1 cm around each.
inline constexpr Extended kCoilCurrent = 0.05_ext;  ///< A
inline constexpr Extended kCoilTurns = 400;
inline constexpr Extended kCoilRadius = 13;  ///< cm
inline constexpr Extended kWireRadius = 1;   ///< cm

/// The state the bench's Reset gives the experiment: the working constants above, Mu0 =
/// kTenDecimalPi × 4 × 1e-7 T·m/A, the probe at the origin along +x, no circulation and a
/// reading of 0 until one is taken.
LabState WorkingLabState();

/// The x component of the coil's induction (tesla) at the plane point (x, y) in cm: the
/// Biot–Savart sum over 1000 arcs of the coil; exactly 0 on either axis and inside the dead
/// zones. Throws EMathError "Floating point overflow" for coordinates whose squared distance
/// to the coil leaves the double range.
double FieldBx(const LabState& state, Extended x, Extended y);

/// The y component (along the coil axis) of the induction, in tesla; 0 in the dead zones.
double FieldBy(const LabState& state, Extended x, Extended y);

/// The probe reading: the induction's component along (cos angle, sin angle), angle in
/// radians, computed as sin(angle) × FieldBy + cos(angle) × FieldBx.
Extended ProbeReading(const LabState& state, Extended angle, Extended x, Extended y);

}  // namespace velmora
