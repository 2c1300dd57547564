#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "Extended.h"

namespace velmora {

/// The number-format settings of the user's locale. Only DecimalSeparator takes part in the
/// conversions; ThousandSeparator is read with it and never accepted or written.
struct TFormatSettings {
    char16_t DecimalSeparator = u'.';
    char16_t ThousandSeparator = u',';
};

/// The one process-wide record, read by ParseNumber, FormatGeneral and FormatExponent at
/// the moment they run. Filled by LoadFormatSettings.
TFormatSettings& FormatSettings();

/// Fills FormatSettings() from the user's numeric locale (LC_ALL, LC_NUMERIC, LANG as the C
/// library resolves them, without changing the C library's current locale): the first
/// character of the decimal-point text, or "." when it is empty or longer than two
/// characters; the digit-group text likewise, default ",". A locale that cannot be opened
/// leaves both defaults.
void LoadFormatSettings();

/// The separator a locale's text stands for: its first UTF-16 character, or `fallback` when
/// the text (UTF-8, as the locale gives it) is empty, longer than two UTF-16 characters, not
/// well-formed UTF-8, or begins with a character beyond U+FFFF.
char16_t LocaleSeparator(std::string_view localeText, char16_t fallback);

/// Removes from both ends every character of code U+0020 or lower. U+00A0 is kept.
std::u16string TrimBlanks(std::u16string_view text);

/// Replaces every occurrence of `old` in `text` by `replacement`, left to right, never
/// overlapping and never searching a replacement again. An empty `old` replaces nothing.
std::u16string ReplaceAll(std::u16string_view text, std::u16string_view old,
                          std::u16string_view replacement);

/// Reads `text` as a number written with `settings.DecimalSeparator`: blanks (U+0020 only)
/// around, an optional sign, digits with an optional fraction, an optional exponent whose
/// digits are read until their value reaches 500; a U+0000 character ends the text. The
/// digits are taken together as one exact whole number, then scaled by the power of ten
/// once, so every text gives the extended value nearest to the number it writes, ties to
/// even. Zero stays zero whatever its exponent; "-0" is negative zero; results below the
/// subnormal range are zero. Never throws; on return the caller's floating-point
/// environment (flags and controls) is as it was. Returns false, leaving `value` untouched,
/// when the text is not a number, when its digits taken as a whole number (without the
/// point) lie beyond the extended range, or when the scaled value does.
bool TryTextToNumber(std::u16string_view text, const TFormatSettings& settings, Extended& value);

/// TryTextToNumber, or EConvertError "'<text>' is not a valid floating point value".
Extended TextToNumber(std::u16string_view text, const TFormatSettings& settings);

/// Reads a typed number with either "." or "," as decimal separator: as written with the
/// locale's separator first, then with every "." swapped for "," (when the text holds a
/// "."), else with every "," swapped for ".". The EConvertError quotes the swapped text.
Extended ParseNumber(std::u16string_view text);

/// A finite value rounded to a number of significant decimal digits:
/// ±0.Digits × 10^Exponent. Zero has empty Digits, Exponent 0 and Negative false.
struct DecimalForm {
    std::int16_t Exponent = 0;
    bool Negative = false;
    std::string Digits;  ///< "0".."9", at most 18, neither first nor last is "0"
};

/// The decimal form of a finite `value` rounded half up to `precision` (clamped to 2..18)
/// significant digits from its 18-digit expansion, which is itself the exact value rounded
/// to nearest, ties to even. Subnormals give the form of zero, as do infinities and NaN.
DecimalForm ToDecimalForm(Extended value, int precision);

/// The general layout: fixed notation when the rounded value is zero or in [1e-4, 10^P),
/// else scientific with an exponent of at least `expDigits` digits and no plus sign
/// ("12.346", "1.2346E0005", "4.5E-0011"). Precision is clamped to 2..18, expDigits outside
/// 0..4 counts as 0. INF, -INF and NAN for the non-finite values.
std::u16string FormatGeneral(Extended value, std::int32_t precision, std::int32_t expDigits);

/// The exponent layout: one digit, the separator, P-1 digits, then E with a sign and at least
/// `expDigits` exponent digits ("9.6664E-0005", "0.0000E+0000").
std::u16string FormatExponent(Extended value, std::int32_t precision, std::int32_t expDigits);

}  // namespace velmora
