#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "BenchTestSupport.h"
#include "ExtendedTestSupport.h"
#include "ProtocolLog.h"

namespace velmora {
namespace {

using ProtocolLogTest = testing::SeparatorTest;

LabState StateAt(Extended x, Extended y, Extended angle, Extended induction) {
    LabState state;
    state.PiValue = kTenDecimalPi;
    state.ProbeX = x;
    state.ProbeY = y;
    state.ProbeAngle = angle;
    state.Induction = induction;
    return state;
}

std::vector<std::string> Lines(const ProtocolLog::Entry& entry) {
    std::vector<std::string> lines;
    for (const auto& line : entry)
        lines.push_back(ToUtf8(line));
    return lines;
}

TEST_F(ProtocolLogTest, EntryIsFiveLinesWithFourSignificantDigits) {
    struct Case {
        const char* name;
        LabState state;
        char16_t separator;
        std::vector<std::string> lines;
    };
    const Extended pi = kTenDecimalPi;
    const Case cases[] = {
        {"origin",
         StateAt(0, 0, 0, 0),
         u'.',
         {"x (см):0", "y (см):0", "Угол датчика:0", "B (Тл):0", " "}},
        {"rounded half up, exponent for the reading",
         StateAt(12.34567_ext, -0.00001_ext, pi / 4, 9.6664e-5_ext),
         u'.',
         {"x (см):12.35", "y (см):-1E-0005", "Угол датчика:45", "B (Тл):9.666E-0005", " "}},
        {"comma separator",
         StateAt(-2.5_ext, 1.0625_ext, -pi, 1234.5_ext),
         u',',
         {"x (см):-2,5", "y (см):1,063", "Угол датчика:-180", "B (Тл):1235", " "}},
        {"angle beyond a full turn",
         StateAt(0, 0, 4 * pi, 0),
         u'.',
         {"x (см):0", "y (см):0", "Угол датчика:720", "B (Тл):0", " "}},
    };
    for (const auto& c : cases) {
        SeparatorScope scope(c.separator);
        EXPECT_EQ(Lines(ProtocolLog::EntryFor(c.state)), c.lines) << c.name;
    }
}

TEST_F(ProtocolLogTest, AppendsAfterTheLastLineAndClearsEverything) {
    ProtocolLog log;
    log.Append(ProtocolLog::EntryFor(StateAt(1, 2, 0, 0)));
    log.Append(ProtocolLog::EntryFor(StateAt(3, 4, 0, 0)));
    ASSERT_EQ(log.Lines().size(), 10u);
    EXPECT_EQ(ToUtf8(log.Lines()[5]), "x (см):3");
    EXPECT_EQ(log.Lines()[9], u" ");
    const auto clears = log.ClearCount();
    log.ClearLog();
    EXPECT_TRUE(log.Lines().empty());
    EXPECT_EQ(log.ClearCount(), clears + 1);
}

TEST_F(ProtocolLogTest, LinesAfterAClearAreExactlyTheNewOnes) {
    // Cleared lines are kept and let go by the entries that follow; what they held must never
    // show through, whether the new texts are shorter or longer, fewer or more.
    const ProtocolLog::Entry shortTexts = {u"a", u"b", u"c", u"d", u" "};
    const ProtocolLog::Entry longTexts = {u"x (см):-1,234E-5", u"y (см):12,34",
                                          u"Угол датчика:1,235E+4", u"B (Тл):-6,789E-6", u" "};
    struct Step {
        const char* what;
        std::vector<const ProtocolLog::Entry*> appended;  // after a clear
    };
    const Step steps[] = {
        {"long, long, long", {&longTexts, &longTexts, &longTexts}},
        {"short over long", {&shortTexts}},
        {"nothing", {}},
        {"long over short and beyond what was kept",
         {&longTexts, &shortTexts, &longTexts, &longTexts}},
    };
    ProtocolLog log;
    for (const Step& step : steps) {
        SCOPED_TRACE(step.what);
        log.ClearLog();
        std::vector<std::u16string> expected;
        for (const ProtocolLog::Entry* entry : step.appended) {
            log.Append(ProtocolLog::Entry(*entry));
            expected.insert(expected.end(), entry->begin(), entry->end());
        }
        EXPECT_EQ(log.Lines(), expected);
    }
}

TEST_F(ProtocolLogTest, AngleBeyondTheExtendedRangeFails) {
    const LabState huge = StateAt(0, 0, Bits80(0x7FFB, 0xAC23C22116CBF8A4), 0);
    EXPECT_EQ(testing::MessageOf([&] { ProtocolLog::EntryFor(huge); }), "Floating point overflow");
}

}  // namespace
}  // namespace velmora
