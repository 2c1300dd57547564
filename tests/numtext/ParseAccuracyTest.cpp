#include <gtest/gtest.h>

#include <algorithm>
#include <clocale>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <iostream>
#include <random>
#include <string>

#include "ExtendedTestSupport.h"
#include "NumText.h"

namespace velmora {
namespace {

/// A random number text of `fewestDigits` to `mostDigits` digits: sign, digits with the point
/// somewhere among them, exponent. Half of the texts scale by at most 10^27, the others
/// reach over the whole extended range and past both of its ends.
std::string RandomNumberText(std::mt19937_64& random, int fewestDigits, int mostDigits) {
    std::uniform_int_distribution<int> digitCount(fewestDigits, mostDigits);
    std::uniform_int_distribution<int> digit(0, 9);
    const int count = digitCount(random);
    std::string digits;
    for (int i = 0; i < count; ++i)
        digits += static_cast<char>('0' + digit(random));
    const int point = std::uniform_int_distribution<int>(0, count)(random);
    const bool wide = (random() & 1) != 0;
    const int exponent =
        wide ? std::uniform_int_distribution<int>(-4975, 4950)(random)
             : std::uniform_int_distribution<int>(-27, 27)(random) + (count - point);
    std::string text = (random() & 1) != 0 ? "-" : "";
    text += digits.substr(0, static_cast<std::size_t>(point)) + "." +
            digits.substr(static_cast<std::size_t>(point)) + "e" + std::to_string(exponent);
    return text;
}

std::u16string Widen(const std::string& ascii) {
    return {ascii.begin(), ascii.end()};
}

/// The C library's long double, the x87 format on the x86 targets this test is built for.
Extended FromLongDouble(long double value) {
    soft::Float80 bits;
    std::memcpy(&bits.Significand, &value, sizeof bits.Significand);
    std::memcpy(&bits.SignExponent, reinterpret_cast<const char*>(&value) + 8, 2);
    return Extended::FromBits(bits);
}

bool Identical(Extended a, Extended b) {
    return (a == b && SignBit(a) == SignBit(b)) || (IsNaN(a) && IsNaN(b));
}

struct RandomRun {
    const char* what;
    int fewestDigits;
    int mostDigits;
    int texts;
};

// The C library's strtold rounds correctly (in the "C" locale the tests run in) whatever the
// number of digits, so it is an exact reference, scaling by any power of ten included.
TEST(TryTextToNumber, GivesTheNearestExtendedValue) {
    ASSERT_STREQ(std::setlocale(LC_NUMERIC, nullptr), "C");
    const TFormatSettings point{u'.', u','};
    std::mt19937_64 random(20240521);
    for (const RandomRun run : {RandomRun{"up to 19 digits", 1, 19, 20000},
                                RandomRun{"20 to 400 digits", 20, 400, 3000}}) {
        int mismatches = 0;
        int subnormalOrZero = 0;
        int outOfRange = 0;
        for (int i = 0; i < run.texts; ++i) {
            const std::string text = RandomNumberText(random, run.fewestDigits, run.mostDigits);
            const Extended reference = FromLongDouble(std::strtold(text.c_str(), nullptr));
            Extended value = 0;
            const bool read = TryTextToNumber(Widen(text), point, value);
            if (IsInfinite(reference)) {
                ++outOfRange;
                if (read)
                    ++mismatches;
                EXPECT_FALSE(read) << text;
                continue;
            }
            if (soft::FieldOf(reference.Bits()) == 0)
                ++subnormalOrZero;
            if (!read || !Identical(value, reference)) {
                ++mismatches;
                EXPECT_TRUE(read && Identical(value, reference))
                    << text << ": got " << value << (read ? "" : " (no number)") << ", not "
                    << reference;
            }
        }
        std::cout << run.texts << " random texts of " << run.what << " (" << outOfRange
                  << " out of range, " << subnormalOrZero << " subnormal or zero): " << mismatches
                  << " differ from the nearest value\n";
        EXPECT_EQ(mismatches, 0) << run.what;
    }
}

__extension__ typedef unsigned __int128 Uint128;

/// `whole` ÷ 10^fractionDigits written out, then `tail` as further fraction digits.
std::string PointText(Uint128 whole, int fractionDigits, const std::string& tail) {
    std::string digits;
    for (; whole != 0; whole /= 10)
        digits.insert(digits.begin(), static_cast<char>('0' + static_cast<int>(whole % 10)));
    const auto fraction = static_cast<std::size_t>(fractionDigits);
    if (digits.size() <= fraction)
        digits.insert(0, fraction + 1 - digits.size(), '0');
    return digits.insert(digits.size() - fraction, ".") + tail;
}

// Twenty to four hundred digits at, just above and just below the point halfway between two
// neighbouring extended values n × 2^unit and (n + 1) × 2^unit, where one digit more or less
// decides: the tie goes to the even significand.
TEST(TryTextToNumber, RoundsLongTextsAtAndAroundHalfwayPoints) {
    const TFormatSettings point{u'.', u','};
    std::mt19937_64 random(20261209);
    for (int i = 0; i < 2000; ++i) {
        const std::uint64_t n = random() | (std::uint64_t{1} << 63);
        const int unit = std::uniform_int_distribution<int>(-20, 60)(random);
        const std::string zeros(std::uniform_int_distribution<std::size_t>(0, 400)(random), '0');
        // The halfway point (2n + 1) × 2^(unit − 1) is whole ÷ 10^fractionDigits.
        const int fractionDigits = std::max(0, 1 - unit);
        Uint128 whole = (Uint128{n} << 1) | 1;
        if (unit >= 1)
            whole <<= unit - 1;
        for (int j = 0; j < fractionDigits; ++j)
            whole *= 5;
        const Extended lower = ScaleByPowerOfTwo(Extended(n), unit);
        const Extended upper = ScaleByPowerOfTwo(Extended(n) + 1, unit);
        const struct {
            std::string text;
            Extended nearest;
        } cases[] = {
            {PointText(whole, fractionDigits, zeros), (n & 1) == 0 ? lower : upper},
            {PointText(whole, fractionDigits, zeros + "1"), upper},
            {PointText(whole - 1, fractionDigits, std::string(zeros.size() + 1, '9')), lower},
        };
        for (const auto& c : cases) {
            Extended value = 0;
            ASSERT_TRUE(TryTextToNumber(Widen(c.text), point, value)) << c.text;
            ASSERT_TRUE(Identical(value, c.nearest)) << c.text;
        }
    }
}

}  // namespace
}  // namespace velmora
