#pragma once

#include <qcustomplot.h>

namespace velmora {

class GroundBuffer;

/// A QCustomPlot that draws into one opaque buffer, cleared to the plot's ground colour
/// instead of to transparency, and paints that buffer as it is: a redraw neither fills the
/// plot's area with the ground before drawing the buffer, nor blends a transparent buffer
/// onto it, and the window does not paint its own background beneath the plot.
///
/// A redraw repaints only the part of the plot whose pixels changed: the buffer keeps the
/// drawing before the last one, and the two are compared after every redraw. A step of the
/// probe repaints a few dozen pixels around the probe, not the whole plot.
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

  private:
    /// Holds back the repaint of the whole plot that every redraw asks for.
    void HoldRepaints();
    /// Repaints what the redraw changed.
    void RepaintChanges();

    GroundBuffer* buffer_;
};

}  // namespace velmora
