#include <gtest/gtest.h>

#include <string>

#include "NumText.h"

namespace velmora {
namespace {

TEST(TrimBlanks, RemovesControlCharactersAndSpacesFromBothEndsOnly) {
    struct Case {
        const char* name;
        std::u16string text;
        std::u16string trimmed;
    };
    const Case cases[] = {
        {"empty", u"", u""},
        {"spaces and tabs only", u" \t \t ", u""},
        {"inner blanks kept", u" 1 2 ", u"1 2"},
        {"tab, return and line feed", u"\t2,5\r\n", u"2,5"},
        {"every control character", std::u16string(u"\x01\x1F 7 \x00\x0B", 7), u"7"},
        {"no-break space kept", u"\u00A01\u00A0", u"\u00A01\u00A0"},
        {"character after the space range kept", u"!x!", u"!x!"},
        {"nothing to trim", u"-3.5e2", u"-3.5e2"},
        {"inner control character kept", u" a\tb ", u"a\tb"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(TrimBlanks(c.text), c.trimmed) << c.name;
    }
}

TEST(ReplaceAll, ReplacesLeftToRightWithoutOverlapOrRescanning) {
    struct Case {
        const char* name;
        std::u16string text, old, replacement, result;
    };
    const Case cases[] = {
        {"empty text", u"", u".", u",", u""},
        {"no occurrence", u"125", u".", u",", u"125"},
        {"every point", u"1.2.3", u".", u",", u"1,2,3"},
        {"every comma", u"1,2,3", u",", u".", u"1.2.3"},
        {"occurrences do not overlap", u"aaa", u"aa", u"b", u"ba"},
        {"replacement not searched again", u"a.b", u".", u"..", u"a..b"},
        {"occurrence at both ends", u".5.", u".", u",", u",5,"},
        {"empty old replaces nothing", u"abc", u"", u"x", u"abc"},
        {"replacement may be empty", u"1 000 000", u" ", u"", u"1000000"},
        {"non-ASCII separator", u"2\u066B5", u"\u066B", u".", u"2.5"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(ReplaceAll(c.text, c.old, c.replacement), c.result) << c.name;
    }
}

}  // namespace
}  // namespace velmora
