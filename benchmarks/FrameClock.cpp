#include "FrameClock.h"

#include <QWidget>

#include "Clock.h"
#include "DisplaySync.h"

namespace velmora::figures {

bool FrameClock::notify(QObject* receiver, QEvent* event) {
    const bool frame = event->type() == QEvent::UpdateRequest && receiver->isWidgetType() &&
                       static_cast<QWidget*>(receiver)->isWindow();
    const bool handled = Application::notify(receiver, event);
    if (frame) {
        WaitForDisplay();
        lastFrameAt_ = MonotonicNanos();
        ++frames_;
    }
    return handled;
}

}  // namespace velmora::figures
