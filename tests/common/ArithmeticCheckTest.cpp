#include <gtest/gtest.h>

#include <cfenv>
#include <limits>
#include <string>

#include "ArithmeticCheck.h"
#include "Error.h"
#include "Extended.h"
#include "FloatingPointFlags.h"

namespace velmora {
namespace {

// Values the compiler cannot fold: every case below is computed at run time.
volatile double vZero = 0.0;
volatile double vOne = 1.0;
volatile long double vHuge = 1e4000L;
volatile long double vTiny = 1e-4000L;

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
        {"extended too large for a double", [] { return double(vHuge); },
         u"Floating point overflow"},
        {"extended square overflow", [] { return double(vHuge * vHuge > 0 ? 1.0 : 0.0); },
         u"Floating point overflow"},
        {"division by zero", [] { return vOne / vZero; }, u"Floating point division by zero"},
        {"zero by zero", [] { return vZero / vZero; }, u"Invalid floating point operation"},
        {"square root of a negative", [] { return __builtin_sqrt(-vOne); },
         u"Invalid floating point operation"},
        {"underflow passes", [] { return double(vTiny); }, u"(no error)"},
        {"inexact passes", [] { return vOne / 3.0; }, u"(no error)"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(MessageOf(c.compute), c.message) << c.name;
    }
}

TEST(ArithmeticCheck, OverflowIsReportedBeforeTheInvalidOperationItCauses) {
    // inf − inf after an overflow: a trapping unit would have stopped at the overflow.
    EXPECT_EQ(MessageOf([] {
                  long double big = vHuge * vHuge;
                  return double(big - big);
              }),
              u"Floating point overflow");
}

TEST(ArithmeticCheck, KeepsTheCallersFlagsAndLeavesNoneOfItsOwn) {
    EXPECT_EQ(
        FlagsAfter(FE_INEXACT, [] { EXPECT_EQ(Checked([] { return vOne / 3.0; }), 1.0 / 3.0); }),
        FE_INEXACT);
    EXPECT_EQ(FlagsAfter(0, [] { EXPECT_THROW(Checked([] { return vOne / vZero; }), EMathError); }),
              0);
}

TEST(ArithmeticCheck, AnEarlierFlagOfTheCallerIsNotBlamedOnTheWatchedArithmetic) {
    EXPECT_TRUE(
        FlagsAfter(FE_OVERFLOW, [] { EXPECT_NO_THROW(Checked([] { return vOne + 1.0; })); }) &
        FE_OVERFLOW);
}

TEST(ArithmeticCheck, NestedChecksReportTheInnerFaultOnce) {
    EXPECT_EQ(MessageOf([] { return Checked([] { return double(vHuge); }) + 1.0; }),
              u"Floating point overflow");
}

TEST(ArithmeticCheck, ErrorMessageIsAlsoReadableAsUtf8) {
    try {
        ThrowArithmeticError(FE_INVALID);
        FAIL() << "no error thrown";
    } catch (const Error& e) {
        EXPECT_STREQ(e.what(), "Invalid floating point operation");
    }
    EXPECT_NO_THROW(ThrowArithmeticError(FE_UNDERFLOW | FE_INEXACT));
}

}  // namespace
}  // namespace velmora
