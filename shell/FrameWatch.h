#pragma once

#include <QMargins>
#include <QObject>
#include <QTimer>
#include <functional>

class QWidget;

namespace velmora {

/// The window manager's frame around a window, as far as it is known: nothing until the
/// window system has told it, and nothing while it is still being made (when it can come
/// out smaller than the client area).
QMargins KnownFrame(const QWidget& window);

/// Watches a window's frame for a short while after it is shown and calls `changed` each time
/// the frame it knows changes. An X11 window manager adds its frame only once the window is
/// mapped, so a window placed by its frame when it is shown was placed by its client area
/// alone; and while the frame is made it can be reported wrong for a moment. A window that
/// places itself again on each call ends up placed by its real frame.
class FrameWatch : public QObject {
  public:
    FrameWatch(QWidget& window, std::function<void()> changed);

    /// Starts watching, from the frame known now.
    void Start();

  private:
    void Check();

    QWidget& window_;
    std::function<void()> changed_;
    QTimer timer_;
    int checks_ = 0;
    QMargins seen_;
};

}  // namespace velmora
