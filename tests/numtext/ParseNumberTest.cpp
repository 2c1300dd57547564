#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <string>

#include "Error.h"
#include "ExtendedTestSupport.h"
#include "NumText.h"
#include "SeparatorScope.h"

namespace velmora {
namespace {

constexpr Extended kNegativeZero = -0.0_ext;

/// Equal values with equal signs (so 0 and -0 differ).
testing::AssertionResult SameNumber(Extended actual, Extended expected) {
    if (actual == expected && SignBit(actual) == SignBit(expected)) {
        return testing::AssertionSuccess();
    }
    return testing::AssertionFailure() << "got " << actual << ", expected " << expected;
}

std::u16string ConvertMessage(auto&& convert) {
    try {
        convert();
    } catch (const EConvertError& e) {
        return e.Message();
    }
    return u"(no error)";
}

struct ReadCase {
    const char* name;
    std::u16string text;
    Extended value;
};

// Typed numbers that ParseNumber reads whatever the locale's separator is, point or comma.
const ReadCase kReadUnderEitherSeparator[] = {
    {"point", u"2.5", 2.5_ext},
    {"comma", u"2,5", 2.5_ext},
    {"comma between spaces", u" 2,5 ", 2.5_ext},
    {"point with a trailing space", u"2.5 ", 2.5_ext},
    {"negative point fraction", u"-.5", -0.5_ext},
    {"negative comma fraction", u"-,5", -0.5_ext},
    {"trailing point", u"5.", 5.0_ext},
    {"trailing comma", u"5,", 5.0_ext},
    {"plus sign", u"+5", 5.0_ext},
    {"small exponent", u"1e3", 1000.0_ext},
    {"signed exponent with a capital E", u"1E+03", 1000.0_ext},
    {"comma with an exponent", u"1,5e2", 150.0_ext},
    {"point with an exponent", u"1.5e2", 150.0_ext},
    {"exponent with a leading zero", u"1e0500", Bits80(0x467B, 0xF9B2FF649B8695D7)},
    {"far below the subnormals", u"1e-4999", 0.0_ext},
    {"negative zero", u"-0", kNegativeZero},
    {"integer", u"42", 42.0_ext},
    {"many spaces around", u"   -7   ", -7.0_ext},
};

struct FailCase {
    const char* name;
    std::u16string text;
    std::u16string message;
};

// Texts that ParseNumber rejects under either separator; the message quotes the text of the
// last attempt, so a swapped separator shows swapped.
const FailCase kRejectedUnderEitherSeparator[] = {
    {"empty", u"", u"'' is not a valid floating point value"},
    {"letters", u"abc", u"'abc' is not a valid floating point value"},
    {"lone point", u".", u"',' is not a valid floating point value"},
    {"lone comma", u",", u"'.' is not a valid floating point value"},
    {"point grouping, comma fraction", u"1.000,5",
     u"'1,000,5' is not a valid floating point value"},
    {"comma grouping, point fraction", u"1,000.5",
     u"'1,000,5' is not a valid floating point value"},
    {"two commas", u"1,2,3", u"'1.2.3' is not a valid floating point value"},
    {"space grouping", u"1 000", u"'1 000' is not a valid floating point value"},
    {"two signs", u"--1", u"'--1' is not a valid floating point value"},
    {"space after the sign", u"- 1", u"'- 1' is not a valid floating point value"},
    {"exponent without digits", u"1e", u"'1e' is not a valid floating point value"},
    {"signed exponent without digits", u"1e+", u"'1e+' is not a valid floating point value"},
    {"exponent without a mantissa", u"e5", u"'e5' is not a valid floating point value"},
    {"infinity word", u"INF", u"'INF' is not a valid floating point value"},
    {"not-a-number word", u"NAN", u"'NAN' is not a valid floating point value"},
    {"hexadecimal", u"0x10", u"'0x10' is not a valid floating point value"},
    {"beyond the extended range", u"1e4933", u"'1e4933' is not a valid floating point value"},
    {"exponent of four digits left partly unread", u"1e5000",
     u"'1e5000' is not a valid floating point value"},
    {"untrimmed tab", u"\t2.5", u"'\t2,5' is not a valid floating point value"},
    {"lone sign", u"-", u"'-' is not a valid floating point value"},
};

TEST(ParseNumber, ReadsEitherSeparatorUnderEitherLocale) {
    for (const char16_t separator : {u'.', u','}) {
        SeparatorScope scope(separator);
        for (const auto& c : kReadUnderEitherSeparator) {
            Extended value = 0;
            ASSERT_NO_THROW(value = ParseNumber(c.text)) << c.name;
            EXPECT_TRUE(SameNumber(value, c.value))
                << c.name << " with separator " << char(separator);
        }
    }
}

TEST(ParseNumber, RejectsWithTheMessageOfTheLastAttempt) {
    for (const char16_t separator : {u'.', u','}) {
        SeparatorScope scope(separator);
        for (const auto& c : kRejectedUnderEitherSeparator) {
            EXPECT_EQ(ConvertMessage([&] { ParseNumber(c.text); }), c.message)
                << c.name << " with separator " << char(separator);
        }
    }
}

TEST(ParseNumber, ReadsATabbedNumberOnlyAfterTrimming) {
    SeparatorScope scope(u',');
    EXPECT_TRUE(SameNumber(ParseNumber(TrimBlanks(u"\t2,5\r\n")), 2.5_ext));
    EXPECT_EQ(ConvertMessage([] { ParseNumber(u"\t2,5"); }),
              u"'\t2.5' is not a valid floating point value");
}

TEST(ParseNumber, UnderAThirdSeparatorReadsOnlyThatSeparatorAndIntegers) {
    SeparatorScope arabic(u'\u066B');
    EXPECT_TRUE(SameNumber(ParseNumber(u"2\u066B5"), 2.5_ext));
    EXPECT_TRUE(SameNumber(ParseNumber(u"7"), 7.0_ext));
    EXPECT_TRUE(SameNumber(ParseNumber(u"-3e2"), -300.0_ext));
    EXPECT_EQ(ConvertMessage([] { ParseNumber(u"2.5"); }),
              u"'2,5' is not a valid floating point value");
    EXPECT_EQ(ConvertMessage([] { ParseNumber(u"2,5"); }),
              u"'2.5' is not a valid floating point value");
}

TEST(TextToNumber, QuotesTheTextExactlyAsPassed) {
    const TFormatSettings point{u'.', u','};
    EXPECT_TRUE(SameNumber(TextToNumber(u" 12.5 ", point), 12.5_ext));
    EXPECT_EQ(ConvertMessage([&] { TextToNumber(u" 12,5 ", point); }),
              u"' 12,5 ' is not a valid floating point value");
    EXPECT_EQ(ConvertMessage([&] { TextToNumber(u"Шаг", point); }),
              u"'Шаг' is not a valid floating point value");
    const std::u16string withNul(u"x\0y", 3);
    EXPECT_EQ(ConvertMessage([&] { TextToNumber(withNul, point); }),
              std::u16string(u"'x\0y' is not a valid floating point value", 41));
}

struct ScanCase {
    const char* name;
    std::u16string text;
    bool read;
    Extended value;  // when read
};

const ScanCase kScanCases[] = {
    {"largest power of ten in range", u"1e4932", true, Bits80(0x7FFE, 0xD72CB2A95C7EF6CD)},
    {"first power of ten out of range", u"1e4933", false, 0},
    {"largest value written to 18 digits", u"1.18973149535723176e4932", true,
     Bits80(0x7FFE, 0xFFFFFFFFFFFFFFB1)},
    {"just beyond half a unit above the largest value", u"1.18973149535723177e4932", false, 0},
    {"exponent 4999 read whole and too large", u"1e4999", false, 0},
    {"exponent -4999 gives zero", u"1e-4999", true, 0.0_ext},
    {"exponent 499 read whole", u"1e499", true, Bits80(0x4678, 0xC7C265EA160544AC)},
    {"leading zeros of the exponent", u"1e0000000000000000003", true, 1000.0_ext},
    {"exponent of 5000 left unread", u"1e-5000", false, 0},
    {"zero with the largest exponent", u"0e4999", true, 0.0_ext},
    {"negative zero with the largest exponent", u"-0e4999", true, kNegativeZero},
    {"zero fraction with a tiny exponent", u"0.000e-4999", true, 0.0_ext},
    {"negative zero fraction", u"-0.0", true, kNegativeZero},
    {"smallest subnormal", u"3.6451995318824746025e-4951", true, kSmallestSubnormalExtended},
    {"rounds up to the smallest subnormal", u"1.9e-4951", true, kSmallestSubnormalExtended},
    {"rounds down to zero below half the smallest subnormal", u"1.8e-4951", true, 0.0_ext},
    {"smallest normal value", u"3.36210314311209350626e-4932", true, kSmallestNormalExtended},
    // 10^28 is the first power of ten that the extended format cannot hold exactly.
    {"first inexact power of ten", u"1e28", true, Bits80(0x405C, 0x813F3978F8940984)},
    {"negative beyond the exact powers", u"-3.2e29", true, -Bits80(0x4061, 0x813F3978F8940984)},
    {"nineteen nines are exact", u"9999999999999999999", true, 9999999999999999999.0_ext},
    {"2^64 - 1 is exact", u"18446744073709551615", true, Bits80(0x403E, 0xFFFFFFFFFFFFFFFF)},
    {"many fraction digits scaled down exactly", u"0.1234567890123456789", true,
     0.1234567890123456789_ext},
    {"long run of zeros", u"0.0000000000000000000000000000000000000001", true,
     Bits80(0x3F7A, 0x8B61313BBABCE2C6)},
    {"U+0000 ends the text", std::u16string(u"12\0abc", 6), true, 12.0_ext},
    {"U+0000 alone", std::u16string(u"\0", 1), false, 0},
    {"spaces and a sign", u"  +7  ", true, 7.0_ext},
    {"fraction only", u".5", true, 0.5_ext},
    {"second sign", u"+-1", false, 0},
    {"space before the exponent", u"1 e5", false, 0},
    {"space inside the exponent", u"1e 5", false, 0},
    {"second separator", u"1.5.2", false, 0},
    {"the other separator", u"1,5", false, 0},
    {"leading tab", u"\t1", false, 0},
    {"trailing tab", u"1\t", false, 0},
    {"no-break space", u"\u00A01", false, 0},
    {"Arabic-Indic digit", u"\u0663", false, 0},
    {"fullwidth digit", u"\uFF11", false, 0},
    {"lower-case infinity word", u"inf", false, 0},
    {"Infinity word", u"Infinity", false, 0},
    {"hexadecimal float", u"0x1p3", false, 0},
    {"underscore grouping", u"1_000", false, 0},
    {"exponent sign only", u"1e-", false, 0},
};

TEST(TryTextToNumber, ScansTheWholeTextAndStaysInTheExtendedRange) {
    const TFormatSettings point{u'.', u','};
    for (const auto& c : kScanCases) {
        Extended value = 42;
        const bool read = TryTextToNumber(c.text, point, value);
        EXPECT_EQ(read, c.read) << c.name;
        if (read) {
            EXPECT_TRUE(SameNumber(value, c.value)) << c.name;
        } else {
            EXPECT_TRUE(SameNumber(value, 42)) << c.name << ": a failed read changed the value";
        }
    }
}

struct LongTextCase {
    const char* name;
    std::u16string text;
    std::u16string shown;  ///< FormatGeneral(value, 5, 4), as the position rows show it
    Extended value;
};

// Texts of more than 19 significant digits are read as one exact whole number scaled once,
// so hundreds of digits still give the nearest extended value and the reading it shows.
const LongTextCase kLongTexts[] = {
    {"65536.5 and 462 zeros", u"65536.5" + std::u16string(462, u'0'), u"65537", 65536.5_ext},
    {"9.99995 and 535 zeros", u"9.99995" + std::u16string(535, u'0'), u"10",
     Bits80(0x4002, 0x9FFFCB923A29C77A)},
    {"25 digits, 2^64 + 1 among them", u"1844674407370955161700000", u"1.8447E0024",
     Bits80(0x404F, 0xC350000000000001)},
    {"one and 24 zeros after the point", u"1.000000000000000000000000", u"1", 1.0_ext},
};

TEST(ParseNumber, ReadsLongTextsAsTheNearestValue) {
    SeparatorScope scope(u'.');
    for (const auto& c : kLongTexts) {
        const Extended value = ParseNumber(c.text);
        EXPECT_TRUE(SameNumber(value, c.value)) << c.name;
        EXPECT_EQ(FormatGeneral(value, 5, 4), c.shown) << c.name;
    }
}

TEST(TryTextToNumber, LongDigitRunsFollowTheAccumulation) {
    const TFormatSettings point{u'.', u','};
    Extended value = 0;
    // The accumulated whole number leaves the range although the value is 1.
    const std::u16string tooManyDigits = u"1." + std::u16string(5000, u'0');
    EXPECT_FALSE(TryTextToNumber(tooManyDigits, point, value));
    const std::u16string manyLeadingZeros = u"0." + std::u16string(100000, u'0') + u"1e4999";
    ASSERT_TRUE(TryTextToNumber(manyLeadingZeros, point, value));
    EXPECT_TRUE(SameNumber(value, 0.0_ext));
}

}  // namespace
}  // namespace velmora
