#pragma once

#include <qcustomplot.h>

namespace velmora {

/// A QCustomPlot that draws into one opaque buffer, cleared to the plot's ground colour
/// instead of to transparency, and paints that buffer as it is. A redraw then neither fills
/// the plot's area with the ground before drawing the buffer, nor blends a transparent buffer
/// onto it: the buffer is copied. The plot is opaque, so the window does not paint its own
/// background beneath it either.
///
/// Every layer must share the one buffer (all layers logical, as the main layer is): a
/// second buffer would be opaque too and hide what lies beneath it.
class GroundedPlot : public QCustomPlot {
  public:
    explicit GroundedPlot(QWidget* parent = nullptr);

    /// The ground colour, taken from the background brush set on the plot, which still
    /// fills the ground of pictures drawn with toPainter().
    QColor Ground() const { return mBackgroundBrush.color(); }

  protected:
    void paintEvent(QPaintEvent* event) override;
};

}  // namespace velmora
