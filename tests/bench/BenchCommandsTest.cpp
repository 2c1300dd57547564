#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <string>
#include <vector>

#include "BenchTestSupport.h"

namespace velmora {
namespace {

using testing::ResetBench;
using testing::RowText;

using BenchCommandsTest = testing::SeparatorTest;

void ExpectMarker(const Bench& bench, std::vector<PlotPoint> expected, double tolerance) {
    const auto& marker = bench.Scene().Points(Layer::ProbeMarker);
    ASSERT_EQ(marker.size(), expected.size());
    for (std::size_t i = 0; i < marker.size(); ++i) {
        EXPECT_NEAR(marker[i].X, expected[i].X, tolerance) << "point " << i;
        EXPECT_NEAR(marker[i].Y, expected[i].Y, tolerance) << "point " << i;
    }
}

TEST_F(BenchCommandsTest, MoveWithTheDefaultsWalksOneCentimetreAlongX) {
    Bench bench = ResetBench();
    bench.Move();
    EXPECT_EQ(bench.State().ProbeX, 1);
    EXPECT_EQ(bench.State().ProbeY, 0);
    EXPECT_EQ(RowText(bench, ReadoutRow::CurrentX), "Текущая координата x (см)=1");
    EXPECT_EQ(RowText(bench, ReadoutRow::CurrentY), "Текущая координата y (см)=0");
    EXPECT_EQ(RowText(bench, ReadoutRow::ProbeAngle), "Угол датчика (град)=-----");
    ExpectMarker(bench, {{0, 0.5}, {2, 0}, {0, -0.5}}, 1e-10);
}

TEST_F(BenchCommandsTest, TurningMoveOfNinetyDegreesLeavesTheResidueInExponentNotation) {
    Bench bench = ResetBench();
    bench.SetOption(BenchOption::FixAngle, false);
    bench.Type(ReadoutRow::RotationStep, u"90");
    bench.Move();
    EXPECT_EQ(RowText(bench, ReadoutRow::ProbeAngle), "Угол датчика (град)=90");
    // cos(90 × 3.1415926535 ÷ 180) = sin(π/2 − 1.57079632675) ≈ 4.4897e-11.
    EXPECT_EQ(RowText(bench, ReadoutRow::CurrentX), "Текущая координата x (см)=4.4897E-0011");
    EXPECT_EQ(RowText(bench, ReadoutRow::CurrentY), "Текущая координата y (см)=1");
    ExpectMarker(bench, {{-0.5, 0}, {0, 2}, {0.5, 0}}, 1e-9);
}

TEST_F(BenchCommandsTest, RotatePlusByNinetyTurnsTheMarkerAboutTheProbe) {
    Bench bench = ResetBench();
    bench.Type(ReadoutRow::RotationStep, u"90");
    bench.RotatePlus();
    EXPECT_EQ(RowText(bench, ReadoutRow::ProbeAngle), "Угол датчика (град)=90");
    ExpectMarker(bench, {{-0.5, -1}, {0, 1}, {0.5, -1}}, 1e-9);
    // The position rows are rewritten although the position did not change.
    EXPECT_EQ(RowText(bench, ReadoutRow::CurrentX), "Текущая координата x (см)=0");
    EXPECT_EQ(RowText(bench, ReadoutRow::CurrentY), "Текущая координата y (см)=0");
}

TEST_F(BenchCommandsTest, StepXReadsEitherSeparatorAndNeverTurns) {
    struct Case {
        char16_t separator;
        std::u16string typed;
        std::string row2;
    };
    const Case cases[] = {
        {u'.', u"-2.5", "Текущая координата x (см)=-2.5"},
        {u'.', u"-2,5", "Текущая координата x (см)=-2.5"},
        {u',', u"-2.5", "Текущая координата x (см)=-2,5"},
        {u',', u" -2,5\t", "Текущая координата x (см)=-2,5"},
    };
    for (const auto& c : cases) {
        SeparatorScope scope(c.separator);
        Bench bench = ResetBench();
        bench.Type(ReadoutRow::Step, c.typed);
        bench.StepX();
        EXPECT_EQ(bench.State().ProbeX, -2.5_ext) << RowText(bench, ReadoutRow::Step);
        EXPECT_EQ(bench.State().ProbeAngle, 0);
        EXPECT_EQ(RowText(bench, ReadoutRow::CurrentX), c.row2);
        EXPECT_EQ(RowText(bench, ReadoutRow::CurrentY), "Текущая координата y (см)=-----");
        EXPECT_EQ(RowText(bench, ReadoutRow::ProbeAngle), "Угол датчика (град)=-----");
        ExpectMarker(bench, {{-3.5, 0.5}, {-1.5, 0}, {-3.5, -0.5}}, 1e-10);
    }
}

TEST_F(BenchCommandsTest, StepYWalksAlongYAndWritesRowsSevenAndThree) {
    Bench bench = ResetBench();
    bench.Type(ReadoutRow::Step, u"3");
    bench.StepY();
    EXPECT_EQ(bench.State().ProbeY, 3);
    EXPECT_EQ(RowText(bench, ReadoutRow::CurrentX), "Текущая координата x (см)=-----");
    EXPECT_EQ(RowText(bench, ReadoutRow::CurrentY), "Текущая координата y (см)=3");
    EXPECT_NE(RowText(bench, ReadoutRow::Induction), "Индукция B (Тл)=-----");
    ExpectMarker(bench, {{-1, 3.5}, {1, 3}, {-1, 2.5}}, 1e-10);
}

TEST_F(BenchCommandsTest, OnlyMoveAddsToTheCirculation) {
    struct Case {
        const char* name;
        void (Bench::*command)();
        bool changesRow8;
    };
    const Case cases[] = {
        {"Move", &Bench::Move, true},
        {"StepX", &Bench::StepX, false},
        {"StepY", &Bench::StepY, false},
        {"RotatePlus", &Bench::RotatePlus, false},
        {"GoToStart", &Bench::GoToStart, false},
    };
    for (const auto& c : cases) {
        Bench bench = ResetBench();
        bench.Type(ReadoutRow::StartX, u"5");
        bench.Type(ReadoutRow::StartY, u"1");
        bench.GoToStart();
        bench.SetOption(BenchOption::SumCirculation, true);
        (bench.*c.command)();
        EXPECT_EQ(RowText(bench, ReadoutRow::Circulation) != "Циркуляция (А)=-----", c.changesRow8)
            << c.name;
        EXPECT_EQ(bench.State().Circulation != 0, c.changesRow8) << c.name;
    }
}

TEST_F(BenchCommandsTest, MoveAddsReadingTimesStepInMetresOverMu0) {
    Bench bench = ResetBench();
    bench.SetOption(BenchOption::SumCirculation, true);
    bench.Type(ReadoutRow::Step, u"2");
    bench.Move();
    const LabState& s = bench.State();
    EXPECT_EQ(s.Circulation, s.Induction * 2 * 0.01_ext / s.Mu0);
    EXPECT_EQ(RowText(bench, ReadoutRow::Circulation),
              "Циркуляция (А)=" + ToUtf8(FormatExponent(s.Circulation, 5, 4)));
}

TEST_F(BenchCommandsTest, RotatePlusThenMinusReturnsAngleAndMarker) {
    for (const char16_t* step : {u"5", u"37.5", u"-120", u"1e3"}) {
        Bench bench = ResetBench();
        bench.Type(ReadoutRow::Step, u"4");
        bench.Move();
        const auto marker = bench.Scene().Points(Layer::ProbeMarker);
        bench.Type(ReadoutRow::RotationStep, step);
        bench.RotatePlus();
        bench.RotateMinus();
        EXPECT_NEAR(static_cast<double>(bench.State().ProbeAngle), 0, 1e-15) << ToUtf8(step);
        ExpectMarker(bench, marker, 1e-12);
    }
}

TEST_F(BenchCommandsTest, RotateMinusTurnsClockwiseAndTheAngleGoesNegative) {
    Bench bench = ResetBench();
    bench.Type(ReadoutRow::RotationStep, u"90");
    bench.RotateMinus();
    EXPECT_EQ(RowText(bench, ReadoutRow::ProbeAngle), "Угол датчика (град)=-90");
    ExpectMarker(bench, {{0.5, 1}, {0, -1}, {-0.5, 1}}, 1e-9);
}

TEST_F(BenchCommandsTest, AngleRowCountsWholeTurnsWithoutReduction) {
    Bench bench = ResetBench();
    bench.RotatePlus();
    EXPECT_EQ(RowText(bench, ReadoutRow::ProbeAngle), "Угол датчика (град)=5");
    for (int i = 1; i < 72; ++i)
        bench.RotatePlus();
    EXPECT_EQ(RowText(bench, ReadoutRow::ProbeAngle), "Угол датчика (град)=360");
    for (int i = 0; i < 72; ++i)
        bench.RotatePlus();
    EXPECT_EQ(RowText(bench, ReadoutRow::ProbeAngle), "Угол датчика (град)=720");
}

TEST_F(BenchCommandsTest, GoToStartKeepsDirectionAndMovesTheMarkerAlong) {
    Bench bench = ResetBench();
    bench.Type(ReadoutRow::RotationStep, u"90");
    bench.RotatePlus();
    bench.Type(ReadoutRow::StartX, u" 3 ");
    bench.Type(ReadoutRow::StartY, u"-4,5");
    bench.GoToStart();
    EXPECT_EQ(bench.State().ProbeX, 3);
    EXPECT_EQ(bench.State().ProbeY, -4.5_ext);
    EXPECT_EQ(RowText(bench, ReadoutRow::CurrentX), "Текущая координата x (см)=3");
    EXPECT_EQ(RowText(bench, ReadoutRow::CurrentY), "Текущая координата y (см)=-4.5");
    EXPECT_EQ(RowText(bench, ReadoutRow::ProbeAngle), "Угол датчика (град)=90");
    ExpectMarker(bench, {{2.5, -5.5}, {3, -3.5}, {3.5, -5.5}}, 1e-9);
}

TEST_F(BenchCommandsTest, DeadZoneReadsZeroInEveryDirection) {
    for (const auto& [x, y] :
         {std::pair{u"13", u"0"}, {u"13", u"1"}, {u"12", u"0"}, {u"-13", u"-1"}}) {
        Bench bench = ResetBench();
        bench.Type(ReadoutRow::StartX, x);
        bench.Type(ReadoutRow::StartY, y);
        bench.Type(ReadoutRow::RotationStep, u"30");
        bench.GoToStart();
        for (int turn = 0; turn < 12; ++turn) {
            EXPECT_EQ(bench.State().Induction, 0) << ToUtf8(x) << "," << ToUtf8(y);
            EXPECT_EQ(RowText(bench, ReadoutRow::Induction), "Индукция B (Тл)=0.0000E+0000");
            bench.RotatePlus();
        }
    }
}

TEST_F(BenchCommandsTest, PositionRowsUseFiveSignificantDigits) {
    struct Case {
        std::u16string x;
        std::string row2;
    };
    const Case cases[] = {
        {u"12.34567", "Текущая координата x (см)=12.346"},
        {u"0.00001", "Текущая координата x (см)=1E-0005"},
        {u"0.0001", "Текущая координата x (см)=0.0001"},
        {u"123456", "Текущая координата x (см)=1.2346E0005"},
        {u"-0", "Текущая координата x (см)=0"},
        {u"40", "Текущая координата x (см)=40"},
    };
    for (const auto& c : cases) {
        Bench bench = ResetBench();
        bench.Type(ReadoutRow::StartX, c.x);
        bench.Type(ReadoutRow::StartY, u"2");
        bench.GoToStart();
        EXPECT_EQ(RowText(bench, ReadoutRow::CurrentX), c.row2);
    }
}

TEST_F(BenchCommandsTest, ProbeOutsideThePlotLeavesTheRangesAlone) {
    Bench bench = ResetBench();
    bench.Type(ReadoutRow::StartX, u"40");
    bench.GoToStart();
    const auto& marker = bench.Scene().Points(Layer::ProbeMarker);
    EXPECT_NEAR(marker[1].X, 41, 1e-9);
    EXPECT_GT(marker[1].X, PlotScene::kFixedXRange.Max);
    EXPECT_EQ(PlotScene::kFixedXRange, (AxisRange{-21, 29}));
}

TEST_F(BenchCommandsTest, EraseProtocolWritesALiteralZeroAndEmptiesTraceAndLog) {
    Bench bench = ResetBench();
    bench.Type(ReadoutRow::StartY, u"2");
    bench.GoToStart();
    testing::SetOptions(bench, {.FixAngle = true, .SumCirculation = true, .WriteProtocol = true});
    bench.Move();
    ASSERT_NE(bench.State().Circulation, 0);
    bench.EraseProtocol();
    EXPECT_EQ(RowText(bench, ReadoutRow::Circulation), "Циркуляция (А)=0");
    EXPECT_EQ(bench.State().Circulation, 0);
    EXPECT_TRUE(bench.Scene().Points(Layer::Trace).empty());
    EXPECT_TRUE(bench.Protocol().Lines().empty());
    bench.Reset();
    EXPECT_EQ(RowText(bench, ReadoutRow::Circulation), "Циркуляция (А)=-----");
}

TEST_F(BenchCommandsTest, TextTypedOverTheReadingIsReplacedByTheNextCommand) {
    struct Case {
        const char* name;
        void (Bench::*command)();
        bool replaces;
    };
    const Case cases[] = {
        {"Move", &Bench::Move, true},
        {"StepX", &Bench::StepX, true},
        {"StepY", &Bench::StepY, true},
        {"GoToStart", &Bench::GoToStart, true},
        {"RotatePlus", &Bench::RotatePlus, true},
        {"RotateMinus", &Bench::RotateMinus, true},
        {"Reset", &Bench::Reset, true},
        {"RecordValues", &Bench::RecordValues, false},
        {"EraseProtocol", &Bench::EraseProtocol, false},
    };
    for (const auto& c : cases) {
        Bench bench = ResetBench();
        bench.Type(ReadoutRow::Induction, u"typed");
        (bench.*c.command)();
        EXPECT_EQ(bench.Table().Value(ReadoutRow::Induction) != u"typed", c.replaces) << c.name;
    }
}

TEST_F(BenchCommandsTest, NumbersWrittenAfterASeparatorChangeUseTheNewOne) {
    Bench bench = ResetBench();
    {
        SeparatorScope comma(u',');
        bench.Type(ReadoutRow::Step, u"0.5");
        bench.StepX();
        EXPECT_EQ(RowText(bench, ReadoutRow::CurrentX), "Текущая координата x (см)=0,5");
    }
    // The fixture's point again.
    bench.StepY();
    EXPECT_EQ(RowText(bench, ReadoutRow::CurrentX), "Текущая координата x (см)=0,5");
    EXPECT_EQ(RowText(bench, ReadoutRow::CurrentY), "Текущая координата y (см)=0.5");
}

TEST_F(BenchCommandsTest, RunDispatchesEveryCommand) {
    Bench bench = ResetBench();
    bench.Run(Command::StepY);
    EXPECT_EQ(bench.State().ProbeY, 1);
    bench.Run(Command::RecordValues);
    EXPECT_EQ(bench.Protocol().Lines().size(), 5u);
    bench.Run(Command::EraseProtocol);
    EXPECT_TRUE(bench.Protocol().Lines().empty());
}

TEST(ErrorBoxText, AppendsAPeriodOnlyAfterCharactersAboveIt) {
    struct Case {
        std::u16string message;
        std::u16string shown;
    };
    const Case cases[] = {
        {u"'abc' is not a valid floating point value",
         u"'abc' is not a valid floating point value."},
        {u"Floating point overflow", u"Floating point overflow."},
        {u"Already ends.", u"Already ends."},
        {u"", u""},
        {u"blank ", u"blank "},
        {u"bang!", u"bang!"},
        {u"comma,", u"comma,"},
        {u"dash-", u"dash-"},
        {u"quote'", u"quote'"},
        {u"slash/", u"slash/."},
        {u"digit 5", u"digit 5."},
        {u"Ошибка", u"Ошибка."},
        {u"tab\t", u"tab\t"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(ErrorBoxText(c.message), c.shown) << ToUtf8(c.message);
}

}  // namespace
}  // namespace velmora
