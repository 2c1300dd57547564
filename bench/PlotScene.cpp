#include "PlotScene.h"

#include <utility>

#include "ArithmeticCheck.h"
#include "FieldModel.h"

namespace velmora {

namespace {

/// The reset marker's turn: minus half the bench's ten-decimal π (−1.57079632675 rad).
/// Because it is not full-precision π/2, the turned points keep residues of about 4.5e-11 cm.
constexpr Extended kResetTurn = -kTenDecimalPi / 2;

}  // namespace

std::string_view LayerName(Layer layer) {
    switch (layer) {
        case Layer::ProbeMarker:
            return "ProbeMarker";
        case Layer::WireSections:
            return "WireSections";
        case Layer::Trace:
            return "Trace";
        case Layer::AxisLineX:
            return "AxisLineX";
        case Layer::AxisLineY:
            return "AxisLineY";
    }
    return {};
}

std::vector<PlotPoint> Translated(const std::vector<PlotPoint>& points, Extended dx, Extended dy) {
    std::vector<PlotPoint> moved;
    moved.reserve(points.size());
    for (const PlotPoint& p : points) {
        moved.push_back({static_cast<double>(p.X + dx), static_cast<double>(p.Y + dy)});
    }
    return moved;
}

std::vector<PlotPoint> Rotated(const std::vector<PlotPoint>& points, Extended cx, Extended cy,
                               Extended delta) {
    const Extended c = Cos(delta);
    const Extended s = Sin(delta);
    std::vector<PlotPoint> turned;
    turned.reserve(points.size());
    for (const PlotPoint& p : points) {
        const Extended dx = p.X - cx;
        const Extended dy = p.Y - cy;
        turned.push_back(
            {static_cast<double>(c * dx - s * dy + cx), static_cast<double>(s * dx + c * dy + cy)});
    }
    return turned;
}

void PlotScene::SceneReset() {
    // The arrowhead is built pointing up, then turned about the origin to point along +x.
    std::vector<PlotPoint> upward = {{-0.5, -1}, {0, 1}, {0.5, -1}};
    std::vector<PlotPoint> marker = Checked([&] {
        const Extended c = Cos(kResetTurn);
        const Extended s = Sin(kResetTurn);
        std::vector<PlotPoint> turned;
        for (const PlotPoint& p : upward) {
            turned.push_back(
                {static_cast<double>(p.X * c - p.Y * s), static_cast<double>(p.X * s + p.Y * c)});
        }
        return turned;
    });

    layers_[static_cast<std::size_t>(Layer::ProbeMarker)] = std::move(marker);
    layers_[static_cast<std::size_t>(Layer::AxisLineX)] = {{kFixedXRange.Min, 0},
                                                           {kFixedXRange.Max, 0}};
    layers_[static_cast<std::size_t>(Layer::AxisLineY)] = {{0, kFixedYRange.Min},
                                                           {0, kFixedYRange.Max}};
    layers_[static_cast<std::size_t>(Layer::Trace)].clear();
    const double wire = static_cast<double>(kCoilRadius);
    layers_[static_cast<std::size_t>(Layer::WireSections)] = {{wire, 0}, {-wire, 0}};
    for (std::size_t layer = 0; layer < kLayerCount; ++layer)
        Touch(static_cast<Layer>(layer));
    ++resetCount_;
}

void PlotScene::SetMarker(std::vector<PlotPoint> points) {
    layers_[static_cast<std::size_t>(Layer::ProbeMarker)] = std::move(points);
    Touch(Layer::ProbeMarker);
}

void PlotScene::MakeRoomForDot() {
    std::vector<PlotPoint>& trace = layers_[static_cast<std::size_t>(Layer::Trace)];
    if (trace.size() == trace.capacity())
        trace.reserve(trace.empty() ? 16 : 2 * trace.size());
}

void PlotScene::TraceAdd(Extended x, Extended y) {
    const PlotPoint dot = Checked([&] {
        return PlotPoint{static_cast<double>(x), static_cast<double>(y)};
    });
    layers_[static_cast<std::size_t>(Layer::Trace)].push_back(dot);
    Touch(Layer::Trace);
}

void PlotScene::TraceClear() {
    layers_[static_cast<std::size_t>(Layer::Trace)].clear();
    Touch(Layer::Trace);
}

}  // namespace velmora
