#include <gtest/gtest.h>

#include <cfenv>
#include <string>

#include "ArithmeticCheck.h"
#include "Error.h"
#include "ExtendedTestSupport.h"
#include "FloatingPointFlags.h"
#if defined(__x86_64__) && defined(__GNUC__)
#include "FloatingPointState.h"
#endif

namespace velmora {
namespace {

/// x as the compiler cannot know it: every case below is computed at run time.
Extended Runtime(Extended x) {
    const soft::Float80 bits = x.Bits();
    volatile std::uint64_t significand = bits.Significand;
    volatile std::uint16_t signExponent = bits.SignExponent;
    return Extended::FromBits({significand, signExponent});
}

const Extended kHuge = Bits80(0x73E6, 0xD1BA8323FE558C61);  // 1e4000
const Extended kTiny = Bits80(0x0C17, 0x9C3D73864F3805C0);  // 1e-4000

std::u16string MessageOf(auto compute) {
    try {
        Checked(compute);
    } catch (const EMathError& e) {
        return e.Message();
    }
    return u"(no error)";
}

TEST(ArithmeticCheck, ReportsEachFaultWithItsMessage) {
    struct Case {
        const char* name;
        double (*compute)();
        std::u16string message;
    };
    const Case cases[] = {
        {"extended too large for a double", [] { return double(Runtime(kHuge)); },
         u"Floating point overflow"},
        {"extended square overflow", [] { return Runtime(kHuge) * Runtime(kHuge) > 0 ? 1.0 : 0.0; },
         u"Floating point overflow"},
        {"division by zero", [] { return double(Runtime(1) / Runtime(0)); },
         u"Floating point division by zero"},
        {"zero by zero", [] { return double(Runtime(0) / Runtime(0)); },
         u"Invalid floating point operation"},
        {"square root of a negative", [] { return double(Sqrt(Runtime(-1))); },
         u"Invalid floating point operation"},
        {"sine of infinity", [] { return double(Sin(Runtime(kInfiniteExtended))); },
         u"Invalid floating point operation"},
        {"underflow passes", [] { return double(Runtime(kTiny)); }, u"(no error)"},
        {"inexact passes", [] { return double(Runtime(1) / 3); }, u"(no error)"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(MessageOf(c.compute), c.message) << c.name;
    }
}

TEST(ArithmeticCheck, OverflowIsReportedBeforeTheInvalidOperationItCauses) {
    // inf − inf after an overflow: a trapping unit would have stopped at the overflow.
    EXPECT_EQ(MessageOf([] {
                  const Extended big = Runtime(kHuge) * Runtime(kHuge);
                  return double(big - big);
              }),
              u"Floating point overflow");
}

TEST(ArithmeticCheck, KeepsTheCallersFlagsAndLeavesNoneOfItsOwn) {
    EXPECT_EQ(FlagsAfter(soft::kDivisionByZero,
                         [] { EXPECT_EQ(Checked([] { return double(Runtime(1) / 4); }), 0.25); }),
              soft::kDivisionByZero);
    EXPECT_EQ(FlagsAfter(0,
                         [] {
                             EXPECT_THROW(Checked([] { return double(Runtime(1) / Runtime(0)); }),
                                          EMathError);
                         }),
              0u);
}

TEST(ArithmeticCheck, AnEarlierFlagOfTheCallerIsNotBlamedOnTheWatchedArithmetic) {
    EXPECT_EQ(FlagsAfter(soft::kOverflow,
                         [] { EXPECT_NO_THROW(Checked([] { return double(Runtime(1) + 1); })); }),
              soft::kOverflow);
}

TEST(ArithmeticCheck, NestedChecksReportTheInnerFaultOnce) {
    EXPECT_EQ(MessageOf([] { return Checked([] { return double(Runtime(kHuge)); }) + 1.0; }),
              u"Floating point overflow");
}

#if defined(__x86_64__) && defined(__GNUC__)  // where a caller can set the x87's controls
TEST(ArithmeticCheck, ComputesToNearestInFullPrecisionWhateverTheCallerSet) {
    const auto third = [] { return Runtime(1) / Runtime(3); };
    for (const auto& caller : kCallers) {
        EnterCallerEnvironment(caller);
        const FloatingPointState before = ObserveFloatingPoint();
        const Extended result = Checked(third);
        const FloatingPointState after = ObserveFloatingPoint();
        std::fesetenv(FE_DFL_ENV);
        EXPECT_EQ(result.Bits(), Bits80(0x3FFD, 0xAAAAAAAAAAAAAAAB).Bits()) << caller.name;
        EXPECT_EQ(after, before) << caller.name;
    }
}
#endif

TEST(ArithmeticCheck, ErrorMessageIsAlsoReadableAsUtf8) {
    try {
        ThrowArithmeticError(soft::kInvalid);
        FAIL() << "no error thrown";
    } catch (const Error& e) {
        EXPECT_STREQ(e.what(), "Invalid floating point operation");
    }
    EXPECT_NO_THROW(ThrowArithmeticError(0));
}

}  // namespace
}  // namespace velmora
