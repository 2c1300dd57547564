#pragma once

#include <QByteArray>
#include <QWidget>
#include <array>
#include <memory>
#include <vector>

#include "PlotScene.h"

class QCustomPlot;
class QCPCurve;

namespace velmora {

class PlotMouse;

/// The square plot of the measuring plane (`Chart1`): a QCustomPlot showing the five layers
/// of a PlotScene with their looks, on a white ground that merges with the window. Buttons
/// and letters placed on it by the window definition lie over the plot's own drawing.
///
/// The plot follows the scene through its revision counters: Refresh() copies only the layers
/// that changed, puts the fixed ranges back after a scene reset, and asks for one redraw that
/// runs once no input event is waiting.
class PlotChart : public QWidget {
    Q_OBJECT

  public:
    explicit PlotChart(QWidget* parent = nullptr);
    ~PlotChart() override;

    /// Shows `scene` from now on; it must outlive the plot.
    void BindScene(const PlotScene& scene);
    /// Brings the plot up to date with the bound scene; returns whether anything changed.
    bool Refresh();

    AxisRange XRange() const;
    AxisRange YRange() const;
    void SetRanges(AxisRange x, AxisRange y);
    /// The plane coordinate (cm) under a pixel column or row of the plot.
    double PixelToX(double pixel) const;
    double PixelToY(double pixel) const;
    /// Asks for one redraw once no input event waits; several requests make one redraw.
    void RequestRedraw();

    /// The data area (inside the axes) in the plot's own coordinates.
    QRect DataArea() const;
    /// The plot's own drawing, without the widgets lying on it, as an SVG picture of the
    /// plot's size in pixels at 96 dpi.
    QByteArray RenderSvg();

    /// The points the plot holds for a layer, in drawing order.
    std::vector<PlotPoint> ShownPoints(Layer layer) const;

    /// The drawing widget inside the plot: it receives the mouse.
    QWidget* Canvas() const;

  protected:
    void resizeEvent(QResizeEvent* event) override;
    /// Leaves out of the drawing the parts of the plot that buttons lying on it cover.
    void showEvent(QShowEvent* event) override;
    /// The axis labels are drawn in the plot's own font.
    void changeEvent(QEvent* event) override;

  private:
    void ApplyMargins();
    void MaskCoveredParts();
    void ApplyFont();
    void CopyLayer(Layer layer);

    QCustomPlot* plot_;
    std::array<QCPCurve*, kLayerCount> curves_{};
    std::unique_ptr<PlotMouse> mouse_;
    const PlotScene* scene_ = nullptr;
    std::array<unsigned long long, kLayerCount> shownRevisions_{};
    unsigned long long shownResetCount_ = 0;
    bool everShown_ = false;
};

}  // namespace velmora
