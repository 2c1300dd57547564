#include <gtest/gtest.h>

#include <clocale>
#include <cstdlib>
#include <optional>
#include <string>

#include "NumText.h"

namespace velmora {
namespace {

// The user's numeric locale as the C library reads it from LC_ALL, LC_NUMERIC and LANG:
// not on Windows (the desktop's regional settings) nor in WebAssembly (no locales but C).
#if !defined(_WIN32) && !defined(__EMSCRIPTEN__)

/// The locale variables of the environment, set for one test and put back afterwards,
/// together with the process-wide format settings.
class LocaleEnvironment : public testing::Test {
  protected:
    void SetUp() override {
        for (const char* name : kVariables) {
            const char* value = std::getenv(name);
            saved_.emplace_back(name, value ? std::optional<std::string>(value) : std::nullopt);
            unsetenv(name);
        }
        savedSettings_ = FormatSettings();
    }

    void TearDown() override {
        for (const auto& [name, value] : saved_) {
            if (value) {
                setenv(name, value->c_str(), 1);
            } else {
                unsetenv(name);
            }
        }
        FormatSettings() = savedSettings_;
    }

    static void Set(const char* name, const char* value) { setenv(name, value, 1); }

  private:
    static constexpr const char* kVariables[] = {"LC_ALL", "LC_NUMERIC", "LANG"};
    std::vector<std::pair<const char*, std::optional<std::string>>> saved_;
    TFormatSettings savedSettings_;
};

struct LocaleCase {
    const char* name;
    const char* lcAll;      // nullptr: unset
    const char* lcNumeric;  // nullptr: unset
    const char* lang;       // nullptr: unset
    char16_t decimal;
    char16_t thousands;
};

const LocaleCase kLocales[] = {
    {"German through LC_ALL", "de_DE.UTF-8", nullptr, nullptr, u',', u'.'},
    {"Russian through LC_ALL: narrow no-break space groups", "ru_RU.UTF-8", nullptr, nullptr, u',',
     u'\u202F'},
    {"American English", "en_US.UTF-8", nullptr, nullptr, u'.', u','},
    {"C locale: no group separator, the default stands", "C", nullptr, nullptr, u'.', u','},
    {"LC_NUMERIC alone", nullptr, "de_DE.UTF-8", nullptr, u',', u'.'},
    {"LANG alone", nullptr, nullptr, "ru_RU.UTF-8", u',', u'\u202F'},
    {"LC_NUMERIC before LANG", nullptr, "en_US.UTF-8", "de_DE.UTF-8", u'.', u','},
    {"LC_ALL before LC_NUMERIC", "C", "de_DE.UTF-8", "de_DE.UTF-8", u'.', u','},
    {"nothing set is the C locale", nullptr, nullptr, nullptr, u'.', u','},
    {"locale not installed: defaults", "xx_XX.UTF-8", nullptr, nullptr, u'.', u','},
    {"malformed name: defaults", "de_DE.UTF-8/../..", nullptr, nullptr, u'.', u','},
};

TEST_F(LocaleEnvironment, ReadsTheSeparatorsOfTheUsersNumericLocale) {
    for (const auto& c : kLocales) {
        for (const auto& [name, value] :
             {std::pair{"LC_ALL", c.lcAll}, {"LC_NUMERIC", c.lcNumeric}, {"LANG", c.lang}}) {
            if (value) {
                Set(name, value);
            } else {
                unsetenv(name);
            }
        }
        FormatSettings() = {u'?', u'?'};
        LoadFormatSettings();
        EXPECT_EQ(FormatSettings().DecimalSeparator, c.decimal) << c.name;
        EXPECT_EQ(FormatSettings().ThousandSeparator, c.thousands) << c.name;
    }
}

TEST_F(LocaleEnvironment, LeavesTheCLibrarysLocaleAlone) {
    // The C library's locale and the user's say different things: the settings follow the
    // user's, and neither the global nor the thread's locale changes.
    ASSERT_NE(std::setlocale(LC_NUMERIC, "de_DE.UTF-8"), nullptr);
    const std::string globalBefore = std::setlocale(LC_ALL, nullptr);
    const locale_t threadBefore = uselocale(static_cast<locale_t>(nullptr));
    Set("LC_ALL", "en_US.UTF-8");
    LoadFormatSettings();
    EXPECT_EQ(FormatSettings().DecimalSeparator, u'.');
    EXPECT_EQ(std::setlocale(LC_ALL, nullptr), globalBefore);
    EXPECT_EQ(uselocale(static_cast<locale_t>(nullptr)), threadBefore);
    EXPECT_STREQ(std::localeconv()->decimal_point, ",");

    // Nor do the conversions read the C library's separator.
    EXPECT_EQ(ParseNumber(u"2.5"), 2.5_ext);
    EXPECT_EQ(FormatGeneral(2.5_ext, 5, 4), u"2.5");
    std::setlocale(LC_ALL, "C");
}

TEST_F(LocaleEnvironment, ANewSeparatorTakesEffectForTheNextNumber) {
    Set("LC_ALL", "de_DE.UTF-8");
    LoadFormatSettings();
    EXPECT_EQ(FormatGeneral(12.5_ext, 5, 4), u"12,5");
    Set("LC_ALL", "en_US.UTF-8");
    LoadFormatSettings();
    EXPECT_EQ(FormatGeneral(12.5_ext, 5, 4), u"12.5");
    EXPECT_EQ(ParseNumber(u"12,5"), 12.5_ext);
}

#endif

TEST(LocaleSeparator, TakesTheFirstCharacterOfAShortText) {
    struct Case {
        const char* name;
        std::string text;
        char16_t separator;
    };
    const Case cases[] = {
        {"point", ".", u'.'},
        {"comma", ",", u','},
        {"two-byte character", "\xC2\xB7", u'\u00B7'},
        {"three-byte character", "\xE2\x80\xAF", u'\u202F'},
        {"two characters: the first", ",.", u','},
        {"two non-ASCII characters", "\xD9\xAB\xD9\xAB", u'\u066B'},
        {"empty: fallback", "", u'#'},
        {"three characters: fallback", "...", u'#'},
        {"not UTF-8: fallback", "\xA0", u'#'},
        {"beyond U+FFFF: fallback", "\xF0\x9D\x90\x81", u'#'},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(LocaleSeparator(c.text, u'#'), c.separator) << c.name;
    }
}

}  // namespace
}  // namespace velmora
