#include "FrameWatch.h"

#include <QWidget>
#include <QWindow>

namespace velmora {
namespace {

/// The frame is looked at every 20 ms for two seconds.
constexpr int kCheckMilliseconds = 20;
constexpr int kMaxChecks = 100;

}  // namespace

QMargins KnownFrame(const QWidget& window) {
    // Asked of the window itself: the widget's own copy of the frame is updated only when
    // the window moves, which it need not do when the window manager frames it.
    const QWindow* handle = window.windowHandle();
    const QMargins frame = handle == nullptr ? QMargins() : handle->frameMargins();
    if (frame.left() < 0 || frame.top() < 0 || frame.right() < 0 || frame.bottom() < 0) {
        return {};
    }
    return frame;
}

FrameWatch::FrameWatch(QWidget& window, std::function<void()> changed)
    : QObject(&window), window_(window), changed_(std::move(changed)) {
    timer_.setInterval(kCheckMilliseconds);
    connect(&timer_, &QTimer::timeout, this, &FrameWatch::Check);
}

void FrameWatch::Start() {
    checks_ = 0;
    seen_ = KnownFrame(window_);
    timer_.start();
}

void FrameWatch::Check() {
    const QMargins frame = KnownFrame(window_);
    if (frame != seen_) {
        seen_ = frame;
        changed_();
    }
    if (++checks_ >= kMaxChecks) {
        timer_.stop();
    }
}

}  // namespace velmora
