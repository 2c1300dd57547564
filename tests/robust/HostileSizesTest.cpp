// Texts and sessions far beyond what a student types by hand: a megabyte pasted into a
// value cell, a megabyte script line, and a protocol of 100,000 lines.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "Bench.h"
#include "Error.h"
#include "NumText.h"
#include "Script.h"
#include "ScriptRun.h"
#include "SeparatorScope.h"
#include "Utf.h"

namespace velmora {
namespace {

constexpr std::size_t kMegabyte = 1 << 20;

/// Runs a test with the decimal point and gives the user's separator back afterwards.
class HostileSizesTest : public ::testing::Test {
  private:
    SeparatorScope point_{u'.'};
};

std::u16string Repeated(char16_t c, std::size_t count) {
    return std::u16string(count, c);
}

std::u16string NotANumberMessage(const std::u16string& text) {
    return u"'" + text + u"' is not a valid floating point value";
}

TEST_F(HostileSizesTest, MegabyteInTheStepCellConvertsOrFailsWithItsWholeText) {
    const std::u16string zeros = Repeated(u'0', kMegabyte - 2);
    struct Case {
        const char* what;
        std::u16string text;
        std::u16string message;  // empty when the text converts
        std::u16string probeX;   // the x row after "Шаг по X" from the origin
    };
    const Case cases[] = {
        {"letters", Repeated(u'a', kMegabyte), NotANumberMessage(Repeated(u'a', kMegabyte)), {}},
        {"Cyrillic", Repeated(u'ж', kMegabyte), NotANumberMessage(Repeated(u'ж', kMegabyte)), {}},
        {"digits beyond the extended range", u"10" + zeros, NotANumberMessage(u"10" + zeros), {}},
        // Integer and fraction digits accumulate as one whole number, which overflows; the
        // message quotes the last text tried, with the other separator.
        {"a megabyte of digits after the point",
         u"2." + zeros,
         NotANumberMessage(u"2," + zeros),
         {}},
        {"a fraction far below the smallest subnormal", u"0." + zeros + u"7", {}, u"0"},
        {"blanks around a number",
         Repeated(u' ', kMegabyte / 2) + u"2.5" + Repeated(u' ', kMegabyte / 2),
         {},
         u"2.5"},
        {"tabs before a number", Repeated(u'\t', kMegabyte) + u"3", {}, u"3"},
        {"a megabyte of exponent digits",
         u"1e" + Repeated(u'9', kMegabyte),
         NotANumberMessage(u"1e" + Repeated(u'9', kMegabyte)),
         {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        Bench bench;
        bench.Reset();
        bench.Type(ReadoutRow::Step, c.text);
        const std::u16string xBefore = bench.Table().Value(ReadoutRow::CurrentX);
        if (c.message.empty()) {
            ASSERT_NO_THROW(bench.StepX());
            EXPECT_EQ(bench.Table().Value(ReadoutRow::CurrentX), c.probeX);
            continue;
        }
        try {
            bench.StepX();
            ADD_FAILURE() << "converted";
        } catch (const EConvertError& e) {
            EXPECT_TRUE(e.Message() == c.message)
                << "message of " << e.Message().size() << " units";
            EXPECT_TRUE(ErrorBoxText(e.Message()) == c.message + u".");
        }
        EXPECT_EQ(bench.Table().Value(ReadoutRow::CurrentX), xBefore);
        EXPECT_EQ(bench.State().ProbeX, 0);
    }
}

namespace cli = velmora::cli;

/// A script and what velmora-cli answers it with.
struct ScriptCase {
    const char* what;
    std::string script;
    int status;
    std::string out;
    std::string err;
};

/// Runs each case and compares the whole answers, reported by their sizes on a mismatch,
/// as they can be megabytes long.
template <std::size_t N>
void ExpectAnswers(const ScriptCase (&cases)[N]) {
    for (const ScriptCase& c : cases) {
        SCOPED_TRACE(c.what);
        const ScriptRun ran = RunScriptText(c.script, "big.script");
        EXPECT_EQ(ran.status, c.status);
        EXPECT_TRUE(ran.out == c.out) << "output of " << ran.out.size() << " bytes";
        EXPECT_TRUE(ran.err == c.err) << "error output of " << ran.err.size() << " bytes";
    }
}

TEST_F(HostileSizesTest, ScriptLinesOfAMegabyteRunOrAreReportedWhole) {
    const std::string letters(kMegabyte, 'q');
    const std::string cyrillic = ToUtf8(Repeated(u'ж', kMegabyte / 2));
    const ScriptCase cases[] = {
        {"a megabyte typed into the step cell",
         "set Шаг (см)=" + letters + "\nstepx\nrecord\nlog\n", cli::kExitRan,
         "error: '" + letters +
             "' is not a valid floating point value.\n"
             "x (см):0\ny (см):0\nУгол датчика:0\nB (Тл):0\n \n",
         ""},
        {"a megabyte of Cyrillic in a comment and blanks around a step",
         "# " + cyrillic + "\nset Шаг (см)=" + std::string(kMegabyte, ' ') +
             "4\nstepy\nrecord\nlog\n",
         cli::kExitRan, "x (см):0\ny (см):4\nУгол датчика:0\nB (Тл):0\n \n", ""},
        {"a megabyte line that is no command", "move\n" + letters + "\nlog\n", cli::kExitBadScript,
         "", "velmora-cli: big.script:2: not a command of the script: \"" + letters + "\"\n"},
        {"a megabyte key", "set " + cyrillic + "=1\n", cli::kExitBadScript, "",
         "velmora-cli: big.script:1: not a key of the readout table: \"set " + cyrillic + "=1\"\n"},
    };
    ExpectAnswers(cases);
}

TEST_F(HostileSizesTest, ScriptLinesUpToTheLimitRunAndALongerOneStopsTheRun) {
    const std::string walk = "stepy\nrecord\nlog\n";
    const std::string walked = "x (см):0\ny (см):1\nУгол датчика:0\nB (Тл):0\n \n";
    const std::string fullComment = "#" + std::string(cli::kMaxLineBytes - 1, 'x');
    const std::string tooLong =
        "velmora-cli: big.script:4: line longer than 16 MiB (16777216 bytes)\n";
    const ScriptCase cases[] = {
        {"a comment at the limit", fullComment + "\n" + walk, cli::kExitRan, walked, ""},
        {"a byte order mark and a line end beside it are not counted",
         "\xEF\xBB\xBF" + fullComment + "\r\n" + walk, cli::kExitRan, walked, ""},
        {"a last line at the limit without a line feed", walk + fullComment, cli::kExitRan, walked,
         ""},
        {"one byte over, after lines that ran", walk + fullComment + "x\nrecord\nlog\n",
         cli::kExitBadScript, walked, tooLong},
        {"one byte over before a line end", walk + fullComment + "x\r\n", cli::kExitBadScript,
         walked, tooLong},
        {"far over without a line feed", walk + fullComment + fullComment, cli::kExitBadScript,
         walked, tooLong},
    };
    ExpectAnswers(cases);
}

TEST_F(HostileSizesTest, ProtocolOfHundredThousandLinesIsRecordedWholeAndErased) {
    // 20,000 entries of five lines from (5, 3): every thousandth a step along x written by
    // the protocol box, the others "Записать" at the place reached.
    std::string script =
        "protocol on\nset Шаг (см)=0.5\nset Начальная координата x (см)=5\n"
        "set Начальная координата y (см)=3\nstart\n";
    constexpr std::size_t kEntries = 20000;
    for (std::size_t entry = 0; entry < kEntries; ++entry)
        script += entry % 1000 == 0 ? "stepx\n" : "record\n";
    script += "log\nerase\nlog\nrecord\nlog\n";

    const ScriptRun ran = RunScriptText(script, "big.script");
    ASSERT_EQ(ran.status, cli::kExitRan);
    EXPECT_EQ(ran.err, "");

    std::vector<std::string> lines;
    for (std::size_t at = 0, end; (end = ran.out.find('\n', at)) != std::string::npos;
         at = end + 1) {
        lines.push_back(ran.out.substr(at, end - at));
    }
    // The whole log, then nothing for the erased one, then the one entry after "Стереть".
    ASSERT_EQ(lines.size(), 5 * kEntries + 5);
    const std::string firstEntry = "x (см):5.5|y (см):3|Угол датчика:0|B (Тл):1.676E-0005| ";
    const std::string lastEntry = "x (см):15|y (см):3|Угол датчика:0|B (Тл):8.04E-0005| ";
    const auto entryAt = [&](std::size_t line) {
        return lines[line] + "|" + lines[line + 1] + "|" + lines[line + 2] + "|" + lines[line + 3] +
               "|" + lines[line + 4];
    };
    EXPECT_EQ(entryAt(0), firstEntry);
    EXPECT_EQ(entryAt(5 * (kEntries - 1)), lastEntry);
    EXPECT_EQ(entryAt(5 * kEntries), lastEntry);
    std::size_t misshapen = 0;
    for (std::size_t line = 0; line < lines.size(); line += 5) {
        misshapen +=
            !(lines[line].starts_with("x (см):") && lines[line + 1].starts_with("y (см):") &&
              lines[line + 2].starts_with("Угол датчика:") &&
              lines[line + 3].starts_with("B (Тл):") && lines[line + 4] == " ");
    }
    EXPECT_EQ(misshapen, 0u);
}

}  // namespace
}  // namespace velmora
