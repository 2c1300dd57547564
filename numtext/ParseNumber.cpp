#include <algorithm>
#include <array>
#include <cstdint>
#include <limits>
#include <optional>

#include "ArithmeticCheck.h"
#include "Error.h"
#include "ExactScaling.h"
#include "NumText.h"

namespace velmora {

namespace {

/// The parts of a text that has the form of a number.
struct NumberText {
    bool Negative = false;
    std::u16string_view IntegerDigits;
    std::u16string_view FractionDigits;
    int Exponent = 0;
};

/// Exponent digits are read until their value reaches this; a longer exponent is left
/// partly unread, and so the text is not a number.
constexpr int kExponentReadLimit = 500;

bool IsDigit(char16_t c) {
    return c >= u'0' && c <= u'9';
}

/// The form of a number: spaces, a sign, digits with an optional fraction (at least one
/// digit in all), an optional exponent, spaces, the end.
std::optional<NumberText> ScanNumberText(std::u16string_view text, char16_t separator) {
    std::size_t at = 0;
    const auto skipSpaces = [&] {
        while (at < text.size() && text[at] == u' ')
            ++at;
    };
    const auto digitRun = [&] {
        const std::size_t start = at;
        while (at < text.size() && IsDigit(text[at]))
            ++at;
        return text.substr(start, at - start);
    };
    const auto takeSign = [&] {
        if (at < text.size() && (text[at] == u'+' || text[at] == u'-'))
            return text[at++] == u'-';
        return false;
    };

    NumberText number;
    skipSpaces();
    number.Negative = takeSign();
    number.IntegerDigits = digitRun();
    if (at < text.size() && text[at] == separator) {
        ++at;
        number.FractionDigits = digitRun();
    }
    if (number.IntegerDigits.empty() && number.FractionDigits.empty())
        return std::nullopt;
    if (at < text.size() && (text[at] == u'E' || text[at] == u'e')) {
        ++at;
        const bool negativeExponent = takeSign();
        if (at == text.size() || !IsDigit(text[at]))
            return std::nullopt;
        int magnitude = 0;
        while (at < text.size() && IsDigit(text[at]) && magnitude < kExponentReadLimit) {
            magnitude = magnitude * 10 + (text[at++] - u'0');
        }
        number.Exponent = negativeExponent ? -magnitude : magnitude;
    }
    skipSpaces();
    if (at != text.size())
        return std::nullopt;
    return number;
}

/// The scan's own arithmetic settings: flags cleared, every trap off, rounding to nearest
/// with the full 64-bit significand. The caller's, flags and controls alike, are put back
/// when the scope ends.
class ScanArithmetic {
  public:
    ScanArithmetic() noexcept : held_(true) {}
    ~ScanArithmetic() { held_.Restore(); }
    ScanArithmetic(const ScanArithmetic&) = delete;
    ScanArithmetic& operator=(const ScanArithmetic&) = delete;

  private:
    HeldFaults held_;
};

/// 10^0 … 10^27, each exact in the extended format (5^27 < 2^64).
constexpr int kExactPowerOfTen = 27;
constexpr auto kPowersOfTen = [] {
    std::array<Extended, kExactPowerOfTen + 1> powers{};
    powers[0] = 1;
    for (std::size_t i = 1; i < powers.size(); ++i)
        powers[i] = powers[i - 1] * 10;
    return powers;
}();

/// Beyond this many fraction digits more than exponent, every accumulated value (at most
/// about 10^4932) scales to far below the smallest subnormal.
constexpr std::int64_t kNegligibleScale = 100000;
/// The binary exponent of the largest extended value's binade, plus one.
constexpr int kOverflowBinaryExponent = 16384;
/// Values below 2^-16446, half the smallest subnormal, round to zero.
constexpr int kZeroBinaryExponent = -16446;

/// `whole` × 2^exponent × 10^scale (`whole` a positive 64-bit integer or WholeNumber)
/// rounded once to the nearest extended value, ties to even, subnormals on their own grid;
/// false when the result lies beyond the largest extended value.
template <class Whole>
bool ScaleExactly(const Whole& whole, int exponent, std::int64_t scale, Extended& result) {
    if (scale < -kNegligibleScale) {
        result = 0;
        return true;
    }
    const int k = static_cast<int>(scale);
    // floor(log2 of the exact result) is this or one more.
    const int binaryExponent =
        exact::BitLength(whole) - 1 + exponent + exact::FloorLog2Of10Power(k);
    if (binaryExponent >= kOverflowBinaryExponent)
        return false;
    if (binaryExponent + 1 < kZeroBinaryExponent) {
        result = 0;
        return true;
    }
    // The result is significand × 2^unit with a 64-bit significand, or on the subnormal grid.
    int unit = std::max(binaryExponent - 63, exact::kLeastUnitExponent);
    constexpr std::uint64_t kTopBit = std::uint64_t{1} << 63;
    exact::ScaledFloor scaled;
    for (;;) {
        scaled = exact::FloorScaled(whole, exponent + k - unit, k);
        if (!scaled.Fits) {
            ++unit;
        } else if (scaled.Quotient < kTopBit && unit > exact::kLeastUnitExponent) {
            --unit;
        } else {
            break;
        }
    }
    std::uint64_t significand = scaled.Quotient;
    if (exact::RoundsUp(scaled)) {
        if (significand == std::numeric_limits<std::uint64_t>::max()) {
            significand = kTopBit;
            ++unit;
        } else {
            ++significand;
        }
    }
    if (unit > exact::kGreatestUnitExponent)
        return false;
    result = ScaleByPowerOfTwo(significand, unit);
    return true;
}

/// Up to this many significant digits the accumulation in extended arithmetic is exact
/// (10^19 < 2^64).
constexpr std::size_t kExactlyAccumulatedDigits = 19;
/// A whole number of more significant digits is at least 10^4933, beyond the largest
/// extended value (about 1.19 × 10^4932).
constexpr std::size_t kMostAccumulatedDigits = 4933;

/// The integer and fraction digits taken together as one whole number, without its leading
/// zeros.
struct SignificantDigits {
    std::u16string_view IntegerDigits;
    std::u16string_view FractionDigits;

    std::size_t Count() const { return IntegerDigits.size() + FractionDigits.size(); }
};

SignificantDigits SignificantDigitsOf(const NumberText& number) {
    const auto withoutLeadingZeros = [](std::u16string_view digits) {
        return digits.substr(std::min(digits.find_first_not_of(u'0'), digits.size()));
    };
    const std::u16string_view integer = withoutLeadingZeros(number.IntegerDigits);
    if (!integer.empty())
        return {integer, number.FractionDigits};
    return {{}, withoutLeadingZeros(number.FractionDigits)};
}

/// The digits of at most 19 significant digits accumulated in extended arithmetic (exactly)
/// and scaled by 10^scale.
bool ScaleFewDigits(const NumberText& number, std::int64_t scale, Extended& magnitude) {
    Extended accumulated = 0;
    for (const std::u16string_view digits : {number.IntegerDigits, number.FractionDigits}) {
        for (const char16_t digit : digits) {
            accumulated = accumulated * 10 + static_cast<Extended>(digit - u'0');
        }
    }
    magnitude = accumulated;
    if (accumulated == 0 || scale == 0) {
        // Zero stays zero whatever the exponent ("0e4999").
    } else if (scale > 0 && scale <= kExactPowerOfTen) {
        magnitude = accumulated * kPowersOfTen[static_cast<std::size_t>(scale)];
    } else if (scale < 0 && scale >= -kExactPowerOfTen) {
        magnitude = accumulated / kPowersOfTen[static_cast<std::size_t>(-scale)];
    } else {
        const exact::ExtendedParts parts = exact::Decompose(accumulated);
        return ScaleExactly(parts.Significand, parts.Exponent, scale, magnitude);
    }
    return true;
}

/// The significant digits of a longer text held exactly as one whole number, then scaled by
/// 10^scale with one rounding. False, as when the digits accumulate one by one, when that
/// whole number itself lies beyond the extended range.
bool ScaleManyDigits(const SignificantDigits& digits, std::int64_t scale, Extended& magnitude) {
    if (digits.Count() > kMostAccumulatedDigits)
        return false;
    exact::WholeNumber whole;
    whole.AppendDigits(digits.IntegerDigits);
    whole.AppendDigits(digits.FractionDigits);
    Extended accumulated = 0;
    if (!ScaleExactly(whole, 0, 0, accumulated))
        return false;
    return ScaleExactly(whole, 0, scale, magnitude);
}

/// The value of a number text: the digits taken as one whole number, scaled by ten to the
/// exponent less the fraction digits, so that the result is the one nearest to the decimal
/// number the text writes. False when the whole number or the scaled value leaves the
/// extended range.
bool ValueOf(const NumberText& number, Extended& result) {
    const std::int64_t scale =
        number.Exponent - static_cast<std::int64_t>(number.FractionDigits.size());
    const SignificantDigits digits = SignificantDigitsOf(number);
    Extended magnitude = 0;
    const bool inRange = digits.Count() <= kExactlyAccumulatedDigits
                             ? ScaleFewDigits(number, scale, magnitude)
                             : ScaleManyDigits(digits, scale, magnitude);
    if (!inRange || IsInfinite(magnitude))
        return false;
    result = number.Negative ? -magnitude : magnitude;
    return true;
}

std::u16string NotANumberMessage(std::u16string_view text) {
    return u"'" + std::u16string(text) + u"' is not a valid floating point value";
}

}  // namespace

bool TryTextToNumber(std::u16string_view text, const TFormatSettings& settings, Extended& value) {
    // A U+0000 character ends the text as its end would.
    const std::optional<NumberText> number =
        ScanNumberText(text.substr(0, text.find(u'\0')), settings.DecimalSeparator);
    if (!number)
        return false;
    Extended result = 0;
    bool ok = false;
    {
        ScanArithmetic arithmetic;
        ok = ValueOf(*number, result);
        Settle(result);
    }
    if (ok)
        value = result;
    return ok;
}

Extended TextToNumber(std::u16string_view text, const TFormatSettings& settings) {
    Extended value = 0;
    if (!TryTextToNumber(text, settings, value))
        throw EConvertError(NotANumberMessage(text));
    return value;
}

Extended ParseNumber(std::u16string_view text) {
    const TFormatSettings& settings = FormatSettings();
    Extended value = 0;
    if (TryTextToNumber(text, settings, value))
        return value;
    if (text.find(u'.') != std::u16string_view::npos) {
        return TextToNumber(ReplaceAll(text, u".", u","), settings);
    }
    return TextToNumber(ReplaceAll(text, u",", u"."), settings);
}

}  // namespace velmora
