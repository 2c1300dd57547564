#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

#include "ArithmeticCheck.h"
#include "BenchTestSupport.h"
#include "ExtendedTestSupport.h"
#include "PlotScene.h"

namespace velmora {
namespace {

void ExpectNear(const std::vector<PlotPoint>& actual, const std::vector<PlotPoint>& expected,
                double tolerance, const std::string& what) {
    ASSERT_EQ(actual.size(), expected.size()) << what;
    for (std::size_t i = 0; i < actual.size(); ++i) {
        EXPECT_NEAR(actual[i].X, expected[i].X, tolerance) << what << ", point " << i;
        EXPECT_NEAR(actual[i].Y, expected[i].Y, tolerance) << what << ", point " << i;
    }
}

TEST(PlotScene, ResetDrawsMarkerAlongPlusXAxesAndWires) {
    PlotScene scene;
    scene.SceneReset();
    // Tail, tip, tail: the arrowhead points along +x from the origin.
    ExpectNear(scene.Points(Layer::ProbeMarker), {{-1, 0.5}, {1, 0}, {-1, -0.5}}, 1e-10, "marker");
    const double wire = static_cast<double>(kCoilRadius);
    EXPECT_EQ(scene.Points(Layer::WireSections), (std::vector<PlotPoint>{{wire, 0}, {-wire, 0}}));
    EXPECT_TRUE(scene.Points(Layer::Trace).empty());
    EXPECT_EQ(scene.Points(Layer::AxisLineX), (std::vector<PlotPoint>{{-21, 0}, {29, 0}}));
    EXPECT_EQ(scene.Points(Layer::AxisLineY), (std::vector<PlotPoint>{{0, -25}, {0, 25}}));
    EXPECT_EQ(PlotScene::kFixedXRange, (AxisRange{-21, 29}));
    EXPECT_EQ(PlotScene::kFixedYRange, (AxisRange{-25, 25}));
}

TEST(PlotScene, ResetMarkerCarriesTheResidueOfTheTenDecimalHalfTurn) {
    // The arrowhead is turned by −1.57079632675 rad, not by −π/2: the tip (0, 1) lands at
    // y = cos(1.57079632675) ≈ 4.49e-11 instead of 0, the tails' x 2.2e-11 beyond −1.
    PlotScene scene;
    scene.SceneReset();
    const auto& marker = scene.Points(Layer::ProbeMarker);
    EXPECT_GT(marker[1].Y, 4.48e-11);
    EXPECT_LT(marker[1].Y, 4.50e-11);
    EXPECT_NE(marker[0].X, -1.0);
}

TEST(PlotScene, RepeatedResetsLeaveOneOfEachAndAnEmptyTrace) {
    PlotScene scene;
    scene.SceneReset();
    scene.TraceAdd(1, 2);
    scene.SetMarker(Translated(scene.Points(Layer::ProbeMarker), 5, 5));
    for (int i = 0; i < 5; ++i)
        scene.SceneReset();
    EXPECT_EQ(scene.Points(Layer::ProbeMarker).size(), 3u);
    EXPECT_EQ(scene.Points(Layer::WireSections).size(), 2u);
    EXPECT_EQ(scene.Points(Layer::AxisLineX).size(), 2u);
    EXPECT_EQ(scene.Points(Layer::AxisLineY).size(), 2u);
    EXPECT_TRUE(scene.Points(Layer::Trace).empty());
    EXPECT_EQ(scene.ResetCount(), 6u);
    ExpectNear(scene.Points(Layer::ProbeMarker), {{-1, 0.5}, {1, 0}, {-1, -0.5}}, 1e-10, "marker");
}

TEST(PlotScene, TranslateAndRotateMoveEveryMarkerPoint) {
    using Points = std::vector<PlotPoint>;
    struct Case {
        const char* name;
        Points (*apply)(const Points&);
        Points marker;
    };
    static const Extended quarter = kTenDecimalPi / 2;
    const Case cases[] = {
        {"translate",
         [](const Points& p) { return Translated(p, 1, 2); },
         {{0, 2.5}, {2, 2}, {0, 1.5}}},
        {"quarter turn about the origin",
         [](const Points& p) { return Rotated(p, 0, 0, quarter); },
         {{-0.5, -1}, {0, 1}, {0.5, -1}}},
        {"quarter turn back",
         [](const Points& p) { return Rotated(p, 0, 0, -quarter); },
         {{0.5, 1}, {0, -1}, {-0.5, 1}}},
        {"half turn about the tip",
         [](const Points& p) { return Rotated(p, 1, 0, 2 * quarter); },
         {{3, -0.5}, {1, 0}, {3, 0.5}}},
    };
    PlotScene scene;
    scene.SceneReset();
    for (const auto& c : cases)
        ExpectNear(c.apply(scene.Points(Layer::ProbeMarker)), c.marker, 1e-9, c.name);
}

TEST(PlotScene, TraceGrowsInOrderAndEmpties) {
    PlotScene scene;
    scene.SceneReset();
    scene.TraceAdd(1.5_ext, -2);
    scene.TraceAdd(40, 0);
    EXPECT_EQ(scene.Points(Layer::Trace), (std::vector<PlotPoint>{{1.5, -2}, {40, 0}}));
    scene.TraceClear();
    EXPECT_TRUE(scene.Points(Layer::Trace).empty());
}

TEST(PlotScene, PointBeyondTheDoubleRangeFailsAndChangesNothing) {
    PlotScene scene;
    scene.SceneReset();
    const auto before = scene.Points(Layer::ProbeMarker);
    const auto markerRevision = scene.Revision(Layer::ProbeMarker);
    const auto traceRevision = scene.Revision(Layer::Trace);
    const Extended huge = Bits80(0x452F, 0xDA763FC8CB9FF9E6);  // 1e400
    EXPECT_EQ(testing::MessageOf([&] { Checked([&] { return Translated(before, huge, 0); }); }),
              "Floating point overflow");
    EXPECT_EQ(testing::MessageOf([&] { scene.TraceAdd(0, -huge); }), "Floating point overflow");
    EXPECT_EQ(scene.Points(Layer::ProbeMarker), before);
    EXPECT_TRUE(scene.Points(Layer::Trace).empty());
    EXPECT_EQ(scene.Revision(Layer::ProbeMarker), markerRevision);
    EXPECT_EQ(scene.Revision(Layer::Trace), traceRevision);
}

TEST(PlotScene, RevisionsGrowOnlyForTheLayersThatChange) {
    PlotScene scene;
    scene.SceneReset();
    auto revisions = [&] {
        std::vector<unsigned long long> r;
        for (std::size_t i = 0; i < kLayerCount; ++i)
            r.push_back(scene.Revision(Layer(i)));
        return r;
    };
    const auto start = revisions();
    scene.SetMarker(Rotated(scene.Points(Layer::ProbeMarker), 0, 0, 1));
    scene.SetMarker(Translated(scene.Points(Layer::ProbeMarker), 1, 1));
    scene.TraceAdd(1, 1);
    const auto after = revisions();
    EXPECT_EQ(after[0], start[0] + 2);
    EXPECT_EQ(after[1], start[1]);
    EXPECT_EQ(after[2], start[2] + 1);
    EXPECT_EQ(after[3], start[3]);
    EXPECT_EQ(after[4], start[4]);
    scene.SceneReset();
    for (std::size_t i = 0; i < kLayerCount; ++i)
        EXPECT_GT(revisions()[i], after[i]) << i;
}

TEST(PlotScene, LayersAreNamedInDrawingOrder) {
    const char* names[] = {"ProbeMarker", "WireSections", "Trace", "AxisLineX", "AxisLineY"};
    for (std::size_t i = 0; i < kLayerCount; ++i)
        EXPECT_EQ(LayerName(Layer(i)), names[i]);
}

}  // namespace
}  // namespace velmora
