#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "NumText.h"

namespace velmora {

namespace {

constexpr int kLeastPrecision = 2;
constexpr int kGreatestPrecision = 18;
constexpr int kGreatestExponentDigits = 4;

int ClampPrecision(std::int32_t precision) {
    return std::clamp<std::int32_t>(precision, kLeastPrecision, kGreatestPrecision);
}

int ExponentDigitsOrNone(std::int32_t expDigits) {
    return expDigits >= 0 && expDigits <= kGreatestExponentDigits ? expDigits : 0;
}

/// "INF", "-INF" or "NAN" for a value that is not finite; empty for a finite one.
std::u16string NonFiniteWord(Extended value) {
    if (IsNaN(value))
        return u"NAN";
    if (IsInfinite(value))
        return value < 0 ? u"-INF" : u"INF";
    return {};
}

void AppendDigits(std::u16string& out, std::string_view digits) {
    for (const char digit : digits)
        out += static_cast<char16_t>(digit);
}

/// "E", the sign ("-", or "+" when `plusSign`), then |exponent| with at least
/// `minimumDigits` digits (zeros in front) and at least one.
void AppendExponentPart(std::u16string& out, int exponent, bool plusSign, int minimumDigits) {
    out += u'E';
    if (exponent < 0) {
        out += u'-';
    } else if (plusSign) {
        out += u'+';
    }
    const std::string magnitude = std::to_string(std::abs(exponent));
    const auto width = static_cast<std::size_t>(std::max(minimumDigits, 1));
    if (magnitude.size() < width)
        out.append(width - magnitude.size(), u'0');
    AppendDigits(out, magnitude);
}

}  // namespace

std::u16string FormatGeneral(Extended value, std::int32_t precision, std::int32_t expDigits) {
    std::u16string out = NonFiniteWord(value);
    if (!out.empty())
        return out;
    const int digitsWanted = ClampPrecision(precision);
    const DecimalForm form = ToDecimalForm(value, digitsWanted);
    const char16_t separator = FormatSettings().DecimalSeparator;
    const std::string_view digits = form.Digits;
    const int n = static_cast<int>(digits.size());
    const int e = form.Exponent;
    if (form.Negative)
        out += u'-';

    if (e >= -3 && e <= digitsWanted) {
        if (e <= 0) {
            out += u'0';
            if (n == 0)
                return out;
            out += separator;
            out.append(static_cast<std::size_t>(-e), u'0');
            AppendDigits(out, digits);
        } else {
            AppendDigits(out, digits.substr(0, static_cast<std::size_t>(std::min(e, n))));
            if (e > n)
                out.append(static_cast<std::size_t>(e - n), u'0');
            if (n > e) {
                out += separator;
                AppendDigits(out, digits.substr(static_cast<std::size_t>(e)));
            }
        }
        return out;
    }
    AppendDigits(out, digits.substr(0, 1));
    if (n > 1) {
        out += separator;
        AppendDigits(out, digits.substr(1));
    }
    AppendExponentPart(out, e - 1, false, ExponentDigitsOrNone(expDigits));
    return out;
}

std::u16string FormatExponent(Extended value, std::int32_t precision, std::int32_t expDigits) {
    std::u16string out = NonFiniteWord(value);
    if (!out.empty())
        return out;
    const int digitsWanted = ClampPrecision(precision);
    const DecimalForm form = ToDecimalForm(value, digitsWanted);
    if (form.Negative)
        out += u'-';
    std::string mantissa = form.Digits.empty() ? std::string("0") : form.Digits;
    mantissa.resize(static_cast<std::size_t>(digitsWanted), '0');
    AppendDigits(out, std::string_view(mantissa).substr(0, 1));
    out += FormatSettings().DecimalSeparator;
    AppendDigits(out, std::string_view(mantissa).substr(1));
    const bool zero = form.Digits.empty();
    AppendExponentPart(out, zero ? 0 : form.Exponent - 1, true, ExponentDigitsOrNone(expDigits));
    return out;
}

}  // namespace velmora
