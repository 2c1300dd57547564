#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "BenchTestSupport.h"

namespace velmora {
namespace {

using testing::LogLines;
using testing::ResetBench;
using testing::RowText;

using BenchResetTest = testing::SeparatorTest;

std::vector<std::string> Values(const Bench& bench) {
    std::vector<std::string> values;
    for (const ReadoutRow row : kReadoutRows) {
        values.push_back(ToUtf8(bench.Table().Value(row)));
    }
    return values;
}

TEST_F(BenchResetTest, StartUpShowsDefaultsAndPlaceholders) {
    const Bench bench = ResetBench();
    EXPECT_EQ(Values(bench), (std::vector<std::string>{"5", "1", "-----", "-----", "0", "0",
                                                       "-----", "-----", "-----"}));
    const LabState& s = bench.State();
    EXPECT_EQ(s.ProbeX, 0);
    EXPECT_EQ(s.ProbeY, 0);
    EXPECT_EQ(s.ProbeAngle, 0);
    EXPECT_EQ(s.Circulation, 0);
    EXPECT_EQ(s.PiValue, 3.1415926535_ext);
    EXPECT_EQ(s.Mu0, 3.1415926535_ext * 4 * 1e-7_ext);
    EXPECT_EQ(s.CoilCurrent, 0.05_ext);
    EXPECT_EQ(s.CoilTurns, 400);
    EXPECT_EQ(s.CoilRadius, 13);
    EXPECT_EQ(s.WireRadius, 1);
    EXPECT_TRUE(bench.Options().FixAngle);
    EXPECT_FALSE(bench.Options().SumCirculation);
    EXPECT_FALSE(bench.Options().WriteProtocol);
    EXPECT_TRUE(bench.Protocol().Lines().empty());
}

TEST_F(BenchResetTest, ResetTakesTheReadingAtTheOriginSoARecordPairsItRight) {
    Bench bench = ResetBench();
    bench.Type(ReadoutRow::StartX, u"3");
    bench.Type(ReadoutRow::StartY, u"4");
    bench.GoToStart();
    ASSERT_NE(bench.State().Induction, 0);
    bench.Reset();
    EXPECT_EQ(bench.State().Induction, 0);
    EXPECT_EQ(RowText(bench, ReadoutRow::Induction), "Индукция B (Тл)=-----");
    bench.RecordValues();
    EXPECT_EQ(LogLines(bench), (std::vector<std::string>{"x (см):0", "y (см):0", "Угол датчика:0",
                                                         "B (Тл):0", " "}));
}

TEST_F(BenchResetTest, ResetReturnsToTheStartButKeepsTheProtocol) {
    Bench bench = ResetBench();
    testing::SetOptions(bench, {.FixAngle = false, .SumCirculation = true, .WriteProtocol = true});
    bench.Type(ReadoutRow::Step, u"2");
    bench.Type(ReadoutRow::RotationStep, u"30");
    bench.Type(ReadoutRow::StartX, u"7");
    bench.Move();
    bench.Move();
    ASSERT_EQ(bench.Protocol().Lines().size(), 10u);
    ASSERT_EQ(bench.Scene().Points(Layer::Trace).size(), 2u);

    bench.Reset();
    EXPECT_EQ(Values(bench), (std::vector<std::string>{"5", "1", "-----", "-----", "0", "0",
                                                       "-----", "-----", "-----"}));
    EXPECT_EQ(bench.State().ProbeAngle, 0);
    EXPECT_EQ(bench.State().Circulation, 0);
    EXPECT_TRUE(bench.Options().FixAngle);
    EXPECT_FALSE(bench.Options().SumCirculation);
    EXPECT_FALSE(bench.Options().WriteProtocol);
    EXPECT_TRUE(bench.Scene().Points(Layer::Trace).empty());
    EXPECT_EQ(bench.Protocol().Lines().size(), 10u);
    const auto& marker = bench.Scene().Points(Layer::ProbeMarker);
    ASSERT_EQ(marker.size(), 3u);
    EXPECT_NEAR(marker[1].X, 1, 1e-10);
    EXPECT_NEAR(marker[1].Y, 0, 1e-10);
}

TEST_F(BenchResetTest, ManyResetsLeaveOneMarkerTwoWiresAndTwoAxisLines) {
    Bench bench = ResetBench();
    for (int i = 0; i < 10; ++i)
        bench.Reset();
    EXPECT_EQ(bench.Scene().Points(Layer::ProbeMarker).size(), 3u);
    EXPECT_EQ(bench.Scene().Points(Layer::WireSections).size(), 2u);
    EXPECT_EQ(bench.Scene().Points(Layer::AxisLineX).size(), 2u);
    EXPECT_EQ(bench.Scene().Points(Layer::AxisLineY).size(), 2u);
}

}  // namespace
}  // namespace velmora
