#include <gtest/gtest.h>

#include <bit>
#include <cstdint>

#include "ArcSines.h"
#include "ExtendedTestSupport.h"

namespace velmora {
namespace {

using arcs::kArcSineTable;

#if VELMORA_EXTENDED_X87
// The portable backend's table must hold what this unit gives: the angle the sums compute
// for each arc with the π Reset sets, and the fsin of it.
TEST(ArcSineTable, HoldsTheAnglesOfTheSumsAndTheUnitsSineOfEach) {
    const Extended pi = kTenDecimalPi;
    int wrongAngles = 0, wrongSines = 0;
    for (int k = 0; k < arcs::kArcCount; ++k) {
        const double phi = arcs::ArcAngle(pi, k);
        const auto& entry = kArcSineTable[k];
        wrongAngles += std::bit_cast<std::uint64_t>(phi) != entry.Angle ? 1 : 0;
        const soft::Float80 sine = UnitSine(phi).Bits();
        wrongSines +=
            sine.Significand != entry.Significand || sine.SignExponent != entry.SignExponent ? 1
                                                                                             : 0;
        EXPECT_EQ(arcs::ArcSine(k, phi).Bits(), sine) << "arc " << k;
    }
    EXPECT_EQ(wrongAngles, 0);
    EXPECT_EQ(wrongSines, 0) << "the table was made on a unit whose fsin differs from this one";
}
#endif

// Every backend takes the table's sine for the table's angle, and the exactly rounded sine of
// an angle the table does not hold (an arc of another π); the x87 takes fsin for both.
TEST(ArcSineTable, GivesTheTablesSineOnlyForTheTablesAngle) {
    const Extended pi = kTenDecimalPi;
    for (const int k : {1, 250, 333, 617, 999}) {
        const double phi = arcs::ArcAngle(pi, k);
        const Extended tabled = Bits80(kArcSineTable[k].SignExponent, kArcSineTable[k].Significand);
        EXPECT_EQ(arcs::ArcSine(k, phi).Bits(), tabled.Bits()) << "arc " << k;
        EXPECT_EQ(arcs::ArcAngleFor(pi, true, k), phi) << "arc " << k;
        const double other = arcs::ArcAngle(3.14159265358979_ext, k);
        ASSERT_NE(other, phi);
        EXPECT_EQ(arcs::ArcAngleFor(3.14159265358979_ext, false, k), other) << "arc " << k;
#if VELMORA_EXTENDED_X87
        const Extended expected = UnitSine(other);
#else
        const Extended expected = Sin(other);
#endif
        EXPECT_EQ(arcs::ArcSine(k, other).Bits(), expected.Bits()) << "arc " << k;
    }
}

}  // namespace
}  // namespace velmora
