#include <langinfo.h>
#include <locale.h>

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

}  // namespace velmora
