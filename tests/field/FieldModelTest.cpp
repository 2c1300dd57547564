#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <string>

#include "Error.h"
#include "ExtendedTestSupport.h"
#include "FieldModel.h"
#include "FloatingPointFlags.h"

namespace velmora {
namespace {

/// A point of the measuring plane, in cm.
struct Point {
    Extended x, y;
};

/// |a − b| ≤ tolerance × |reference|.
testing::AssertionResult CloseRelative(Extended a, Extended b, Extended reference,
                                       Extended tolerance) {
    const Extended difference = Abs(a - b);
    if (difference <= tolerance * Abs(reference))
        return testing::AssertionSuccess();
    return testing::AssertionFailure() << a << " and " << b << " differ by " << difference
                                       << ", more than " << tolerance << " of " << reference;
}

TEST(FieldModel, CentreOfTheCoilHasTheCircularCurrentField) {
    const LabState state = WorkingLabState();
    EXPECT_EQ(FieldBx(state, 0, 0), 0.0);
    // B = μ0 I N ÷ (2 R) with R in metres; measured agreement 8e-15.
    const Extended expected = state.Mu0 * kCoilCurrent * kCoilTurns / (2 * kCoilRadius / 100);
    EXPECT_TRUE(CloseRelative(FieldBy(state, 0, 0), expected, expected, 5e-14_ext));
}

TEST(FieldModel, OnTheAxisBxIsZeroAndByFollowsTheAxisFormula) {
    const LabState state = WorkingLabState();
    for (const Extended y :
         {-30.0_ext, -10.0_ext, -1.0_ext, 0.5_ext, 5.0_ext, 10.0_ext, 26.0_ext, 100.0_ext}) {
        SCOPED_TRACE(testing::Message() << "y = " << y);
        EXPECT_EQ(FieldBx(state, 0, y), 0.0);
        // B = μ0 I N R² ÷ (2 (R² + y²)^(3/2)), R and y in metres; measured agreement 2e-14.
        const Extended r = kCoilRadius / 100;
        const Extended ym = y / 100;
        const Extended expected = state.Mu0 * kCoilCurrent * kCoilTurns * r * r /
                                  (2 * std::pow(static_cast<double>(r * r + ym * ym), 1.5));
        EXPECT_TRUE(CloseRelative(FieldBy(state, 0, y), expected, expected, 5e-14_ext));
    }
}

TEST(FieldModel, BxIsExactlyZeroOnBothAxesWithoutComputingAnything) {
    // The axis test comes before everything else, so even a coordinate whose square leaves
    // the extended range gives 0 there instead of an overflow.
    const LabState state = WorkingLabState();
    const Extended xs[] = {-50,
                           -5,
                           3,
                           14.5_ext,
                           Bits80(0x4297, 0xA738C6BEBB12D16D),
                           Bits80(0x66EC, 0xDC724CD44411AF53)};
    for (const Extended x : xs) {
        EXPECT_EQ(FieldBx(state, x, 0), 0.0) << "on the x-axis at x = " << x;
        EXPECT_EQ(FieldBx(state, 0, x), 0.0) << "on the coil axis at y = " << x;
    }
}

TEST(FieldModel, DeadZonesAroundTheWiresIncludeTheirBoundary) {
    const LabState state = WorkingLabState();
    const Point inside[] = {{13, 0}, {13, 1}, {12, 0}, {14, 0}, {-13, -1}, {-12.5_ext, 0.5_ext}};
    for (const auto& p : inside) {
        SCOPED_TRACE(testing::Message() << "(" << p.x << ", " << p.y << ")");
        EXPECT_EQ(FieldBx(state, p.x, p.y), 0.0);
        EXPECT_EQ(FieldBy(state, p.x, p.y), 0.0);
        for (const Extended angle : {0.0_ext, 0.5_ext, state.PiValue / 2, -2.0_ext, 10.0_ext}) {
            EXPECT_EQ(ProbeReading(state, angle, p.x, p.y), 0.0_ext) << "angle " << angle;
        }
    }
    // One step of the extended format beyond the boundary is outside: the field is about
    // that of a straight wire 1 cm away, μ0 N I ÷ (2π × 0.01 m) = 4e-4 T.
    const Extended up = NextUp(1);
    const Extended right = NextUp(14);
    const Extended left = NextDown(12);
    const Point outside[] = {{13, up}, {right, 0}, {left, 0}, {-13, -up}, {-right, 0}};
    for (const auto& p : outside) {
        EXPECT_GT(std::hypot(FieldBx(state, p.x, p.y), FieldBy(state, p.x, p.y)), 3e-4)
            << "(" << p.x << ", " << p.y << ")";
    }
    // 1.5 cm above the wire: about μ0 N I ÷ (2π × 0.015 m) ≈ 2.7e-4 T, nearly all along x.
    EXPECT_GT(ProbeReading(state, 0, 13, 1.5_ext), 2.5e-4_ext);
}

TEST(FieldModel, MirrorSymmetriesHoldToRoundingError) {
    // By is even and Bx odd in x and in y. Mirroring y leaves every term's arithmetic
    // unchanged; mirroring x visits the arcs in another order, which costs rounding error
    // relative to the field's magnitude (measured at most 8e-13 over the plot plane).
    const LabState state = WorkingLabState();
    const Point points[] = {{5, 3},    {20, -7},      {0.5_ext, 40},
                            {-9, 2},   {13, 1.5_ext}, {14.5_ext, 0.3_ext},
                            {-3, -25}, {30, 30},      {45.1_ext, 0.05_ext}};
    for (const auto& p : points) {
        SCOPED_TRACE(testing::Message() << "(" << p.x << ", " << p.y << ")");
        const double bx = FieldBx(state, p.x, p.y);
        const double by = FieldBy(state, p.x, p.y);
        const Extended magnitude = std::hypot(bx, by);
        EXPECT_EQ(FieldBy(state, p.x, -p.y), by);
        EXPECT_EQ(FieldBx(state, p.x, -p.y), -bx);
        EXPECT_TRUE(CloseRelative(FieldBy(state, -p.x, p.y), by, magnitude, 2e-12_ext));
        EXPECT_TRUE(CloseRelative(FieldBx(state, -p.x, p.y), -bx, magnitude, 2e-12_ext));
    }
}

TEST(FieldModel, ProbeReadsTheComponentAlongItsDirection) {
    const LabState state = WorkingLabState();
    // PiValue is π cut after ten decimals, so cos(PiValue/2) = sin((π − PiValue)/2), about
    // 4.5e-11: pointing "along y" the probe still picks up that share of Bx.
    const Extended halfPiShortfall = (Bits80(0x4000, 0xC90FDAA22168C235) - state.PiValue) / 2;
    const Point points[] = {{6.5_ext, 5}, {-20, -7.5_ext}, {13, 1.5_ext}, {3, -11}};
    for (const auto& p : points) {
        SCOPED_TRACE(testing::Message() << "(" << p.x << ", " << p.y << ")");
        const double bx = FieldBx(state, p.x, p.y);
        const double by = FieldBy(state, p.x, p.y);
        EXPECT_EQ(ProbeReading(state, 0, p.x, p.y), bx);
        const Extended residue = ProbeReading(state, state.PiValue / 2, p.x, p.y) - by;
        EXPECT_TRUE(CloseRelative(residue / bx, halfPiShortfall, halfPiShortfall, 1e-6_ext));
    }
}

TEST(FieldModel, ReproducesTheExactDoublesOfEveryRoundingStep) {
    // Results of this implementation, the same on both backends (first recorded with the x87's
    // own sine for the arcs, which gives these doubles too). Keeping any of K, φ, D, t or the
    // partial sums in extended precision, taking the sine in double, or forming K × t or the arc
    // factor in double changes at least one of these values.
    const LabState state = WorkingLabState();
    struct Case {
        Extended x, y, angle;
        double bx, by;
        Extended reading;
    };
    const Case cases[] = {
        {0, 0, 0.7_ext, 0x0p+0, 0x1.9570990472c0fp-14, Bits80(0x3FF1, 0x8298837D329693EB)},
        {6.5_ext, 5, 0.7_ext, 0x1.b7b711e3c718ap-16, 0x1.54dab4aef96ap-14,
         Bits80(0x3FF1, 0x97D4CE6A7C7E4AA0)},
        {13, 1.5_ext, -2.5_ext, 0x1.12dfdf9a6ffa6p-12, 0x1.a11169c969773p-15,
         Bits80(0xBFF2, 0xFB6A16672CE51BB1)},
        {-20, -7.5_ext, 2, 0x1.226a3abdc0664p-16, -0x1.2c9c79cc9dbb4p-18,
         Bits80(0xBFEE, 0xBD3107908324FF4C)},
        {3, -11, 1.2_ext, -0x1.ece2733a02e64p-18, 0x1.5f54f4c29832ap-15,
         Bits80(0x3FF0, 0x9890A26F88BE193F)},
        {7.3_ext, -4.1_ext, 0.2_ext, -0x1.083702bfec6aep-15, 0x1.810d27f049268p-14,
         Bits80(0xBFEE, 0xD3E79DA6141C0728)},
        {-0.7_ext, 23.9_ext, -1, -0x1.7f7fd658823ecp-22, 0x1.61580b907631p-17,
         Bits80(0xBFEE, 0x97E6E41D2FC59837)},
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
    for (Extended x = -31.5_ext; x <= 31.5_ext; x += 2.25_ext) {
        for (Extended y = -27.7_ext; y <= 27.7_ext; y += 3.9_ext) {
            for (const Extended angle : {0.0_ext, -0.9_ext, 2.6_ext, 1e6_ext}) {
                SCOPED_TRACE(testing::Message() << "(" << x << ", " << y << ") angle " << angle);
                const Extended separate =
                    Sin(angle) * FieldBy(state, x, y) + Cos(angle) * FieldBx(state, x, y);
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
        {"By at x 1e200", [&] { FieldBy(state, Bits80(0x4297, 0xA738C6BEBB12D16D), 1); },
         u"Floating point overflow"},
        {"By on the x-axis at 1e200",
         [&] { FieldBy(state, Bits80(0x4297, 0xA738C6BEBB12D16D), 0); },
         u"Floating point overflow"},
        {"Bx at y -1e200", [&] { FieldBx(state, 3, -Bits80(0x4297, 0xA738C6BEBB12D16D)); },
         u"Floating point overflow"},
        {"By at x 1.4e154", [&] { FieldBy(state, Bits80(0x41FF, 0x85A7498A9AE61103), 0.5_ext); },
         u"Floating point overflow"},
        {"probe at 1e200",
         [&] { ProbeReading(state, 0.3_ext, 2, Bits80(0x4297, 0xA738C6BEBB12D16D)); },
         u"Floating point overflow"},
        // The squares of the dead-zone test leave the extended range.
        {"By at x 1e3000", [&] { FieldBy(state, Bits80(0x66EC, 0xDC724CD44411AF53), 0); },
         u"Floating point overflow"},
        {"Bx at y 1e3000", [&] { FieldBx(state, 5, Bits80(0x66EC, 0xDC724CD44411AF53)); },
         u"Floating point overflow"},
        {"probe at -1e3000",
         [&] { ProbeReading(state, 1, -Bits80(0x66EC, 0xDC724CD44411AF53), 2); },
         u"Floating point overflow"},
        // Still inside the double range: the tiny field underflows silently.
        {"By at x 1e154", [&] { FieldBy(state, Bits80(0x41FE, 0xBEEEFB584AFF8604), 1); },
         u"(no error)"},
        {"probe at 1e154",
         [&] {
             ProbeReading(state, 1, Bits80(0x41FE, 0xBEEEFB584AFF8604),
                          -Bits80(0x41F1, 0x9C69A97284B578D8));
         },
         u"(no error)"},
        // Before Reset every constant is zero and the prefactor is 0 ÷ 0.
        {"state never reset", [] { FieldBy(LabState{}, 1, 1); },
         u"Invalid floating point operation"},
        {"probe off both axes, state never reset", [] { ProbeReading(LabState{}, 0.5_ext, 3, 4); },
         u"Invalid floating point operation"},
        {"probe off both axes at 1e3000",
         [&] {
             ProbeReading(state, 1, Bits80(0x66EC, 0xDC724CD44411AF53),
                          -Bits80(0x66EC, 0xDC724CD44411AF53));
         },
         u"Floating point overflow"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(MessageOf(c.compute), c.message) << c.name;
    }
}

TEST(FieldModel, LeavesTheCallersFaultFlagsAsTheyWere) {
    const LabState state = WorkingLabState();
    const Extended far = Bits80(0x4297, 0xA738C6BEBB12D16D);  // 1e200
    for (const unsigned callerFlags :
         {0u, unsigned{soft::kOverflow}, unsigned{soft::kInvalid | soft::kDivisionByZero}}) {
        SCOPED_TRACE(testing::Message() << "caller's flags " << callerFlags);
        // Stale flags of the caller are not blamed on the reading.
        EXPECT_EQ(FlagsAfter(callerFlags, [&] { ProbeReading(state, 0.7_ext, 6.5_ext, 5); }),
                  callerFlags);
        EXPECT_EQ(
            FlagsAfter(callerFlags, [&] { EXPECT_THROW(FieldBy(state, far, 1), EMathError); }),
            callerFlags);
    }
}

}  // namespace
}  // namespace velmora
