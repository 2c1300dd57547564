// Feeds arbitrary input to the reader of typed numbers and checks what must hold for every
// text: no exception but EConvertError (with its one message form), the caller's
// floating-point flags and controls unchanged, a finite number for every text read, texts
// for every layout of it, and the nearest extended value for every text read.
//
// Input: byte 0 picks the decimal separator, byte 1 the caller's floating-point state, the
// rest are the text's UTF-16 code units, little-endian.

#include <cfenv>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "Error.h"
#include "FloatingPointState.h"
#include "NumText.h"

namespace {

using velmora::Extended;

constexpr char16_t kSeparators[] = {u'.', u',', u'\u066B', u'\u00B7', u' ', u'e',
                                    u'0', u'-', u'\0',     u'\u202F', u'E', u'+'};

/// A caller's state picked by one byte: rounding mode, raised flags, x87 precision.
void EnterCallerState(std::uint8_t choice) {
    constexpr int kRoundings[] = {FE_TONEAREST, FE_UPWARD, FE_DOWNWARD, FE_TOWARDZERO};
    constexpr int kFlags[] = {0, FE_INEXACT, FE_OVERFLOW | FE_INVALID, FE_ALL_EXCEPT};
    constexpr std::uint16_t kPrecisions[] = {0x300, 0x200, 0x000, 0x300};
    std::fesetenv(FE_DFL_ENV);
    std::fesetround(kRoundings[choice & 3]);
    std::feraiseexcept(kFlags[(choice >> 2) & 3]);
    std::uint16_t control = 0;
    asm volatile("fnstcw %0" : "=m"(control));
    control = static_cast<std::uint16_t>((control & ~0x0300) | kPrecisions[(choice >> 4) & 3]);
    asm volatile("fldcw %0" : : "m"(control));
}

[[noreturn]] void Fail(const char* what) {
    std::fprintf(stderr, "numtext_fuzz: %s\n", what);
    std::abort();
}

std::u16string Quoted(std::u16string_view text) {
    return u"'" + std::u16string(text) + u"' is not a valid floating point value";
}

/// The text in ASCII with the separator as a point, when it has that form; empty otherwise.
std::string AsPlainAscii(std::u16string_view text, char16_t separator) {
    if (separator != u'.' && separator != u',')
        return {};
    std::string ascii;
    for (const char16_t c : text.substr(0, text.find(u'\0'))) {
        if (c >= 0x80)
            return {};
        ascii += c == separator ? '.' : static_cast<char>(c);
    }
    return ascii;
}

void CheckValue(std::u16string_view text, char16_t separator, Extended value) {
    if (!velmora::IsFinite(value))
        Fail("a text was read as a number that is not finite");
    for (const int precision : {2, 5, 15, 18}) {
        if (velmora::FormatGeneral(value, precision, 4).empty() ||
            velmora::FormatExponent(value, precision, 0).empty()) {
            Fail("a number was written as an empty text");
        }
    }
    const std::string ascii = AsPlainAscii(text, separator);
    if (!ascii.empty()) {
        // The C library's long double is the x87 format on x86, where this target is built.
        const long double native = std::strtold(ascii.c_str(), nullptr);
        velmora::soft::Float80 bits;
        std::memcpy(&bits.Significand, &native, sizeof bits.Significand);
        std::memcpy(&bits.SignExponent, reinterpret_cast<const char*>(&native) + 8, 2);
        if (!(Extended::FromBits(bits).Bits() == value.Bits())) {
            Fail("a text was not read as the nearest extended value");
        }
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size < 2)
        return 0;
    const char16_t separator = kSeparators[data[0] % std::size(kSeparators)];
    std::u16string text;
    for (std::size_t i = 2; i + 1 < size; i += 2) {
        text += static_cast<char16_t>(data[i] | (data[i + 1] << 8));
    }
    const velmora::TFormatSettings settings{separator, u','};
    velmora::FormatSettings() = settings;

    EnterCallerState(data[1]);
    const velmora::FloatingPointState before = velmora::ObserveFloatingPoint();
    Extended value = 0;
    const bool read = velmora::TryTextToNumber(text, settings, value);
    if (!(velmora::ObserveFloatingPoint() == before))
        Fail("TryTextToNumber changed the caller's floating-point state");

    Extended parsed = 0;
    bool parsedOk = false;
    try {
        parsed = velmora::ParseNumber(text);
        parsedOk = true;
    } catch (const velmora::EConvertError& e) {
        const std::u16string& message = e.Message();
        if (message != Quoted(text) && message != Quoted(velmora::ReplaceAll(text, u".", u",")) &&
            message != Quoted(velmora::ReplaceAll(text, u",", u"."))) {
            Fail("ParseNumber's message quotes none of the texts it tried");
        }
    }
    if (!(velmora::ObserveFloatingPoint() == before))
        Fail("ParseNumber changed the caller's floating-point state");
    std::fesetenv(FE_DFL_ENV);

    if (read) {
        if (!parsedOk || parsed != value)
            Fail("ParseNumber disagrees with TryTextToNumber");
        CheckValue(text, separator, value);
    }
    const std::u16string trimmed = velmora::TrimBlanks(text);
    if (!trimmed.empty() && (trimmed.front() <= u' ' || trimmed.back() <= u' ')) {
        Fail("TrimBlanks left a blank at an end");
    }
    return 0;
}
