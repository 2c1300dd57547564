#include "FieldModel.h"

#include <array>

#include "ArcSines.h"
#include "ArithmeticCheck.h"

namespace velmora {
namespace {

using arcs::kArcCount;

/// The prefactor of the Biot–Savart sums, rounded to double:
///   K [T·cm²] = Mu0 [T·m/A] × I [A] × N × R [cm] ÷ (4π) × 100 [cm/m],
/// evaluated left to right in extended precision with the bench's own π.
double Prefactor(const LabState& state) {
    const Extended k = state.Mu0 * state.CoilCurrent * state.CoilTurns * state.CoilRadius /
                       (state.PiValue * 4) * 100;
    return static_cast<double>(k);
}

/// True when (x, y) [cm] lies within WireRadius of a wire section (±R, 0), the boundary
/// included. The section at +R is tested first; both tests are made in extended precision.
bool InDeadZone(const LabState& state, Extended x, Extended y) {
    const Extended radius = state.CoilRadius;
    const Extended wire = state.WireRadius;
    if ((x - radius) * (x - radius) + y * y <= wire * wire)
        return true;
    return (x + radius) * (x + radius) + y * y <= wire * wire;
}

/// The Biot–Savart sums over the coil at the plane point (x, y) [cm], in tesla, one for each
/// numerator:
///   S = Σ_k dφ × K × numerator(sin φ_k) ÷ D_k^(3/2),  dφ = 2π ÷ n,  φ_k = k × dφ,
/// where D_k [cm²] = x² + y² + R² − 2 R x sin φ_k is the squared distance from the point
/// to the coil point (R sin φ_k, 0, R cos φ_k), and numerator [cm] is the in-plane
/// component's share of dl × ρ per unit of R dφ. Each rounding to double below is part of
/// the result: φ, D, the quotient t and every partial sum are doubles, the rest extended;
/// sin φ_k is the extended value nearest to the exact sine of the double φ_k (ArcSinesOf).
/// The sums share each arc's sine, distance and D^(3/2); each sum comes out exactly as it
/// would alone.
template <class... Numerator>
std::array<double, sizeof...(Numerator)> CoilSums(const LabState& state, Extended x, Extended y,
                                                  Numerator... numerator) {
    std::array<double, sizeof...(Numerator)> sums{};
    const double k = Prefactor(state);
    if (InDeadZone(state, x, y))
        return sums;

    const Extended n = kArcCount;
    const Extended radius = state.CoilRadius;
    const Extended arc = 1 / n * 2 * state.PiValue;                 // rad: length of one arc ÷ R
    const Extended distanceBase = x * x + y * y + radius * radius;  // cm²
    const Extended crossTerm = radius * 2 * x;                      // cm²
    const Extended prefactor = k;  // T·cm², converted once (exactly) instead of in every term
    const arcs::ArcSines& sines = arcs::ArcSinesOf(state.PiValue);
    for (const Extended sinPhi : sines) {
        // One sine serves the distance and every numerator of this term.
        const double distance = static_cast<double>(distanceBase - sinPhi * crossTerm);  // cm²
        const Extended d = distance;
        const Extended distanceCubed = Sqrt(d * d * d);  // cm³: |ρ|³ = D^(3/2)
        std::size_t s = 0;
        ((sums[s] = static_cast<double>(
              sums[s] +
              arc * (prefactor * static_cast<double>(numerator(sinPhi) / distanceCubed))),  // T
          ++s),
         ...);
    }
    return sums;
}

/// numerator [cm] of the x component: sin φ × y.
auto BxNumerator(Extended y) {
    return [y](Extended sinPhi) { return sinPhi * y; };
}

/// numerator [cm] of the y component: R − sin φ × x.
auto ByNumerator(const LabState& state, Extended x) {
    const Extended radius = state.CoilRadius;
    return [radius, x](Extended sinPhi) { return radius - sinPhi * x; };
}

}  // namespace

LabState WorkingLabState() {
    LabState state;
    state.WireRadius = kWireRadius;
    state.PiValue = kTenDecimalPi;
    state.Mu0 = state.PiValue * 4 * 1e-7_ext;
    state.CoilCurrent = kCoilCurrent;
    state.CoilTurns = kCoilTurns;
    state.CoilRadius = kCoilRadius;
    return state;
}

double FieldBx(const LabState& state, Extended x, Extended y) {
    // On the coil axis and on the x-axis the x component vanishes by symmetry.
    if (x == 0)
        return 0;
    if (y == 0)
        return 0;
    return Checked([&] { return CoilSums(state, x, y, BxNumerator(y))[0]; });
}

double FieldBy(const LabState& state, Extended x, Extended y) {
    return Checked([&] { return CoilSums(state, x, y, ByNumerator(state, x))[0]; });
}

Extended ProbeReading(const LabState& state, Extended angle, Extended x, Extended y) {
    // B_probe [T] = sin(angle) × By + cos(angle) × Bx, each step checked in turn so the first
    // fault is the one reported. Off both axes the two sums are made in one pass: every
    // fault they can meet comes from what they share (the prefactor, the dead-zone test, D),
    // so the fault reported is the one FieldBx would have reported first. The angle is
    // settled inside each check: otherwise the compiler may merge the cosine and the sine
    // into one call made before any check.
    double bx = 0;
    double by = 0;
    const bool both = x != 0 && y != 0;
    if (both) {
        const auto sums =
            Checked([&] { return CoilSums(state, x, y, BxNumerator(y), ByNumerator(state, x)); });
        bx = sums[0];
        by = sums[1];
    }
    const Extended c = Checked([&] {
        Extended a = angle;
        Settle(a);
        return Cos(a) * bx;
    });
    if (!both)
        by = FieldBy(state, x, y);
    return Checked([&] {
        Extended a = angle;
        Settle(a);
        return Sin(a) * by + c;
    });
}

}  // namespace velmora
