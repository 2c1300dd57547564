#include <gtest/gtest.h>

#include <cfenv>
#include <cstdint>
#include <string>

#include "Error.h"
#include "ExtendedTestSupport.h"
#include "FloatingPointState.h"
#include "NumText.h"
#include "SeparatorScope.h"

namespace velmora {
namespace {

// Texts that take every path of the scan: rejected forms, exact and rounded accumulation,
// scaling by small and large powers, overflow, subnormals and underflow to zero.
const std::u16string kTexts[] = {
    u"",
    u"abc",
    u"0.1",
    u"-2.5",
    u"1e4932",
    u"1e4933",
    u"1e4999",
    u"1e-4999",
    u"1e-4940",
    u"0e4999",
    u"-0",
    u"1e-30",
    u"123456789012345678901e-9",
    u"1." + std::u16string(5000, u'0'),
    u"3.3e-4932",
    u"1.18973149535723177e4932",
};

class ScanEnvironment : public testing::Test {
  protected:
    void TearDown() override { std::fesetenv(FE_DFL_ENV); }
};

TEST_F(ScanEnvironment, TheCallersFlagsAndControlsComeBackWhole) {
    const TFormatSettings point{u'.', u','};
    for (const auto& caller : kCallers) {
        for (const auto& text : kTexts) {
            EnterCallerEnvironment(caller);
            const FloatingPointState before = ObserveFloatingPoint();
            Extended value = 0;
            TryTextToNumber(text, point, value);
            const FloatingPointState after = ObserveFloatingPoint();
            std::fesetenv(FE_DFL_ENV);
            EXPECT_EQ(after, before)
                << caller.name << ", text of " << text.size() << " characters starting "
                << char(text.empty() ? ' ' : text[0]);
        }
    }
}

TEST_F(ScanEnvironment, ResultsDoNotDependOnTheCallersRoundingOrPrecision) {
    const TFormatSettings point{u'.', u','};
    for (const auto& text : kTexts) {
        Extended expected = 0;
        const bool expectedRead = TryTextToNumber(text, point, expected);
        for (const auto& caller : kCallers) {
            EnterCallerEnvironment(caller);
            Extended value = 0;
            const bool read = TryTextToNumber(text, point, value);
            std::fesetenv(FE_DFL_ENV);
            EXPECT_EQ(read, expectedRead) << caller.name;
            if (read && expectedRead) {
                EXPECT_EQ(value, expected) << caller.name << " for a text of " << text.size();
            }
        }
    }
}

TEST_F(ScanEnvironment, AFailedParseRaisesItsErrorWithTheCallersFlagsIntact) {
    SeparatorScope point(u'.');
    EnterCallerEnvironment(kCallers[1]);
    const FloatingPointState before = ObserveFloatingPoint();
    EXPECT_THROW(ParseNumber(u"1e4933"), EConvertError);
    const FloatingPointState after = ObserveFloatingPoint();
    std::fesetenv(FE_DFL_ENV);
    EXPECT_EQ(after, before);
}

}  // namespace
}  // namespace velmora
