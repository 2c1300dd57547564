#include <gtest/gtest.h>

#include <cstdint>

#include "ExtendedTestSupport.h"
#include "Float80SineCosine.h"
#include "Operands.h"

namespace velmora {
namespace {

using soft::Float80;

TEST(SoftFormat, SineAndCosineAreTheNearestExtendedValues) {
    // Exact values from 400-bit arithmetic, rounded once to the extended format.
    struct Case {
        const char* name;
        Extended x, sine, cosine;
    };
    const Case cases[] = {
        {"π as an extended value", Bits80(0x4000, 0xC90FDAA22168C235),
         Bits80(0xBFBE, 0xECE675D1FC8F8CBB), Bits80(0xBFFF, 0x8000000000000000)},
        {"π/2 as an extended value", Bits80(0x3FFF, 0xC90FDAA22168C235),
         Bits80(0x3FFF, 0x8000000000000000), Bits80(0xBFBD, 0xECE675D1FC8F8CBB)},
        {"1e22", Bits80(0x4048, 0x87867832A0000000), Bits80(0x3FFD, 0xFD7418A72359EB59),
         Bits80(0x3FFE, 0xDE6EC90F3BB74754)},
        {"the bench's ten-decimal π/2", 1.57079632675_ext, Bits80(0x3FFF, 0x8000000000000000),
         Bits80(0x3FDC, 0xC57519762633145C)},
        {"2^16383 × 1.5", Bits80(0x7FFE, 0xC000000000000000), Bits80(0xBFFE, 0x908788B2250D224E),
         Bits80(0xBFFE, 0xD34C87A22A09181F)},
        {"1e-10", 1e-10_ext, 1e-10_ext, 1},
        {"−7.25", -7.25_ext, Bits80(0xBFFE, 0xD2B56DB1513DC48E),
         Bits80(0x3FFE, 0x91637A86E1FDF307)},
        {"−0", -0.0_ext, -0.0_ext, 1},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(Sin(c.x).Bits(), c.sine.Bits()) << c.name << ": " << Sin(c.x);
        EXPECT_EQ(Cos(c.x).Bits(), c.cosine.Bits()) << c.name << ": " << Cos(c.x);
    }
}

TEST(SoftFormat, SineAndCosineOfNonFiniteValues) {
    unsigned flags = 0;
    EXPECT_EQ(soft::Sine(soft::Infinity(true), flags), soft::kIndefinite);
    EXPECT_EQ(flags, unsigned{soft::kInvalid});
    flags = 0;
    const Float80 quiet{soft::kIntegerBit | soft::kQuietBit | 5, 0x7FFF};
    EXPECT_EQ(soft::Cosine(quiet, flags), quiet);
    EXPECT_EQ(flags, 0u);
}

TEST(SoftFormat, TheQuickSineAgreesWithTheCarefulOneWhereverItIsSure) {
    // The two-word kernel with its table against the eight-word series, over arguments from
    // 2^-32 to 2^16000: both must round to the same value, or the quick one must step aside.
    operands::Random random(7);
    int stepped = 0;
    for (int i = 0; i < 20000; ++i) {
        const int field =
            soft::kBias - 32 +
            (i % 3 == 0 ? operands::Below(random, 16000) : operands::Below(random, 40));
        const std::uint64_t m = random() | soft::kIntegerBit;
        const int e = field - soft::kBias - 63;
        const bool cosine = (i & 1) != 0;
        const auto quick = soft::trig::SineOrCosine<2>(false, m, e, cosine, false);
        const auto careful = soft::trig::SineOrCosine<8>(false, m, e, cosine, true);
        if (!quick) {
            ++stepped;
            continue;
        }
        ASSERT_EQ(*quick, *careful) << "field " << field << " significand " << m;
    }
    EXPECT_LT(stepped, 5);
}

TEST(SoftFormat, ScalingByPowersOfTwoIsExactOrRoundedOnce) {
    EXPECT_EQ(ScaleByPowerOfTwo(3, 10), 3072);
    EXPECT_EQ(ScaleByPowerOfTwo(1, -16445).Bits(), kSmallestSubnormalExtended.Bits());
    EXPECT_EQ(ScaleByPowerOfTwo(3, -16446).Bits(), Bits80(0, 2).Bits());  // 1.5 rounds to 2
    EXPECT_EQ(ScaleByPowerOfTwo(1, -16447).Bits(), Bits80(0, 0).Bits());
    ClearExtendedFaults();
    EXPECT_EQ(ScaleByPowerOfTwo(1, 16384).Bits(), kInfiniteExtended.Bits());
    EXPECT_EQ(RaisedExtendedFaults(), unsigned{soft::kOverflow});
    ClearExtendedFaults();
}

}  // namespace
}  // namespace velmora
