#include <gtest/gtest.h>

#include <cerrno>
#include <cstdio>
#include <filesystem>
#include <string>
#include <variant>

#include "NumText.h"
#include "Script.h"
#include "ScriptRun.h"
#include "SeparatorScope.h"
#include "Utf.h"

namespace velmora::cli {
namespace {

/// What a line was read as, in words, for table-driven checks.
std::string Describe(const ScriptLine& line) {
    struct Visitor {
        std::string operator()(const Nothing&) const { return "nothing"; }
        std::string operator()(const cli::Press& p) const {
            return "press " + std::to_string(static_cast<int>(p.command));
        }
        std::string operator()(const Type& t) const {
            return "type row " + std::to_string(static_cast<int>(t.row)) + " [" + ToUtf8(t.value) +
                   "]";
        }
        std::string operator()(const Tick& t) const {
            return "tick " + std::to_string(static_cast<int>(t.box)) + (t.on ? " on" : " off");
        }
        std::string operator()(const ChangeSeparator& c) const {
            return "separator [" + ToUtf8(std::u16string(1, c.separator)) + "]";
        }
        std::string operator()(const Show& s) const {
            return "show " + std::to_string(static_cast<int>(s.what));
        }
        std::string operator()(const BadLine& b) const { return "bad: " + b.reason; }
    };
    return std::visit(Visitor{}, line);
}

TEST(Interpret, ReadsEveryKindOfLineExactly) {
    struct Case {
        std::string line;
        std::string read;
    };
    const Case cases[] = {
        {"", "nothing"},
        {"# a comment", "nothing"},
        {"#", "nothing"},
        {"reset", "press 0"},
        {"move", "press 1"},
        {"rotate+", "press 2"},
        {"rotate-", "press 3"},
        {"stepx", "press 4"},
        {"stepy", "press 5"},
        {"start", "press 6"},
        {"record", "press 7"},
        {"erase", "press 8"},
        {"set Шаг (см)=2,5", "type row 1 [2,5]"},
        {"set Угол поврота (град)= \t5 \t", "type row 0 [ \t5 \t]"},
        {"set Начальная координата y (см)=", "type row 5 []"},
        {"set Индукция B (Тл)=a=b", "type row 7 [a=b]"},
        {"set Циркуляция (А)=x", "type row 8 [x]"},
        {"fix on", "tick 0 on"},
        {"fix off", "tick 0 off"},
        {"circulation on", "tick 1 on"},
        {"circulation off", "tick 1 off"},
        {"protocol on", "tick 2 on"},
        {"protocol off", "tick 2 off"},
        {"separator ,", "separator [,]"},
        {"separator  ", "separator [ ]"},
        {"separator ٫", "separator [٫]"},
        {"table", "show 0"},
        {"log", "show 1"},
        {"scene", "show 2"},
        // Not trimmed, not case-folded, not abbreviated.
        {"move ", "bad: not a command of the script"},
        {" move", "bad: not a command of the script"},
        {"Move", "bad: not a command of the script"},
        {"move\t", "bad: not a command of the script"},
        {" # indented comment", "bad: not a command of the script"},
        {"fix", "bad: not a command of the script"},
        {"fix  on", "bad: not a command of the script"},
        {"fix yes", "bad: not a command of the script"},
        {"table 1", "bad: not a command of the script"},
        {"set", "bad: not a command of the script"},
        {"set Шаг (см)", "bad: 'set' needs KEY=VALUE"},
        {"set шаг (см)=1", "bad: not a key of the readout table"},
        {"set  Шаг (см)=1", "bad: not a key of the readout table"},
        {"set Шаг (см) =1", "bad: not a key of the readout table"},
        {"set =1", "bad: not a key of the readout table"},
        {"separator", "bad: not a command of the script"},
        {"separator ", "bad: a separator must be exactly one character"},
        {"separator ,.", "bad: a separator must be exactly one character"},
        {"separator 𝟘", "bad: a separator above U+FFFF cannot be used"},
        {"move\xFF", "bad: not valid UTF-8"},
        {"# comment \xC3", "bad: not valid UTF-8"},
        {std::string("move\0", 5), "bad: not a command of the script"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(Describe(Interpret(c.line)), c.read) << Quoted(c.line);
}

TEST(Quoted, EscapesWhatCouldBreakAOneLineMessage) {
    struct Case {
        std::string text;
        std::string quoted;
    };
    const Case cases[] = {
        {"movee", R"("movee")"},
        {"set Шаг=1", R"("set Шаг=1")"},
        {"a\tb\rc", R"("a\x09b\x0Dc")"},
        {"bad\xFF\xC3(", R"("bad\xFF\xC3(")"},
        {R"(say "hi" \o/)", R"("say \"hi\" \\o/")"},
        {std::string("nul\0", 4), R"("nul\x00")"},
        {"del\x7F", R"("del\x7F")"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(Quoted(c.text), c.quoted);
}

/// Runs a test with the decimal point and gives the user's separator back afterwards.
class SessionTest : public ::testing::Test {
  protected:
    std::string Run(Session& session, const std::string& line) {
        return session.Execute(Interpret(line));
    }

  private:
    SeparatorScope point_{u'.'};
};

TEST_F(SessionTest, StartsWithAResetAndPrintsNothingForIt) {
    Session session;
    EXPECT_EQ(session.StartupOutput(), "");
    EXPECT_TRUE(session.Lab().Options().FixAngle);
    EXPECT_EQ(Run(session, "log"), "");
    EXPECT_EQ(Run(session, "table"),
              "Угол поврота (град)=5\nШаг (см)=1\nТекущая координата x (см)=-----\n"
              "Текущая координата y (см)=-----\nНачальная координата x (см)=0\n"
              "Начальная координата y (см)=0\nУгол датчика (град)=-----\n"
              "Индукция B (Тл)=-----\nЦиркуляция (А)=-----\n");
}

TEST_F(SessionTest, FailedCommandPrintsTheErrorBoxText) {
    struct Case {
        const char* set;
        const char* command;
        std::string printed;
    };
    const Case cases[] = {
        {"set Угол поврота (град)=abc", "rotate+",
         "error: 'abc' is not a valid floating point value.\n"},
        {"set Шаг (см)=1.000,5", "stepx",
         "error: '1,000,5' is not a valid floating point value.\n"},
        {"set Шаг (см)=1e300", "move", "error: Floating point overflow.\n"},
        {"set Начальная координата x (см)=\t1", "start",
         "error: '\t1' is not a valid floating point value.\n"},
        {"set Шаг (см)=2", "move", ""},
    };
    for (const auto& c : cases) {
        Session session;
        EXPECT_EQ(Run(session, c.set), "");
        EXPECT_EQ(Run(session, c.command), c.printed) << c.set;
    }
}

TEST_F(SessionTest, OptionLinesTickTheBoxesAndSeparatorChangesTheNumbers) {
    Session session;
    Run(session, "fix off");
    Run(session, "circulation on");
    Run(session, "protocol on");
    const BenchOptions& options = session.Lab().Options();
    EXPECT_FALSE(options.FixAngle);
    EXPECT_TRUE(options.SumCirculation);
    EXPECT_TRUE(options.WriteProtocol);
    Run(session, "set Шаг (см)=0.5");
    Run(session, "separator ,");
    Run(session, "stepx");
    EXPECT_EQ(FormatSettings().DecimalSeparator, u',');
    EXPECT_EQ(Run(session, "log"), "x (см):0,5\ny (см):0\nУгол датчика:0\nB (Тл):0\n \n");
}

TEST_F(SessionTest, SceneIsPrintedWithShortestRoundTripCoordinates) {
    Session session;
    Run(session, "separator ,");
    Run(session, "protocol on");
    Run(session, "set Начальная координата x (см)=-0,5");
    Run(session, "set Начальная координата y (см)=0.00001");
    Run(session, "start");
    Run(session, "set Шаг (см)=13.5");
    Run(session, "stepx");
    const std::string scene = Run(session, "scene");
    const std::string lines[] = {"WireSections 13 0 -13 0\n", "Trace 13 1e-05\n",
                                 "AxisLineX -21 0 29 0\n", "AxisLineY 0 -25 0 25\n"};
    EXPECT_EQ(scene.rfind("ProbeMarker ", 0), 0u) << scene;
    for (const auto& line : lines)
        EXPECT_NE(scene.find(line), std::string::npos) << line;
    EXPECT_EQ(scene.find(','), std::string::npos) << scene;
}

TEST_F(SessionTest, BadLineStopsTheRunBeforeAnyLaterLine) {
    const ScriptRun ran = RunScriptText("stepy\nrecord\nlog\nMove\nlog\n");
    EXPECT_EQ(ran.status, kExitBadScript);
    EXPECT_EQ(ran.out, "x (см):0\ny (см):1\nУгол датчика:0\nB (Тл):0\n \n");
    EXPECT_EQ(ran.err, "velmora-cli: test.script:4: not a command of the script: \"Move\"\n");
}

TEST_F(SessionTest, ScriptProblemsAreNamedWithFileLineAndText) {
    struct Case {
        std::string script;
        std::string err;
    };
    const Case cases[] = {
        {"table x\n", "velmora-cli: test.script:1: not a command of the script: \"table x\"\n"},
        {"\n# c\nset Шаг=1\n",
         "velmora-cli: test.script:3: not a key of the readout table: \"set Шаг=1\"\n"},
        {"separator ab\r\n",
         "velmora-cli: test.script:1: a separator must be exactly one character: "
         "\"separator ab\"\n"},
        {"move\nmo\xE2\x82ve\n",
         "velmora-cli: test.script:2: not valid UTF-8: \"mo\\xE2\\x82ve\"\n"},
        {"reset\nmove\r\r\n",
         "velmora-cli: test.script:2: not a command of the script: \"move\\x0D\"\n"},
    };
    for (const auto& c : cases) {
        const ScriptRun ran = RunScriptText(c.script);
        EXPECT_EQ(ran.status, kExitBadScript) << Quoted(c.script);
        EXPECT_EQ(ran.err, c.err) << Quoted(c.script);
    }
}

TEST_F(SessionTest, LineEndsAndAByteOrderMarkAreNotPartOfTheLine) {
    const ScriptRun ran =
        RunScriptText("\xEF\xBB\xBFset Шаг (см)=2 \r\nstepx\r\nlog\nrecord\r\nlog");
    EXPECT_EQ(ran.status, kExitRan);
    EXPECT_EQ(ran.err, "");
    EXPECT_EQ(ran.out, "x (см):2\ny (см):0\nУгол датчика:0\nB (Тл):0\n \n");
}

TEST(WriteFailureText, GivesTheSystemsReasonOnlyWhenThereIsOne) {
    EXPECT_EQ(WriteFailureText(0), "velmora-cli: cannot write the output\n");
    EXPECT_EQ(WriteFailureText(ENOSPC),
              "velmora-cli: cannot write the output: No space left on device\n");
}

// Unbuffered, the output fails at the "log" line, and the script is read on after it: the
// reason must outlast that reading. It needs a device whose writes fail, /dev/full, which
// Linux has (and the emulators of other platforms reach through the host's files where they
// map them); a platform without it has no full disk to write to.
TEST_F(SessionTest, OutputOnAFullDiskIsReportedWithItsReasonAtTheEnd) {
    std::FILE* out = std::fopen("/dev/full", "wb");
    if (out == nullptr)
        GTEST_SKIP() << "no full disk device /dev/full here";
    std::setvbuf(out, nullptr, _IONBF, 0);
    std::FILE* in = std::tmpfile();
    std::FILE* err = std::tmpfile();
    std::fputs("stepy\nrecord\nlog\n# read after the failed write\nstepx\n", in);
    std::rewind(in);
    EXPECT_EQ(RunScript(in, "full.script", out, err), kExitFailed);
    EXPECT_EQ(velmora::detail::ContentOf(err),
              "velmora-cli: cannot write the output: No space left on device\n");
    for (std::FILE* file : {in, out, err})
        std::fclose(file);
}

#ifdef __linux__
TEST_F(SessionTest, ScriptThatCannotBeReadIsReported) {
    const auto directory = std::filesystem::temp_directory_path();
    std::FILE* in = std::fopen(directory.c_str(), "rb");
    ASSERT_NE(in, nullptr);
    std::FILE* err = std::tmpfile();
    std::FILE* out = std::fopen("/dev/null", "wb");
    EXPECT_EQ(RunScript(in, "dir", out, err), kExitBadScript);
    EXPECT_EQ(velmora::detail::ContentOf(err),
              "velmora-cli: dir:1: cannot be read: Is a directory\n");
    for (std::FILE* file : {in, out, err})
        std::fclose(file);
}
#endif

}  // namespace
}  // namespace velmora::cli
