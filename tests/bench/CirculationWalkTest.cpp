#include <gtest/gtest.h>

#include <cmath>
#include <string>

#include "BenchTestSupport.h"
#include "ExtendedTestSupport.h"

namespace velmora {
namespace {

using testing::ResetBench;
using testing::RowText;

struct Walk {
    const char* name;
    std::u16string startX;
    std::u16string startY;
    double circulation;  ///< amperes: the current the walk encloses, ± CoilTurns × CoilCurrent
};

class CirculationWalkTest : public testing::SeparatorTest,
                            public ::testing::WithParamInterface<Walk> {};

// With the defaults (5°, 1 cm) the walk is a regular 72-gon whose first edge points 5° up
// from +x; its centre lies 0.5 cm to the left of and 11.4519 cm above the start. The starts
// below centre the walk on the wire at (13, 0), on the one at (−13, 0), and on the coil's
// centre, which encloses neither wire.
TEST_P(CirculationWalkTest, ClosedWalkSumsTheEnclosedCurrent) {
    const Walk& walk = GetParam();
    Bench bench = ResetBench();
    bench.Type(ReadoutRow::StartX, walk.startX);
    bench.Type(ReadoutRow::StartY, walk.startY);
    bench.GoToStart();
    bench.SetOption(BenchOption::FixAngle, false);
    bench.SetOption(BenchOption::SumCirculation, true);
    const Extended x0 = bench.State().ProbeX;
    const Extended y0 = bench.State().ProbeY;
    for (int press = 0; press < 72; ++press)
        bench.Move();

    EXPECT_EQ(RowText(bench, ReadoutRow::ProbeAngle), "Угол датчика (град)=360");
    // The turns add up to 2 × 3.1415926535, not quite a full turn: the walk misses its start
    // by about 2e-9 cm.
    EXPECT_NEAR(static_cast<double>(bench.State().ProbeX - x0), 0, 1e-8);
    EXPECT_NEAR(static_cast<double>(bench.State().ProbeY - y0), 0, 1e-8);
    const double circulation = static_cast<double>(bench.State().Circulation);
    EXPECT_NEAR(circulation, walk.circulation, 0.1);
    EXPECT_EQ(RowText(bench, ReadoutRow::Circulation),
              "Циркуляция (А)=" + ToUtf8(FormatExponent(bench.State().Circulation, 5, 4)));
    ::testing::Test::RecordProperty("circulation", std::to_string(circulation));
}

INSTANTIATE_TEST_SUITE_P(AroundTheWires, CirculationWalkTest,
                         ::testing::Values(Walk{"AroundPlus13", u"13.5", u"-11.4519", -20},
                                           Walk{"AroundMinus13", u"-12.5", u"-11.4519", 20},
                                           Walk{"AroundNeither", u"0.5", u"-11.4519", 0}),
                         [](const ::testing::TestParamInfo<Walk>& info) {
                             return std::string(info.param.name);
                         });

}  // namespace
}  // namespace velmora
