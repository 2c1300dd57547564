#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

#include "BenchTestSupport.h"
#include "ExtendedTestSupport.h"
#include "MarkerOnProbe.h"

namespace velmora {
namespace {

using testing::Snapshot;

/// Long random sessions: typed texts of every kind, option toggles, separator changes and
/// all nine commands. After every command the marker shows the probe, and a command that
/// failed left every model exactly as it was, revisions included.
class BenchPropertyTest : public testing::SeparatorTest,
                          public ::testing::WithParamInterface<unsigned> {
  protected:
    std::mt19937_64 rng{GetParam()};

    template <class T>
    const T& Pick(const std::vector<T>& items) {
        return items[std::uniform_int_distribution<std::size_t>(0, items.size() - 1)(rng)];
    }
    bool Chance(double p) { return std::bernoulli_distribution(p)(rng); }

    /// A number between −15 and 15 with a few decimals, written with either separator and
    /// sometimes with blanks around it.
    std::u16string SmallNumber() {
        const double value = std::uniform_real_distribution<double>(-15, 15)(rng);
        std::string text = std::to_string(std::round(value * 1000) / 1000);
        if (Chance(0.5)) {
            for (char& c : text) {
                if (c == '.')
                    c = ',';
            }
        }
        if (Chance(0.2))
            text = " " + text + " ";
        return std::u16string(text.begin(), text.end());
    }

    std::u16string TypedText() {
        static const std::vector<std::u16string> invalid = {u"abc",   u"",   u" ",      u"1.000,5",
                                                            u"--1",   u"1e", u"INF",    u"0x10",
                                                            u"1 000", u"\t", u"1e5000", u"5,5.5"};
        static const std::vector<std::u16string> huge = {u"1e200",  u"-3e170",  u"1e4000",
                                                         u"1e4932", u"-1e4931", u"1e100",
                                                         u"-2e60",  u"1e20",    u"7e15"};
        static const std::vector<std::u16string> usual = {
            u"1",   u"5",   u"-5",  u"90", u"-90", u"0",    u"-0",    u"2.5",
            u"2,5", u"\t3", u" 4 ", u"13", u"-13", u"1e-3", u"7.5e1", u"360"};
        const int kind = std::uniform_int_distribution<int>(0, 9)(rng);
        if (kind == 0)
            return Pick(invalid);
        if (kind == 1)
            return Pick(huge);
        if (kind < 5)
            return Pick(usual);
        return SmallNumber();
    }
};

constexpr Command kCommands[] = {
    Command::Move,         Command::RotatePlus,    Command::RotateMinus,
    Command::StepX,        Command::StepY,         Command::GoToStart,
    Command::RecordValues, Command::EraseProtocol, Command::Reset};
const char* const kCommandNames[] = {"Move",      "RotatePlus",   "RotateMinus",   "StepX", "StepY",
                                     "GoToStart", "RecordValues", "EraseProtocol", "Reset"};
const ReadoutRow kInputRows[] = {ReadoutRow::RotationStep, ReadoutRow::Step, ReadoutRow::StartX,
                                 ReadoutRow::StartY};

TEST_P(BenchPropertyTest, MarkerFollowsTheProbeAndFailuresChangeNothing) {
    Bench bench = testing::ResetBench();
    int succeeded = 0;
    int failed = 0;
    for (int action = 0; action < 10000; ++action) {
        const int kind = std::uniform_int_distribution<int>(0, 99)(rng);
        if (kind < 30) {
            bench.Type(Pick(std::vector<ReadoutRow>(std::begin(kInputRows), std::end(kInputRows))),
                       TypedText());
        } else if (kind < 33) {
            bench.Type(ReadoutRowAt(std::uniform_int_distribution<int>(0, 8)(rng)), TypedText());
        } else if (kind < 42) {
            const BenchOptions& o = bench.Options();
            const std::pair<BenchOption, bool> boxes[] = {
                {BenchOption::FixAngle, o.FixAngle},
                {BenchOption::SumCirculation, o.SumCirculation},
                {BenchOption::WriteProtocol, o.WriteProtocol}};
            const auto& [box, ticked] = boxes[std::uniform_int_distribution<int>(0, 2)(rng)];
            bench.SetOption(box, !ticked);
        } else if (kind < 44) {
            FormatSettings().DecimalSeparator = Chance(0.5) ? u',' : u'.';
        } else {
            // Reset is rare, as in a real session.
            const std::size_t index =
                std::uniform_int_distribution<std::size_t>(0, Chance(0.03) ? 8 : 7)(rng);
            const std::string context =
                "action " + std::to_string(action) + ": " + kCommandNames[index] + " with step '" +
                ToUtf8(bench.Table().Value(ReadoutRow::Step)) + "', rotation '" +
                ToUtf8(bench.Table().Value(ReadoutRow::RotationStep)) + "'";
            const Snapshot before(bench);
            try {
                bench.Run(kCommands[index]);
                ++succeeded;
            } catch (const Error&) {
                ++failed;
                ASSERT_TRUE(Snapshot(bench) == before) << context;
            }
            EXPECT_EQ(MarkerOffProbe(bench), "") << context;
            if (::testing::Test::HasFailure())
                return;
        }
    }
    // Both paths must have been walked many times for the run to mean something.
    EXPECT_GT(succeeded, 2000);
    EXPECT_GT(failed, 200);
}

INSTANTIATE_TEST_SUITE_P(Seeds, BenchPropertyTest, ::testing::Values(1u, 2u, 3u, 20240611u));

}  // namespace
}  // namespace velmora
