#include <gtest/gtest.h>

#include <cfenv>
#include <cmath>
#include <functional>
#include <string>

#include "Error.h"
#include "FieldModel.h"
#include "FloatingPointFlags.h"

namespace velmora {
namespace {

/// A point of the measuring plane, in cm.
struct Point {
    long double x, y;
};

/// |a − b| ≤ tolerance × |reference|.
testing::AssertionResult CloseRelative(long double a, long double b, long double reference,
                                       long double tolerance) {
    const long double difference = std::fabs(a - b);
    if (difference <= tolerance * std::fabs(reference))
        return testing::AssertionSuccess();
    return testing::AssertionFailure() << a << " and " << b << " differ by " << difference
                                       << ", more than " << tolerance << " of " << reference;
}

TEST(FieldModel, CentreOfTheCoilHasTheCircularCurrentField) {
    const LabState state = WorkingLabState();
    EXPECT_EQ(FieldBx(state, 0, 0), 0.0);
    // B = μ0 I N ÷ (2 R) with R in metres; measured agreement 8e-15.
    const long double expected = state.Mu0 * kCoilCurrent * kCoilTurns / (2 * kCoilRadius / 100);
    EXPECT_TRUE(CloseRelative(FieldBy(state, 0, 0), expected, expected, 5e-14L));
}

TEST(FieldModel, OnTheAxisBxIsZeroAndByFollowsTheAxisFormula) {
    const LabState state = WorkingLabState();
    for (const long double y : {-30.0L, -10.0L, -1.0L, 0.5L, 5.0L, 10.0L, 26.0L, 100.0L}) {
        SCOPED_TRACE(testing::Message() << "y = " << y);
        EXPECT_EQ(FieldBx(state, 0, y), 0.0);
        // B = μ0 I N R² ÷ (2 (R² + y²)^(3/2)), R and y in metres; measured agreement 2e-14.
        const long double r = kCoilRadius / 100;
        const long double ym = y / 100;
        const long double expected =
            state.Mu0 * kCoilCurrent * kCoilTurns * r * r / (2 * std::pow(r * r + ym * ym, 1.5L));
        EXPECT_TRUE(CloseRelative(FieldBy(state, 0, y), expected, expected, 5e-14L));
    }
}

TEST(FieldModel, BxIsExactlyZeroOnBothAxesWithoutComputingAnything) {
    // The axis test comes before everything else, so even a coordinate whose square leaves
    // the extended range gives 0 there instead of an overflow.
    const LabState state = WorkingLabState();
    const long double xs[] = {-50, -5, 3, 14.5L, 1e200L, 1e3000L};
    for (const long double x : xs) {
        EXPECT_EQ(FieldBx(state, x, 0), 0.0) << "on the x-axis at x = " << x;
        EXPECT_EQ(FieldBx(state, 0, x), 0.0) << "on the coil axis at y = " << x;
    }
}

TEST(FieldModel, DeadZonesAroundTheWiresIncludeTheirBoundary) {
    const LabState state = WorkingLabState();
    const Point inside[] = {{13, 0}, {13, 1}, {12, 0}, {14, 0}, {-13, -1}, {-12.5L, 0.5L}};
    for (const auto& p : inside) {
        SCOPED_TRACE(testing::Message() << "(" << p.x << ", " << p.y << ")");
        EXPECT_EQ(FieldBx(state, p.x, p.y), 0.0);
        EXPECT_EQ(FieldBy(state, p.x, p.y), 0.0);
        for (const long double angle : {0.0L, 0.5L, state.PiValue / 2, -2.0L, 10.0L}) {
            EXPECT_EQ(ProbeReading(state, angle, p.x, p.y), 0.0L) << "angle " << angle;
        }
    }
    // One step of the extended format beyond the boundary is outside: the field is about
    // that of a straight wire 1 cm away, μ0 N I ÷ (2π × 0.01 m) = 4e-4 T.
    const long double up = std::nextafter(1.0L, 2.0L);
    const long double right = std::nextafter(14.0L, 15.0L);
    const long double left = std::nextafter(12.0L, 11.0L);
    const Point outside[] = {{13, up}, {right, 0}, {left, 0}, {-13, -up}, {-right, 0}};
    for (const auto& p : outside) {
        EXPECT_GT(std::hypot(FieldBx(state, p.x, p.y), FieldBy(state, p.x, p.y)), 3e-4)
            << "(" << p.x << ", " << p.y << ")";
    }
    // 1.5 cm above the wire: about μ0 N I ÷ (2π × 0.015 m) ≈ 2.7e-4 T, nearly all along x.
    EXPECT_GT(ProbeReading(state, 0, 13, 1.5L), 2.5e-4L);
}

TEST(FieldModel, MirrorSymmetriesHoldToRoundingError) {
    // By is even and Bx odd in x and in y. Mirroring y leaves every term's arithmetic
    // unchanged; mirroring x visits the arcs in another order, which costs rounding error
    // relative to the field's magnitude (measured at most 8e-13 over the plot plane).
    const LabState state = WorkingLabState();
    const Point points[] = {{5, 3},        {20, -7},  {0.5L, 40}, {-9, 2},       {13, 1.5L},
                            {14.5L, 0.3L}, {-3, -25}, {30, 30},   {45.1L, 0.05L}};
    for (const auto& p : points) {
        SCOPED_TRACE(testing::Message() << "(" << p.x << ", " << p.y << ")");
        const double bx = FieldBx(state, p.x, p.y);
        const double by = FieldBy(state, p.x, p.y);
        const long double magnitude = std::hypot(bx, by);
        EXPECT_EQ(FieldBy(state, p.x, -p.y), by);
        EXPECT_EQ(FieldBx(state, p.x, -p.y), -bx);
        EXPECT_TRUE(CloseRelative(FieldBy(state, -p.x, p.y), by, magnitude, 2e-12L));
        EXPECT_TRUE(CloseRelative(FieldBx(state, -p.x, p.y), -bx, magnitude, 2e-12L));
    }
}

TEST(FieldModel, ProbeReadsTheComponentAlongItsDirection) {
    const LabState state = WorkingLabState();
    // PiValue is π cut after ten decimals, so cos(PiValue/2) = sin((π − PiValue)/2), about
    // 4.5e-11: pointing "along y" the probe still picks up that share of Bx.
    const long double halfPiShortfall = (3.14159265358979323846264L - state.PiValue) / 2;
    const Point points[] = {{6.5L, 5}, {-20, -7.5L}, {13, 1.5L}, {3, -11}};
    for (const auto& p : points) {
        SCOPED_TRACE(testing::Message() << "(" << p.x << ", " << p.y << ")");
        const double bx = FieldBx(state, p.x, p.y);
        const double by = FieldBy(state, p.x, p.y);
        EXPECT_EQ(ProbeReading(state, 0, p.x, p.y), bx);
        const long double residue = ProbeReading(state, state.PiValue / 2, p.x, p.y) - by;
        EXPECT_TRUE(CloseRelative(residue / bx, halfPiShortfall, halfPiShortfall, 1e-6L));
    }
}

TEST(FieldModel, ReproducesTheExactDoublesOfEveryRoundingStep) {
    // Results of this implementation on x86-64 (x87 extended and its sine for the arcs, glibc's
    // sinl and cosl for the probe angle). Keeping any of K, φ, D, t or the partial sums in
    // extended precision, taking the sine in double, or forming K × t or the arc factor in
    // double changes at least one of these values.
    const LabState state = WorkingLabState();
    struct Case {
        long double x, y, angle;
        double bx, by;
        long double reading;
    };
    const Case cases[] = {
        {0, 0, 0.7L, 0x0p+0, 0x1.9570990472c0fp-14, 0x8.298837d329693ebp-17L},
        {6.5L, 5, 0.7L, 0x1.b7b711e3c718ap-16, 0x1.54dab4aef96ap-14, 0x9.7d4ce6a7c7e4aap-17L},
        {13, 1.5L, -2.5L, 0x1.12dfdf9a6ffa6p-12, 0x1.a11169c969773p-15, -0xf.b6a16672ce51bb1p-16L},
        {-20, -7.5L, 2, 0x1.226a3abdc0664p-16, -0x1.2c9c79cc9dbb4p-18, -0xb.d3107908324ff4cp-20L},
        {3, -11, 1.2L, -0x1.ece2733a02e64p-18, 0x1.5f54f4c29832ap-15, 0x9.890a26f88be193fp-18L},
        {7.3L, -4.1L, 0.2L, -0x1.083702bfec6aep-15, 0x1.810d27f049268p-14,
         -0xd.3e79da6141c0728p-20L},
        {-0.7L, 23.9L, -1, -0x1.7f7fd658823ecp-22, 0x1.61580b907631p-17, -0x9.7e6e41d2fc59837p-20L},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << "(" << c.x << ", " << c.y << ") angle " << c.angle);
        EXPECT_EQ(FieldBx(state, c.x, c.y), c.bx);
        EXPECT_EQ(FieldBy(state, c.x, c.y), c.by);
        EXPECT_EQ(ProbeReading(state, c.angle, c.x, c.y), c.reading);
    }
}

TEST(FieldModel, ProbeReadingIsExactlyTheTwoSumsCombined) {
    // The reading makes both sums in one pass where both are needed; it must give, to the
    // last bit, what the two sums made one after the other give, everywhere on the plane.
    const LabState state = WorkingLabState();
    for (long double x = -31.5L; x <= 31.5L; x += 2.25L) {
        for (long double y = -27.7L; y <= 27.7L; y += 3.9L) {
            for (const long double angle : {0.0L, -0.9L, 2.6L, 1e6L}) {
                SCOPED_TRACE(testing::Message() << "(" << x << ", " << y << ") angle " << angle);
                const long double separate =
                    std::sin(angle) * FieldBy(state, x, y) + std::cos(angle) * FieldBx(state, x, y);
                EXPECT_EQ(ProbeReading(state, angle, x, y), separate);
            }
        }
    }
}

/// The message of the EMathError `compute` throws, or "(no error)".
std::u16string MessageOf(const std::function<void()>& compute) {
    try {
        compute();
    } catch (const EMathError& e) {
        return e.Message();
    }
    return u"(no error)";
}

TEST(FieldModel, FarCoordinatesRaiseFloatingPointOverflow) {
    const LabState state = WorkingLabState();
    struct Case {
        const char* name;
        std::function<void()> compute;
        std::u16string message;
    };
    const Case cases[] = {
        // The squared distance D no longer fits a double beyond about 1.34e154 cm.
        {"By at x 1e200", [&] { FieldBy(state, 1e200L, 1); }, u"Floating point overflow"},
        {"By on the x-axis at 1e200", [&] { FieldBy(state, 1e200L, 0); },
         u"Floating point overflow"},
        {"Bx at y -1e200", [&] { FieldBx(state, 3, -1e200L); }, u"Floating point overflow"},
        {"By at x 1.4e154", [&] { FieldBy(state, 1.4e154L, 0.5L); }, u"Floating point overflow"},
        {"probe at 1e200", [&] { ProbeReading(state, 0.3L, 2, 1e200L); },
         u"Floating point overflow"},
        // The squares of the dead-zone test leave the extended range.
        {"By at x 1e3000", [&] { FieldBy(state, 1e3000L, 0); }, u"Floating point overflow"},
        {"Bx at y 1e3000", [&] { FieldBx(state, 5, 1e3000L); }, u"Floating point overflow"},
        {"probe at -1e3000", [&] { ProbeReading(state, 1, -1e3000L, 2); },
         u"Floating point overflow"},
        // Still inside the double range: the tiny field underflows silently.
        {"By at x 1e154", [&] { FieldBy(state, 1e154L, 1); }, u"(no error)"},
        {"probe at 1e154", [&] { ProbeReading(state, 1, 1e154L, -1e150L); }, u"(no error)"},
        // Before Reset every constant is zero and the prefactor is 0 ÷ 0.
        {"state never reset", [] { FieldBy(LabState{}, 1, 1); },
         u"Invalid floating point operation"},
        {"probe off both axes, state never reset", [] { ProbeReading(LabState{}, 0.5L, 3, 4); },
         u"Invalid floating point operation"},
        {"probe off both axes at 1e3000", [&] { ProbeReading(state, 1, 1e3000L, -1e3000L); },
         u"Floating point overflow"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(MessageOf(c.compute), c.message) << c.name;
    }
}

TEST(FieldModel, LeavesTheCallersFloatingPointFlagsAsTheyWere) {
    const LabState state = WorkingLabState();
    for (const int callerFlags : {0, FE_INEXACT, FE_OVERFLOW | FE_UNDERFLOW, FE_DIVBYZERO}) {
        SCOPED_TRACE(testing::Message() << "caller's flags " << callerFlags);
        // Stale flags of the caller are not blamed on the reading.
        EXPECT_EQ(FlagsAfter(callerFlags, [&] { ProbeReading(state, 0.7L, 6.5L, 5); }),
                  callerFlags);
        EXPECT_EQ(
            FlagsAfter(callerFlags, [&] { EXPECT_THROW(FieldBy(state, 1e200L, 1), EMathError); }),
            callerFlags);
    }
}

}  // namespace
}  // namespace velmora
