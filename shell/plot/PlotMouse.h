#pragma once

#include <QObject>
#include <QPoint>
#include <optional>

#include "PlotScene.h"

class QMouseEvent;
class QRubberBand;
class QWheelEvent;

namespace velmora {

class PlotChart;

/// The mouse on the plot: it changes only the displayed ranges, never the scene.
/// - A left drag from inside the data area shows a rubber band; released more than
///   `kDragThreshold` pixels away both ways, it zooms to the band when it ended to the right
///   of its start, and restores the ranges saved before the first zoom, pan or wheel since
///   the last restore when it ended to the left. Smaller drags do nothing.
/// - A right drag from inside the data area pans both axes with the mouse.
/// - Each wheel notch moves the vertical range by 3 % of its span, turned towards the user
///   to lower values; the horizontal range stays.
///
/// Installed as an event filter on the plot's drawing widget.
class PlotMouse : public QObject {
  public:
    static constexpr int kDragThreshold = 16;
    static constexpr double kWheelShare = 0.03;

    explicit PlotMouse(PlotChart& chart);
    ~PlotMouse() override;

    /// Drops the saved ranges: the scene has been reset to its fixed ranges.
    void Forget();

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    struct Ranges {
        AxisRange X;
        AxisRange Y;
    };
    enum class Drag { None, Zoom, Pan };

    bool Press(const QMouseEvent& event);
    bool Move(const QMouseEvent& event);
    bool Release(const QMouseEvent& event);
    bool Wheel(const QWheelEvent& event);
    /// The button that started the drag in progress.
    Qt::MouseButton DragButton() const;
    void Cancel();
    void ZoomTo(QPoint start, QPoint end);
    void SaveForRestore();
    void Restore();
    Ranges Current() const;

    PlotChart& chart_;
    QRubberBand* band_ = nullptr;
    Drag drag_ = Drag::None;
    QPoint dragStart_;
    Ranges panStart_{};
    bool panMoved_ = false;
    int wheelRemainder_ = 0;
    std::optional<Ranges> saved_;
};

}  // namespace velmora
