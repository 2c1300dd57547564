#pragma once

#include <cstdint>

#include "Application.h"

namespace velmora::figures {

/// The program's application object, which also notes when a window has finished a frame:
/// after every update request of a top-level window (the paint of everything changed in it
/// and the flush of the frame to the display) it waits until the display server has shown
/// the frame and takes the time.
class FrameClock : public Application {
  public:
    using Application::Application;

    bool notify(QObject* receiver, QEvent* event) override;

    /// Frames finished so far.
    int Frames() const { return frames_; }
    /// CLOCK_MONOTONIC nanoseconds at which the last frame was on the screen.
    std::int64_t LastFrameAt() const { return lastFrameAt_; }

  private:
    int frames_ = 0;
    std::int64_t lastFrameAt_ = 0;
};

}  // namespace velmora::figures
