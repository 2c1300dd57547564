#include <gtest/gtest.h>

#include <cstdint>
#include <cstdio>
#include <cstring>
#include <iostream>
#include <limits>
#include <random>
#include <string>
#include <vector>

#include "ExtendedTestSupport.h"
#include "NumText.h"

namespace velmora {
namespace {

/// An extended value from its fields: sign, 15-bit biased exponent, 64-bit significand.
Extended FromFields(bool negative, int field, std::uint64_t significand) {
    unsigned char bytes[sizeof(Extended)] = {};
    std::memcpy(bytes, &significand, sizeof significand);
    const auto signAndField = static_cast<std::uint16_t>((negative ? 0x8000 : 0) | field);
    std::memcpy(bytes + sizeof significand, &signAndField, sizeof signAndField);
    Extended value;
    std::memcpy(&value, bytes, sizeof value);
    return value;
}

/// A whole number in decimal: limbs of nine digits, least significant first.
class DecimalWhole {
  public:
    explicit DecimalWhole(std::uint64_t value) {
        do {
            limbs_.push_back(static_cast<std::uint32_t>(value % kBase));
            value /= kBase;
        } while (value != 0);
    }

    void MultiplyBy(std::uint32_t factor) {
        std::uint64_t carry = 0;
        for (auto& limb : limbs_) {
            const std::uint64_t product = std::uint64_t{limb} * factor + carry;
            limb = static_cast<std::uint32_t>(product % kBase);
            carry = product / kBase;
        }
        while (carry != 0) {
            limbs_.push_back(static_cast<std::uint32_t>(carry % kBase));
            carry /= kBase;
        }
    }

    void MultiplyByPower(std::uint32_t base, int exponent) {
        std::uint32_t chunk = 1;
        int chunkExponent = 0;
        while (std::uint64_t{chunk} * base < (1u << 28))
            chunk *= base, ++chunkExponent;
        for (; exponent >= chunkExponent; exponent -= chunkExponent)
            MultiplyBy(chunk);
        for (; exponent > 0; --exponent)
            MultiplyBy(base);
    }

    std::string Digits() const {
        std::string text = std::to_string(limbs_.back());
        char group[10];
        for (std::size_t i = limbs_.size() - 1; i-- > 0;) {
            std::snprintf(group, sizeof group, "%09u", limbs_[i]);
            text += group;
        }
        return text;
    }

  private:
    static constexpr std::uint32_t kBase = 1'000'000'000;
    std::vector<std::uint32_t> limbs_;
};

/// Adds one to a string of decimal digits; "999" becomes "1000".
std::string Increment(std::string digits) {
    std::size_t i = digits.size();
    while (i > 0 && digits[i - 1] == '9')
        digits[--i] = '0';
    if (i == 0)
        return "1" + digits;
    ++digits[i - 1];
    return digits;
}

std::string WithoutTrailingZeros(std::string digits) {
    digits.erase(digits.find_last_not_of('0') + 1);
    return digits;
}

/// The exact decimal expansion of significand × 2^exponent (significand > 0), rounded to
/// 18 digits, nearest, ties to even: the reference that ToDecimalForm must meet.
struct ReferenceExpansion {
    std::string digits;  // exactly 18
    int exponent;        // 10^(exponent−1) ≤ value < 10^exponent
};

ReferenceExpansion Reference(std::uint64_t significand, int exponent) {
    DecimalWhole whole(significand);
    int decimalPoint = 0;  // value = whole × 10^decimalPoint
    if (exponent >= 0) {
        whole.MultiplyByPower(2, exponent);
    } else {
        whole.MultiplyByPower(5, -exponent);  // m × 2^-n = m × 5^n × 10^-n
        decimalPoint = exponent;
    }
    const std::string all = whole.Digits();
    ReferenceExpansion expansion{all.substr(0, 18), static_cast<int>(all.size()) + decimalPoint};
    expansion.digits.resize(18, '0');
    if (all.size() > 18) {
        const std::string rest = all.substr(18);
        const bool aboveHalf = rest[0] > '5' || (rest[0] == '5' && rest.find_first_not_of('0', 1) !=
                                                                       std::string::npos);
        const bool half = rest[0] == '5' && !aboveHalf;
        const bool odd = (expansion.digits.back() - '0') % 2 == 1;
        if (aboveHalf || (half && odd))
            expansion.digits = Increment(expansion.digits);
        if (expansion.digits.size() == 19) {
            expansion.digits.pop_back();
            ++expansion.exponent;
        }
    }
    return expansion;
}

/// The digits kept at `precision`: half up on the 18-digit expansion.
std::string ReferenceDigits(const ReferenceExpansion& expansion, int precision, int& exponent) {
    exponent = expansion.exponent;
    std::string kept = expansion.digits.substr(0, static_cast<std::size_t>(precision));
    if (precision < 18 && expansion.digits[static_cast<std::size_t>(precision)] >= '5') {
        kept = Increment(kept);
        if (kept.size() > static_cast<std::size_t>(precision))
            ++exponent;
    }
    return WithoutTrailingZeros(kept);
}

struct FormCase {
    const char* name;
    Extended value;
    int precision;
    std::string digits;
    int exponent;
    bool negative;
};

const FormCase kForms[] = {
    {"zero", 0.0_ext, 5, "", 0, false},
    {"negative zero has no sign", -0.0_ext, 5, "", 0, false},
    {"subnormal", kSmallestSubnormalExtended, 18, "", 0, false},
    {"negative subnormal", -kSmallestNormalExtended / 2, 18, "", 0, false},
    {"half up on the fifth digit", 1.0625_ext, 4, "1063", 1, false},
    {"half up of a whole half", 1234.5_ext, 4, "1235", 4, false},
    {"carry through every nine", 99999.5_ext, 5, "1", 6, false},
    {"carry across a power of ten below one", 0.000099995_ext, 4, "1", -3, false},
    {"trailing zeros dropped", 12.5_ext, 5, "125", 2, false},
    {"negative", -2.5e-7_ext, 5, "25", -6, true},
    {"19th digit a tie, 18th even: down", 1000000000000000005.0_ext, 18, "1", 19, false},
    {"19th digit a tie, 18th odd: up", 1000000000000000015.0_ext, 18, "100000000000000002", 19,
     false},
    {"18-digit expansion reaches 10^18", 999999999999999999.5_ext, 18, "1", 19, false},
    {"largest value", kLargestExtended, 18, "118973149535723177", 4933, false},
    {"smallest normal value", kSmallestNormalExtended, 18, "336210314311209351", -4931, false},
    {"an exact power of ten", 1e27_ext, 2, "1", 28, false},
    {"just below a power of ten", 0.1_ext - 0.1_ext / (1LL << 62), 18, "1", 0, false},
};

TEST(ToDecimalForm, RoundsAsTheBenchShowsNumbers) {
    for (const auto& c : kForms) {
        const DecimalForm form = ToDecimalForm(c.value, c.precision);
        EXPECT_EQ(form.Digits, c.digits) << c.name;
        EXPECT_EQ(form.Exponent, c.exponent) << c.name;
        EXPECT_EQ(form.Negative, c.negative) << c.name;
    }
}

TEST(ToDecimalForm, NonFiniteValuesHaveTheFormOfZero) {
    for (const Extended value : {kInfiniteExtended, -kInfiniteExtended, kNaNExtended}) {
        const DecimalForm form = ToDecimalForm(value, 5);
        EXPECT_EQ(form.Digits, "");
        EXPECT_EQ(form.Exponent, 0);
        EXPECT_FALSE(form.Negative);
    }
}

/// Compares ToDecimalForm with the reference for random values drawn by `field` (the biased
/// exponent); counts the values whose 18-digit expansions differ only in the 18th digit.
void CompareWithReference(const char* range, int leastField, int greatestField, int count) {
    std::mt19937_64 random(4933u + static_cast<unsigned>(leastField));
    std::uniform_int_distribution<int> fields(leastField, greatestField);
    int lastDigitDifferences = 0;
    int otherDifferences = 0;
    for (int i = 0; i < count; ++i) {
        const bool negative = (random() & 1) != 0;
        const int field = fields(random);
        const std::uint64_t significand = random() | (std::uint64_t{1} << 63);
        const Extended value = FromFields(negative, field, significand);
        const ReferenceExpansion expansion = Reference(significand, field - 16383 - 63);

        const DecimalForm full = ToDecimalForm(value, 18);
        const std::string fullDigits = WithoutTrailingZeros(expansion.digits);
        if (full.Digits != fullDigits || full.Exponent != expansion.exponent ||
            full.Negative != negative) {
            const bool onlyLast = full.Exponent == expansion.exponent &&
                                  full.Digits.substr(0, 17) == expansion.digits.substr(0, 17);
            ++(onlyLast ? lastDigitDifferences : otherDifferences);
            ADD_FAILURE() << range << ": field " << field << ", significand " << significand
                          << ": got " << full.Digits << " E" << full.Exponent << ", expected "
                          << fullDigits << " E" << expansion.exponent;
        }

        const int precision = std::uniform_int_distribution<int>(2, 17)(random);
        int exponent = 0;
        const std::string digits = ReferenceDigits(expansion, precision, exponent);
        const DecimalForm rounded = ToDecimalForm(value, precision);
        EXPECT_EQ(rounded.Digits, digits)
            << range << ": field " << field << ", precision " << precision;
        EXPECT_EQ(rounded.Exponent, exponent) << range << ": field " << field;
    }
    std::cout << range << ": " << count << " random values, 18th digit differs in "
              << lastDigitDifferences << ", other differences " << otherDifferences << "\n";
}

TEST(ToDecimalForm, MatchesExactDecimalArithmeticOverTheWholeRange) {
    CompareWithReference("whole exponent range", 1, 0x7FFE, 3000);
}

TEST(ToDecimalForm, MatchesExactDecimalArithmeticForBenchMagnitudes) {
    // 2^-60 … 2^60 (about 1e-18 … 1e18): the readings, positions and angles of the bench.
    CompareWithReference("bench magnitudes", 16383 - 60, 16383 + 60, 20000);
}

TEST(ToDecimalForm, SubnormalsAreZeroWhateverTheirSignificand) {
    std::mt19937_64 random(16445);
    for (int i = 0; i < 100; ++i) {
        const DecimalForm form =
            ToDecimalForm(FromFields((random() & 1) != 0, 0, random() >> 1), 18);
        EXPECT_EQ(form.Digits, "");
        EXPECT_EQ(form.Exponent, 0);
        EXPECT_FALSE(form.Negative);
    }
}

}  // namespace
}  // namespace velmora
