#pragma once

#include <array>
#include <cstddef>
#include <string_view>
#include <vector>

#include "Extended.h"

namespace velmora {

/// A point of the measuring plane in centimetres.
struct PlotPoint {
    double X = 0;
    double Y = 0;
    friend bool operator==(const PlotPoint&, const PlotPoint&) = default;
};

/// The five layers in the order they are drawn, later over earlier.
enum class Layer : std::size_t { ProbeMarker, WireSections, Trace, AxisLineX, AxisLineY };
inline constexpr std::size_t kLayerCount = 5;

/// The layer's name: "ProbeMarker", "WireSections", "Trace", "AxisLineX", "AxisLineY".
std::string_view LayerName(Layer layer);

/// `points` moved by (dx, dy): each sum formed in extended precision, stored as a double.
/// An overflow of that store raises the floating-point overflow flag (the caller checks).
std::vector<PlotPoint> Translated(const std::vector<PlotPoint>& points, Extended dx, Extended dy);

/// `points` turned about (cx, cy) by `delta` radians, counter-clockwise for a positive delta:
/// with dx = X − cx and dy = Y − cy, X′ = cos δ·dx − sin δ·dy + cx and
/// Y′ = sin δ·dx + cos δ·dy + cy, formed in extended precision and stored as doubles.
std::vector<PlotPoint> Rotated(const std::vector<PlotPoint>& points, Extended cx, Extended cy,
                               Extended delta);

/// An axis range in centimetres.
struct AxisRange {
    double Min = 0;
    double Max = 0;
    friend bool operator==(const AxisRange&, const AxisRange&) = default;
};

/// What the plot shows: five ordered point lists and the fixed axis ranges
/// (x −21…29, y −25…25, both 50 cm on a square plot).
class PlotScene {
  public:
    static constexpr AxisRange kFixedXRange{-21, 29};
    static constexpr AxisRange kFixedYRange{-25, 25};

    const std::vector<PlotPoint>& Points(Layer layer) const {
        return layers_[static_cast<std::size_t>(layer)];
    }
    /// Grows by one with every change of the layer.
    unsigned long long Revision(Layer layer) const {
        return revisions_[static_cast<std::size_t>(layer)];
    }
    /// Grows by one with every SceneReset: the plot then shows the fixed ranges again.
    unsigned long long ResetCount() const { return resetCount_; }

    /// Fixed ranges, the marker at the origin pointing along +x (an upward arrowhead
    /// (−0.5, −1), (0, 1), (0.5, −1) turned by −1.57079632675 rad), the axis lines, an empty
    /// trace and the two wire sections (±kCoilRadius, 0).
    void SceneReset();
    /// Replaces the marker's points (a command commits its new marker this way).
    void SetMarker(std::vector<PlotPoint> points);
    /// Makes room for one more trace dot, so that the next TraceAdd needs no memory; throws
    /// std::bad_alloc, changing nothing that shows, when there is none.
    void MakeRoomForDot();
    /// Appends (x, y) to the trace. Throws EMathError, changing nothing, when the point does
    /// not fit a double.
    void TraceAdd(Extended x, Extended y);
    /// Empties the trace.
    void TraceClear();

  private:
    void Touch(Layer layer) { ++revisions_[static_cast<std::size_t>(layer)]; }

    std::array<std::vector<PlotPoint>, kLayerCount> layers_;
    std::array<unsigned long long, kLayerCount> revisions_{};
    unsigned long long resetCount_ = 0;
};

}  // namespace velmora
