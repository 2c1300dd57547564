#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

#include "BenchTestSupport.h"
#include "ExtendedTestSupport.h"

namespace velmora {
namespace {

using testing::ResetBench;

using BenchMarkerTest = testing::SeparatorTest;

// The commands move the marker with the scene's own operations, in their order: a turning
// Move turns it about the probe by the rotation step, then shifts it by the step along the
// new direction. Replaying those operations on the reset marker gives the very same
// doubles, bit for bit, after a whole closed walk and a few axis steps.
TEST_F(BenchMarkerTest, OrdinaryWalkMovesTheMarkerByTheSceneOperationsExactly) {
    Bench bench = ResetBench();
    bench.SetOption(BenchOption::FixAngle, false);
    bench.Type(ReadoutRow::Step, u"0,7");
    bench.Type(ReadoutRow::RotationStep, u"7.5");
    PlotScene reset;
    reset.SceneReset();
    std::vector<PlotPoint> replay = reset.Points(Layer::ProbeMarker);
    Extended x = 0;
    Extended y = 0;
    Extended angle = 0;
    const Extended step = 0.7_ext;
    const Extended delta = 7.5_ext * kTenDecimalPi / 180;
    for (int press = 0; press < 60; ++press) {
        bench.Move();
        angle = delta + angle;
        replay = Rotated(replay, x, y, delta);
        const Extended dx = Cos(angle) * step;
        const Extended dy = Sin(angle) * step;
        x = x + dx;
        y = y + dy;
        replay = Translated(replay, dx, dy);
    }
    bench.StepX();
    replay = Translated(replay, step, 0);
    bench.RotateMinus();
    replay = Rotated(replay, x + step, y, -delta);
    EXPECT_EQ(bench.Scene().Points(Layer::ProbeMarker), replay);
}

TEST_F(BenchMarkerTest, MarkerStaysOnTheProbeAfterAbsurdTurnsAndSteps) {
    // A turn of 1e20 degrees leaves the angle with a rounding error of about 0.05 rad, and a
    // step of 1e100 cm cannot keep a 1 cm marker in doubles. The marker is rebuilt on the
    // probe so that it shows again where the probe is and how it points.
    Bench bench = ResetBench();
    bench.Type(ReadoutRow::RotationStep, u"33");
    bench.RotatePlus();
    bench.Type(ReadoutRow::RotationStep, u"1e20");
    bench.RotatePlus();
    bench.Type(ReadoutRow::RotationStep, u"5");
    bench.RotatePlus();
    bench.Type(ReadoutRow::Step, u"1e100");
    bench.StepX();
    bench.Type(ReadoutRow::Step, u"-1e100");
    bench.StepX();

    const Extended angle = bench.State().ProbeAngle;
    EXPECT_EQ(bench.State().ProbeX, 0);
    const auto& marker = bench.Scene().Points(Layer::ProbeMarker);
    ASSERT_EQ(marker.size(), 3u);
    EXPECT_NEAR(marker[1].X, static_cast<double>(Cos(angle)), 1e-12);
    EXPECT_NEAR(marker[1].Y, static_cast<double>(Sin(angle)), 1e-12);
    const double span = std::hypot(marker[0].X - marker[2].X, marker[0].Y - marker[2].Y);
    EXPECT_NEAR(span, 1, 1e-12);
}

}  // namespace
}  // namespace velmora
