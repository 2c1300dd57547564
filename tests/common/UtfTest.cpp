#include <gtest/gtest.h>

#include <string>

#include "Utf.h"

namespace velmora {
namespace {

TEST(Utf, RoundTripsCyrillicAndAstralText) {
    const std::u16string texts[] = {u"", u"Шаг (см)", u"a\tb\r", u"\u00a0€", u"𝐁 = μ₀I"};
    for (const auto& t : texts) {
        const auto back = FromUtf8(ToUtf8(t));
        ASSERT_TRUE(back.has_value());
        EXPECT_EQ(*back, t);
    }
    EXPECT_EQ(ToUtf8(u"Тл"), "\xD0\xA2\xD0\xBB");
}

TEST(Utf, UnpairedSurrogateBecomesReplacementCharacter) {
    const std::u16string lone{u'a', char16_t(0xD800), u'b'};
    EXPECT_EQ(ToUtf8(lone),
              "a\xEF\xBF\xBD"
              "b");
}

TEST(Utf, RejectsMalformedUtf8) {
    const std::string bad[] = {
        "\x80",              // continuation without a lead
        "\xC3",              // truncated
        "\xE2\x82",          // truncated three-byte form
        "\xC0\xAF",          // overlong "/"
        "\xED\xA0\x80",      // surrogate code point
        "\xF4\x90\x80\x80",  // above U+10FFFF
        "\xFF",
        "ok\xC3(",  // bad continuation
    };
    for (const auto& b : bad) {
        EXPECT_FALSE(FromUtf8(b).has_value()) << testing::PrintToString(b);
    }
}

}  // namespace
}  // namespace velmora
