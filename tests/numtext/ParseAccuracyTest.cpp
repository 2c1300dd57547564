#include <gtest/gtest.h>

#include <clocale>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <iostream>
#include <random>
#include <string>

#include "ExtendedTestSupport.h"
#include "NumText.h"

namespace velmora {
namespace {

/// A random number text of at most 19 significant digits: sign, digits with the point
/// somewhere among them, exponent. Half of the texts scale by at most 10^27, the others
/// reach over the whole extended range and past both of its ends.
std::string RandomNumberText(std::mt19937_64& random) {
    std::uniform_int_distribution<int> digitCount(1, 19);
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

// The C library's strtold rounds correctly (in the "C" locale the tests run in), so up to 19
// significant digits it is an exact reference, scaling by any power of ten included.
TEST(TryTextToNumber, GivesTheNearestExtendedValueForUpToNineteenDigits) {
    ASSERT_STREQ(std::setlocale(LC_NUMERIC, nullptr), "C");
    const TFormatSettings point{u'.', u','};
    std::mt19937_64 random(20240521);
    constexpr int kTexts = 20000;
    int mismatches = 0;
    int subnormalOrZero = 0;
    int outOfRange = 0;
    for (int i = 0; i < kTexts; ++i) {
        const std::string text = RandomNumberText(random);
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
    std::cout << kTexts << " random texts (" << outOfRange << " out of range, " << subnormalOrZero
              << " subnormal or zero): " << mismatches << " differ from the nearest value\n";
    EXPECT_EQ(mismatches, 0);
}

}  // namespace
}  // namespace velmora
