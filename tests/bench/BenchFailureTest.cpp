#include <gtest/gtest.h>

#include <functional>
#include <string>

#include "BenchTestSupport.h"
#include "ExtendedTestSupport.h"

namespace velmora {
namespace {

using testing::MessageOf;
using testing::ResetBench;
using testing::Snapshot;

using BenchFailureTest = testing::SeparatorTest;

/// A bench away from its start: moved, turned, recorded, with a typed reading over row 7.
Bench Worked() {
    Bench bench = ResetBench();
    testing::SetOptions(bench, {.FixAngle = false, .SumCirculation = true, .WriteProtocol = true});
    bench.Type(ReadoutRow::Step, u"2");
    bench.Type(ReadoutRow::RotationStep, u"20");
    bench.Move();
    bench.Move();
    bench.Type(ReadoutRow::Induction, u"typed");
    return bench;
}

TEST_F(BenchFailureTest, FailedCommandShowsItsMessageAndChangesNothing) {
    struct Case {
        const char* name;
        std::function<void(Bench&)> prepare;
        void (Bench::*command)();
        std::string message;
    };
    const Case cases[] = {
        {"rotation step abc", [](Bench& b) { b.Type(ReadoutRow::RotationStep, u"abc"); },
         &Bench::RotatePlus, "'abc' is not a valid floating point value"},
        {"rotation step empty", [](Bench& b) { b.Type(ReadoutRow::RotationStep, u" \t "); },
         &Bench::RotateMinus, "'' is not a valid floating point value"},
        {"step with both separators", [](Bench& b) { b.Type(ReadoutRow::Step, u"1.000,5"); },
         &Bench::StepX, "'1,000,5' is not a valid floating point value"},
        {"step beyond the extended range", [](Bench& b) { b.Type(ReadoutRow::Step, u"1e5000"); },
         &Bench::StepY, "'1e5000' is not a valid floating point value"},
        // The probe at an absurd distance: the field sums overflow.
        {"step too long for the field", [](Bench& b) { b.Type(ReadoutRow::Step, u"1e200"); },
         &Bench::StepX, "Floating point overflow"},
        {"start far beyond the field",
         [](Bench& b) {
             b.Type(ReadoutRow::StartX, u"1e4000");
             b.Type(ReadoutRow::StartY, u"1");
         },
         &Bench::GoToStart, "Floating point overflow"},
        {"turn beyond the extended range",
         [](Bench& b) { b.Type(ReadoutRow::RotationStep, u"1e4932"); }, &Bench::RotatePlus,
         "Floating point overflow"},
        // Only y fails: x must not be kept (it used to be, leaving the marker off the probe).
        {"start y only",
         [](Bench& b) {
             b.Type(ReadoutRow::StartX, u"3");
             b.Type(ReadoutRow::StartY, u"x");
         },
         &Bench::GoToStart, "'x' is not a valid floating point value"},
        {"start x and y: x's error is shown",
         [](Bench& b) {
             b.Type(ReadoutRow::StartX, u"a");
             b.Type(ReadoutRow::StartY, u"b");
         },
         &Bench::GoToStart, "'a' is not a valid floating point value"},
        {"start coordinates are not trimmed: a tab fails",
         [](Bench& b) {
             b.Type(ReadoutRow::StartX, u"\t3");
             b.Type(ReadoutRow::StartY, u"0");
         },
         &Bench::GoToStart, "'\t3' is not a valid floating point value"},
        // Move converts the step before the rotation step.
        {"move: step and rotation both bad",
         [](Bench& b) {
             b.Type(ReadoutRow::Step, u"s");
             b.Type(ReadoutRow::RotationStep, u"r");
         },
         &Bench::Move, "'s' is not a valid floating point value"},
        {"move: rotation bad", [](Bench& b) { b.Type(ReadoutRow::RotationStep, u"r"); },
         &Bench::Move, "'r' is not a valid floating point value"},
        // The turn succeeds and the step then fails: the turn is not kept either.
        {"move: turn then an overflowing step",
         [](Bench& b) { b.Type(ReadoutRow::Step, u"1e300"); }, &Bench::Move,
         "Floating point overflow"},
    };
    for (const auto& c : cases) {
        Bench bench = Worked();
        c.prepare(bench);
        const Snapshot before(bench);
        EXPECT_EQ(MessageOf([&] { (bench.*c.command)(); }), c.message) << c.name;
        EXPECT_TRUE(Snapshot(bench) == before) << c.name;
    }
}

TEST_F(BenchFailureTest, FixedAngleMoveDoesNotReadTheRotationStep) {
    Bench bench = ResetBench();
    bench.Type(ReadoutRow::RotationStep, u"not read");
    bench.Move();
    EXPECT_EQ(bench.State().ProbeX, 1);
}

TEST_F(BenchFailureTest, TurnWhoseDegreesLeaveTheExtendedRangeFailsAsAWhole) {
    // 3e4931 degrees is about 5.2e4929 rad: one turn fits, and its degrees can be shown. After
    // a second turn the angle still fits but its degrees (angle × 180) do not, so the command
    // fails instead of leaving a turned probe behind a stale angle row.
    Bench bench = ResetBench();
    bench.Type(ReadoutRow::RotationStep, u"3e4931");
    EXPECT_EQ(MessageOf([&] { bench.RotatePlus(); }), "(no error)");
    EXPECT_EQ(testing::RowText(bench, ReadoutRow::ProbeAngle), "Угол датчика (град)=3E4931");
    const Snapshot before(bench);
    EXPECT_EQ(MessageOf([&] { bench.RotatePlus(); }), "Floating point overflow");
    EXPECT_TRUE(Snapshot(bench) == before);
}

}  // namespace
}  // namespace velmora
