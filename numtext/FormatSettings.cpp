#ifdef _WIN32
#define NOMINMAX
#include <windows.h>
#else
#include <langinfo.h>
#include <locale.h>
#endif

#include <optional>
#include <string>

#include "NumText.h"
#include "Utf.h"

namespace velmora {

namespace {

/// The longest separator text whose first character is taken.
constexpr std::size_t kLongestSeparatorText = 2;

}  // namespace

char16_t LocaleSeparator(std::string_view localeText, char16_t fallback) {
    const std::optional<std::u16string> text = FromUtf8(localeText);
    if (!text || text->empty() || text->size() > kLongestSeparatorText)
        return fallback;
    const char16_t first = text->front();
    const bool surrogate = first >= 0xD800 && first <= 0xDFFF;
    return surrogate ? fallback : first;
}

TFormatSettings& FormatSettings() {
    static TFormatSettings settings;
    return settings;
}

#ifdef _WIN32

void LoadFormatSettings() {
    TFormatSettings loaded;
    // The thread's locale (English, United States, when there is none), asked again when it
    // is not installed; a text of one or two characters fits the buffer of three.
    LCID locale = GetThreadLocale();
    if (locale == 0)
        locale = 1033;
    if (!IsValidLocale(locale, LCID_INSTALLED))
        locale = GetThreadLocale();
    const auto separator = [locale](LCTYPE type, char16_t fallback) {
        wchar_t text[3] = {};
        const int length = GetLocaleInfoW(locale, type, text, 3);  // with the ending zero
        const auto first = static_cast<char16_t>(text[0]);
        const bool surrogate = first >= 0xD800 && first <= 0xDFFF;
        return length >= 2 && !surrogate ? first : fallback;
    };
    loaded.DecimalSeparator = separator(LOCALE_SDECIMAL, u'.');
    loaded.ThousandSeparator = separator(LOCALE_STHOUSAND, u',');
    FormatSettings() = loaded;
}

#else

void LoadFormatSettings() {
    TFormatSettings loaded;
    // A locale object of its own: the C library's global and per-thread locales stay as
    // they are, so nothing else in the process notices the lookup.
    locale_t numeric = newlocale(LC_NUMERIC_MASK, "", static_cast<locale_t>(nullptr));
    if (numeric != static_cast<locale_t>(nullptr)) {
        loaded.DecimalSeparator = LocaleSeparator(nl_langinfo_l(RADIXCHAR, numeric), u'.');
        loaded.ThousandSeparator = LocaleSeparator(nl_langinfo_l(THOUSEP, numeric), u',');
        freelocale(numeric);
    }
    FormatSettings() = loaded;
}

#endif

}  // namespace velmora
