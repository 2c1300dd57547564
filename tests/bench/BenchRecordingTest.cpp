#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "BenchTestSupport.h"

namespace velmora {
namespace {

using testing::LogLines;
using testing::ResetBench;
using testing::RowText;

using BenchRecordingTest = testing::SeparatorTest;

TEST_F(BenchRecordingTest, TurnedMoveShowsAndRecordsTheReadingOfTheWalkedProbe) {
    Bench bench = ResetBench();
    bench.RotatePlus();
    bench.Move();
    const std::vector<std::string> table = {
        "Угол поврота (град)=5",
        "Шаг (см)=1",
        "Текущая координата x (см)=0.99619",
        "Текущая координата y (см)=0.087156",
        "Начальная координата x (см)=0",
        "Начальная координата y (см)=0",
        "Угол датчика (град)=5",
        "Индукция B (Тл)=8.5366E-0006",
        "Циркуляция (А)=-----",
    };
    for (int row = 0; row < kReadoutRowCount; ++row) {
        EXPECT_EQ(RowText(bench, ReadoutRowAt(row)), table[row]);
    }
    bench.RecordValues();
    EXPECT_EQ(LogLines(bench),
              (std::vector<std::string>{"x (см):0.9962", "y (см):0.08716", "Угол датчика:5",
                                        "B (Тл):8.537E-0006", " "}));
}

TEST_F(BenchRecordingTest, WhichCommandsRecordAnEntryAndATraceDot) {
    struct Case {
        const char* name;
        void (Bench::*command)();
        bool writeProtocol;
        std::size_t entries;
    };
    const Case cases[] = {
        {"Move, recording off", &Bench::Move, false, 0},
        {"StepX, recording off", &Bench::StepX, false, 0},
        {"StepY, recording off", &Bench::StepY, false, 0},
        {"Move, recording on", &Bench::Move, true, 1},
        {"StepX, recording on", &Bench::StepX, true, 1},
        {"StepY, recording on", &Bench::StepY, true, 1},
        {"RotatePlus, recording on", &Bench::RotatePlus, true, 0},
        {"RotateMinus, recording on", &Bench::RotateMinus, true, 0},
        {"GoToStart, recording on", &Bench::GoToStart, true, 0},
        {"Reset, recording on", &Bench::Reset, true, 0},
        {"EraseProtocol, recording on", &Bench::EraseProtocol, true, 0},
    };
    for (const auto& c : cases) {
        Bench bench = ResetBench();
        bench.SetOption(BenchOption::WriteProtocol, c.writeProtocol);
        (bench.*c.command)();
        EXPECT_EQ(bench.Protocol().Lines().size(), 5 * c.entries) << c.name;
        const auto& trace = bench.Scene().Points(Layer::Trace);
        ASSERT_EQ(trace.size(), c.entries) << c.name;
        if (c.entries == 1) {
            EXPECT_EQ(trace[0].X, static_cast<double>(bench.State().ProbeX)) << c.name;
            EXPECT_EQ(trace[0].Y, static_cast<double>(bench.State().ProbeY)) << c.name;
        }
    }
}

TEST_F(BenchRecordingTest, RecordValuesAlwaysWritesAnEntryButNoTraceDot) {
    for (const bool writeProtocol : {false, true}) {
        Bench bench = ResetBench();
        bench.SetOption(BenchOption::WriteProtocol, writeProtocol);
        bench.Type(ReadoutRow::StartX, u"-7,25");
        bench.Type(ReadoutRow::StartY, u"3");
        bench.GoToStart();
        bench.RecordValues();
        const auto lines = LogLines(bench);
        ASSERT_EQ(lines.size(), 5u);
        EXPECT_EQ(lines[0], "x (см):-7.25");
        EXPECT_EQ(lines[1], "y (см):3");
        EXPECT_EQ(lines[2], "Угол датчика:0");
        EXPECT_EQ(lines[3].rfind("B (Тл):", 0), 0u);
        EXPECT_TRUE(bench.Scene().Points(Layer::Trace).empty());
    }
}

TEST_F(BenchRecordingTest, ThreeRecordedMovesGiveFifteenLinesEveryFifthABlank) {
    Bench bench = ResetBench();
    bench.SetOption(BenchOption::WriteProtocol, true);
    for (int i = 0; i < 3; ++i)
        bench.Move();
    const auto lines = LogLines(bench);
    ASSERT_EQ(lines.size(), 15u);
    for (std::size_t i = 0; i < lines.size(); ++i) {
        EXPECT_EQ(lines[i] == " ", i % 5 == 4) << i;
    }
    EXPECT_EQ(lines[10], "x (см):3");
    EXPECT_EQ(bench.Scene().Points(Layer::Trace), (std::vector<PlotPoint>{{1, 0}, {2, 0}, {3, 0}}));
}

TEST_F(BenchRecordingTest, TwoHalfTurnsRecordThreeHundredSixtyDegrees) {
    Bench bench = ResetBench();
    bench.Type(ReadoutRow::RotationStep, u"180");
    bench.RotatePlus();
    bench.RotatePlus();
    bench.RecordValues();
    EXPECT_EQ(LogLines(bench)[2], "Угол датчика:360");
}

TEST_F(BenchRecordingTest, EraseEmptiesTheLogAndResetKeepsIt) {
    Bench bench = ResetBench();
    bench.RecordValues();
    bench.Reset();
    EXPECT_EQ(bench.Protocol().Lines().size(), 5u);
    const auto clears = bench.Protocol().ClearCount();
    bench.EraseProtocol();
    EXPECT_TRUE(bench.Protocol().Lines().empty());
    EXPECT_EQ(bench.Protocol().ClearCount(), clears + 1);
}

TEST_F(BenchRecordingTest, RecordAfterGoToStartWritesTheStartPosition) {
    Bench bench = ResetBench();
    bench.Type(ReadoutRow::StartX, u"13");
    bench.Type(ReadoutRow::StartY, u"0");
    bench.GoToStart();
    bench.RecordValues();
    EXPECT_EQ(LogLines(bench), (std::vector<std::string>{"x (см):13", "y (см):0", "Угол датчика:0",
                                                         "B (Тл):0", " "}));
}

TEST_F(BenchRecordingTest, RevisionsTellTheViewsWhatEachCommandChanged) {
    struct Case {
        const char* name;
        void (Bench::*command)();
        bool table, marker, trace, log, reset;
    };
    const Case cases[] = {
        {"Reset", &Bench::Reset, true, true, true, false, true},
        {"Move", &Bench::Move, true, true, true, true, false},
        {"RotatePlus", &Bench::RotatePlus, true, true, false, false, false},
        {"StepX", &Bench::StepX, true, true, true, true, false},
        {"GoToStart", &Bench::GoToStart, true, true, false, false, false},
        {"RecordValues", &Bench::RecordValues, false, false, false, true, false},
        {"EraseProtocol", &Bench::EraseProtocol, true, false, true, true, false},
    };
    for (const auto& c : cases) {
        Bench bench = ResetBench();
        bench.SetOption(BenchOption::WriteProtocol, true);
        const auto table = bench.Table().Revision();
        const auto marker = bench.Scene().Revision(Layer::ProbeMarker);
        const auto trace = bench.Scene().Revision(Layer::Trace);
        const auto wires = bench.Scene().Revision(Layer::WireSections);
        const auto lines = bench.Protocol().Lines().size();
        const auto clears = bench.Protocol().ClearCount();
        const auto resets = bench.Scene().ResetCount();
        (bench.*c.command)();
        EXPECT_EQ(bench.Table().Revision() != table, c.table) << c.name;
        EXPECT_EQ(bench.Scene().Revision(Layer::ProbeMarker) != marker, c.marker) << c.name;
        EXPECT_EQ(bench.Scene().Revision(Layer::Trace) != trace, c.trace) << c.name;
        EXPECT_EQ(bench.Scene().Revision(Layer::WireSections) != wires, c.reset) << c.name;
        EXPECT_EQ(
            bench.Protocol().Lines().size() != lines || bench.Protocol().ClearCount() != clears,
            c.log)
            << c.name;
        EXPECT_EQ(bench.Scene().ResetCount() != resets, c.reset) << c.name;
    }
}

}  // namespace
}  // namespace velmora
