#include <gtest/gtest.h>

#include <limits>
#include <string>

#include "ExtendedTestSupport.h"
#include "NumText.h"
#include "SeparatorScope.h"

namespace velmora {
namespace {

using Layout = std::u16string (*)(Extended, std::int32_t, std::int32_t);

struct LayoutCase {
    const char* name;
    Layout layout;
    Extended value;
    int precision;
    int expDigits;
    std::u16string withPoint;
    std::u16string withComma;
};

// The bench's reference table: each value is the extended value nearest to the literal.
const LayoutCase kWorkedExamples[] = {
    {"general 12.5", FormatGeneral, 12.5_ext, 5, 4, u"12.5", u"12,5"},
    {"general 12.34567", FormatGeneral, 12.34567_ext, 5, 4, u"12.346", u"12,346"},
    {"general -2.5", FormatGeneral, -2.5_ext, 5, 4, u"-2.5", u"-2,5"},
    {"general 123456", FormatGeneral, 123456.0_ext, 5, 4, u"1.2346E0005", u"1,2346E0005"},
    {"general 99999.5", FormatGeneral, 99999.5_ext, 5, 4, u"1E0005", u"1E0005"},
    {"general 4.5e-11", FormatGeneral, 4.5e-11_ext, 5, 4, u"4.5E-0011", u"4,5E-0011"},
    {"general -3", FormatGeneral, -3.0_ext, 4, 4, u"-3", u"-3"},
    {"general 0", FormatGeneral, 0.0_ext, 4, 4, u"0", u"0"},
    {"general 0.0001", FormatGeneral, 0.0001_ext, 4, 4, u"0.0001", u"0,0001"},
    {"general 0.000099995", FormatGeneral, 0.000099995_ext, 4, 4, u"0.0001", u"0,0001"},
    {"general 0.00001", FormatGeneral, 0.00001_ext, 4, 4, u"1E-0005", u"1E-0005"},
    {"general 1.0625", FormatGeneral, 1.0625_ext, 4, 4, u"1.063", u"1,063"},
    {"general 1234.5", FormatGeneral, 1234.5_ext, 4, 4, u"1235", u"1235"},
    {"general 12340", FormatGeneral, 12340.0_ext, 4, 4, u"1.234E0004", u"1,234E0004"},
    {"exponent 9.6664e-5", FormatExponent, 9.6664e-5_ext, 5, 4, u"9.6664E-0005", u"9,6664E-0005"},
    {"exponent 12.5", FormatExponent, 12.5_ext, 5, 4, u"1.2500E+0001", u"1,2500E+0001"},
    {"exponent -2.5e-7", FormatExponent, -2.5e-7_ext, 5, 4, u"-2.5000E-0007", u"-2,5000E-0007"},
    {"exponent 99999.5", FormatExponent, 99999.5_ext, 5, 4, u"1.0000E+0005", u"1,0000E+0005"},
    {"exponent 0", FormatExponent, 0.0_ext, 5, 4, u"0.0000E+0000", u"0,0000E+0000"},
    {"angle 5", FormatGeneral, 5.0_ext, 15, 0, u"5", u"5"},
    {"angle 7.5", FormatGeneral, 7.5_ext, 15, 0, u"7.5", u"7,5"},
    {"angle 4.99999999999999999", FormatGeneral, 4.99999999999999999_ext, 15, 0, u"5", u"5"},
    {"angle 9.99999999999999999", FormatGeneral, 9.99999999999999999_ext, 15, 0, u"10", u"10"},
    {"angle 1/3", FormatGeneral, 1.0_ext / 3.0_ext, 15, 0, u"0.333333333333333",
     u"0,333333333333333"},
    {"angle 0.00001", FormatGeneral, 0.00001_ext, 15, 0, u"1E-5", u"1E-5"},
    {"angle 1e15", FormatGeneral, 1e15_ext, 15, 0, u"1E15", u"1E15"},
};

// Boundaries of the two layouts: rounding across a power of ten, signs, long exponents,
// the ends of the extended range and the precision and exponent-width limits.
const LayoutCase kEdgeCases[] = {
    {"negative zero, general", FormatGeneral, -0.0_ext, 4, 4, u"0", u"0"},
    {"negative zero, exponent", FormatExponent, -0.0_ext, 5, 4, u"0.0000E+0000", u"0,0000E+0000"},
    {"tiny negative keeps its sign", FormatGeneral, -Bits80(0x3F9B, 0xA2425FF75E14FC32), 4, 4,
     u"-1E-0030", u"-1E-0030"},
    {"9999.5 rounds to the next power", FormatGeneral, 9999.5_ext, 4, 4, u"1E0004", u"1E0004"},
    {"9999.4 stays fixed", FormatGeneral, 9999.4_ext, 4, 4, u"9999", u"9999"},
    {"0.00009999 is below the fixed range", FormatGeneral, 0.00009999_ext, 4, 4, u"9.999E-0005",
     u"9,999E-0005"},
    {"three-digit exponent written whole", FormatGeneral, Bits80(0x3C1A, 0xAB70FE17C79AC6CA), 5, 4,
     u"1E-0300", u"1E-0300"},
    {"four-digit positive exponent", FormatExponent, Bits80(0x4CF8, 0xF38DB1F9DD3DAC05), 5, 4,
     u"1.0000E+1000", u"1,0000E+1000"},
    {"80-bit digits, not double ones", FormatGeneral, 0.00012345_ext, 4, 4, u"0.0001235",
     u"0,0001235"},
    {"a double widened exactly", FormatGeneral, static_cast<Extended>(0.00012345), 4, 4,
     u"0.0001234", u"0,0001234"},
    {"fixed up to 10^P", FormatGeneral, 99994.0_ext, 5, 4, u"99994", u"99994"},
    {"integer part padded with zeros", FormatGeneral, 12000.0_ext, 5, 4, u"12000", u"12000"},
    {"smallest fixed exponent", FormatGeneral, 0.00012_ext, 5, 4, u"0.00012", u"0,00012"},
    {"largest extended value", FormatGeneral, kLargestExtended, 5, 0, u"1.1897E4932",
     u"1,1897E4932"},
    {"smallest normal value", FormatExponent, kSmallestNormalExtended, 5, 4, u"3.3621E-4932",
     u"3,3621E-4932"},
    {"subnormal shown as zero", FormatGeneral, kSmallestSubnormalExtended, 5, 4, u"0", u"0"},
    {"subnormal in exponent layout", FormatExponent, -kSmallestSubnormalExtended, 5, 4,
     u"0.0000E+0000", u"0,0000E+0000"},
    {"eighteen digits", FormatGeneral, 0.1_ext, 18, 0, u"0.1", u"0,1"},
    {"eighteen digits of 1/3", FormatExponent, 1.0_ext / 3.0_ext, 18, 2, u"3.33333333333333333E-01",
     u"3,33333333333333333E-01"},
    {"precision below two counts as two", FormatGeneral, 12.5_ext, 1, 4, u"13", u"13"},
    {"precision above eighteen counts as eighteen", FormatGeneral, 1.0_ext / 3.0_ext, 40, 0,
     u"0.333333333333333333", u"0,333333333333333333"},
    {"exponent width above four counts as none", FormatGeneral, 123456.0_ext, 5, 7, u"1.2346E5",
     u"1,2346E5"},
    {"negative exponent width counts as none", FormatExponent, 123456.0_ext, 5, -1, u"1.2346E+5",
     u"1,2346E+5"},
    {"exponent zero in the exponent layout", FormatExponent, 3.0_ext, 2, 0, u"3.0E+0", u"3,0E+0"},
    {"infinity", FormatGeneral, kInfiniteExtended, 5, 4, u"INF", u"INF"},
    {"negative infinity", FormatExponent, -kInfiniteExtended, 5, 4, u"-INF", u"-INF"},
    {"NaN", FormatGeneral, kNaNExtended, 5, 4, u"NAN", u"NAN"},
    {"NaN with the sign bit", FormatExponent, -kNaNExtended, 5, 4, u"NAN", u"NAN"},
};

template <std::size_t N>
void ExpectLayouts(const LayoutCase (&cases)[N]) {
    for (const auto& c : cases) {
        {
            SeparatorScope point(u'.');
            EXPECT_EQ(c.layout(c.value, c.precision, c.expDigits), c.withPoint)
                << c.name << " with a point";
        }
        {
            SeparatorScope comma(u',');
            EXPECT_EQ(c.layout(c.value, c.precision, c.expDigits), c.withComma)
                << c.name << " with a comma";
        }
    }
}

TEST(NumberLayouts, WorkedExamplesUnderBothSeparators) {
    ExpectLayouts(kWorkedExamples);
}

TEST(NumberLayouts, EdgeCasesUnderBothSeparators) {
    ExpectLayouts(kEdgeCases);
}

TEST(NumberLayouts, WriteASeparatorThatIsNeitherPointNorComma) {
    SeparatorScope arabic(u'\u066B');
    EXPECT_EQ(FormatGeneral(12.5_ext, 5, 4), u"12\u066B5");
    EXPECT_EQ(FormatGeneral(4.5e-11_ext, 5, 4), u"4\u066B5E-0011");
    EXPECT_EQ(FormatExponent(-2.5e-7_ext, 5, 4), u"-2\u066B5000E-0007");
    EXPECT_EQ(FormatExponent(0.0_ext, 5, 4), u"0\u066B0000E+0000");
    EXPECT_EQ(FormatGeneral(1234.0_ext, 4, 4), u"1234");
}

TEST(NumberLayouts, FollowTheSeparatorCurrentAtEachCall) {
    SeparatorScope comma(u',');
    EXPECT_EQ(FormatGeneral(7.5_ext, 15, 0), u"7,5");
    SeparatorScope point(u'.');
    EXPECT_EQ(FormatGeneral(7.5_ext, 15, 0), u"7.5");
    EXPECT_EQ(FormatExponent(7.5_ext, 5, 4), u"7.5000E+0000");
}

}  // namespace
}  // namespace velmora
