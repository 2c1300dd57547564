#include "PlotMouse.h"

#include <QMouseEvent>
#include <QRubberBand>
#include <QWheelEvent>
#include <algorithm>
#include <cstdlib>

#include "PlotChart.h"

namespace velmora {
namespace {

/// One notch of a standard mouse wheel, in the eighths of a degree Qt reports.
constexpr int kNotch = 120;

}  // namespace

PlotMouse::PlotMouse(PlotChart& chart) : chart_(chart) {}

PlotMouse::~PlotMouse() = default;

void PlotMouse::Forget() {
    saved_.reset();
}

bool PlotMouse::eventFilter(QObject* watched, QEvent* event) {
    if (watched != chart_.Canvas()) {
        return false;
    }
    switch (event->type()) {
        case QEvent::MouseButtonPress:
            return Press(static_cast<QMouseEvent&>(*event));
        case QEvent::MouseMove:
            return Move(static_cast<QMouseEvent&>(*event));
        case QEvent::MouseButtonRelease:
            return Release(static_cast<QMouseEvent&>(*event));
        case QEvent::Wheel:
            return Wheel(static_cast<QWheelEvent&>(*event));
        default:
            return false;
    }
}

bool PlotMouse::Press(const QMouseEvent& event) {
    const QPoint at = event.position().toPoint();
    if (drag_ != Drag::None) {
        if (event.buttons().testFlag(DragButton())) {
            return true;  // the other button during a drag does nothing
        }
        Cancel();  // a drag that lost its release
    }
    if (!chart_.DataArea().contains(at)) {
        return false;
    }
    if (event.button() == Qt::LeftButton) {
        drag_ = Drag::Zoom;
        dragStart_ = at;
        if (band_ == nullptr) {
            band_ = new QRubberBand(QRubberBand::Rectangle, chart_.Canvas());
        }
        band_->setGeometry(QRect(at, QSize()));
        band_->show();
        return true;
    }
    if (event.button() == Qt::RightButton) {
        drag_ = Drag::Pan;
        dragStart_ = at;
        panStart_ = Current();
        panMoved_ = false;
        return true;
    }
    return false;
}

bool PlotMouse::Move(const QMouseEvent& event) {
    const QPoint at = event.position().toPoint();
    // A drag whose button is no longer held lost its release to something else (a message
    // box taking the mouse, say): it ends without effect.
    if (drag_ != Drag::None && !event.buttons().testFlag(DragButton())) {
        Cancel();
        return false;
    }
    switch (drag_) {
        case Drag::Zoom: {
            const QRect area = chart_.DataArea();
            const QPoint end(std::clamp(at.x(), area.left(), area.right()),
                             std::clamp(at.y(), area.top(), area.bottom()));
            band_->setGeometry(QRect(dragStart_, end).normalized());
            return true;
        }
        case Drag::Pan: {
            if (at == dragStart_ && !panMoved_) {
                return true;
            }
            if (!panMoved_) {
                SaveForRestore();
                panMoved_ = true;
            }
            const QRect area = chart_.DataArea();
            const double xSpan = panStart_.X.Max - panStart_.X.Min;
            const double ySpan = panStart_.Y.Max - panStart_.Y.Min;
            // The plane follows the mouse: a move to the right shows what lay to the left.
            const double dx = (at.x() - dragStart_.x()) * xSpan / std::max(area.width(), 1);
            const double dy = (at.y() - dragStart_.y()) * ySpan / std::max(area.height(), 1);
            chart_.SetRanges({panStart_.X.Min - dx, panStart_.X.Max - dx},
                             {panStart_.Y.Min + dy, panStart_.Y.Max + dy});
            return true;
        }
        case Drag::None:
            return false;
    }
    return false;
}

bool PlotMouse::Release(const QMouseEvent& event) {
    const QPoint at = event.position().toPoint();
    if (drag_ == Drag::Zoom && event.button() == Qt::LeftButton) {
        drag_ = Drag::None;
        band_->hide();
        const int dx = at.x() - dragStart_.x();
        const int dy = at.y() - dragStart_.y();
        if (std::abs(dx) > kDragThreshold && std::abs(dy) > kDragThreshold) {
            if (dx > 0) {
                ZoomTo(dragStart_, at);
            } else {
                Restore();
            }
        }
        return true;
    }
    if (drag_ == Drag::Pan && event.button() == Qt::RightButton) {
        drag_ = Drag::None;
        return true;
    }
    return drag_ != Drag::None;
}

bool PlotMouse::Wheel(const QWheelEvent& event) {
    int delta = event.angleDelta().y();
    // With "natural" scrolling the reported direction is the reverse of the wheel's turn.
    if (event.inverted()) {
        delta = -delta;
    }
    wheelRemainder_ += delta;
    const int notches = wheelRemainder_ / kNotch;
    wheelRemainder_ -= notches * kNotch;
    if (notches != 0) {
        SaveForRestore();
        const AxisRange y = chart_.YRange();
        // A positive delta is a turn away from the user: towards higher values.
        const double shift = (y.Max - y.Min) * kWheelShare * notches;
        chart_.SetRanges(chart_.XRange(), {y.Min + shift, y.Max + shift});
    }
    return true;
}

Qt::MouseButton PlotMouse::DragButton() const {
    return drag_ == Drag::Zoom ? Qt::LeftButton : Qt::RightButton;
}

void PlotMouse::Cancel() {
    drag_ = Drag::None;
    if (band_ != nullptr) {
        band_->hide();
    }
}

void PlotMouse::ZoomTo(QPoint start, QPoint end) {
    const QRect area = chart_.DataArea();
    const auto clampX = [&](int x) { return std::clamp(x, area.left(), area.right()); };
    const auto clampY = [&](int y) { return std::clamp(y, area.top(), area.bottom()); };
    const int left = clampX(std::min(start.x(), end.x()));
    const int right = clampX(std::max(start.x(), end.x()));
    const int top = clampY(std::min(start.y(), end.y()));
    const int bottom = clampY(std::max(start.y(), end.y()));
    if (left == right || top == bottom) {
        return;
    }
    SaveForRestore();
    chart_.SetRanges({chart_.PixelToX(left), chart_.PixelToX(right)},
                     {chart_.PixelToY(bottom), chart_.PixelToY(top)});
}

void PlotMouse::SaveForRestore() {
    if (!saved_) {
        saved_ = Current();
    }
}

void PlotMouse::Restore() {
    if (saved_) {
        chart_.SetRanges(saved_->X, saved_->Y);
        saved_.reset();
    }
}

PlotMouse::Ranges PlotMouse::Current() const {
    return {chart_.XRange(), chart_.YRange()};
}

}  // namespace velmora
