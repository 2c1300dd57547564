#include "DesignedArea.h"

#include <QScrollBar>
#include <QVBoxLayout>
#include <algorithm>
#include <cmath>

namespace velmora {

QSize FittedClientSize(QSize designed, QMargins frame, const QRect& workArea, int scrollBar) {
    const QSize outer = designed.grownBy(frame);
    // A scroll bar along one side takes room from the other direction.
    bool tall = outer.height() > workArea.height();
    const bool wide = outer.width() + (tall ? scrollBar : 0) > workArea.width();
    tall = tall || (wide && outer.height() + scrollBar > workArea.height());
    return {wide ? workArea.width() - frame.left() - frame.right()
                 : designed.width() + (tall ? scrollBar : 0),
            tall ? workArea.height() - frame.top() - frame.bottom()
                 : designed.height() + (wide ? scrollBar : 0)};
}

QRect OpeningClientArea(QSize designed, QMargins frame, const QRect& desktop, const QRect& workArea,
                        int scrollBar) {
    const QSize client = FittedClientSize(designed, frame, workArea, scrollBar);
    const QSize framed = client.grownBy(frame);
    int left = std::max(desktop.left() + desktop.width() / 2 - framed.width() / 2, desktop.left());
    int top = std::max(desktop.top() + desktop.height() / 2 - framed.height() / 2, desktop.top());
    left = std::clamp(left, workArea.left(), workArea.left() + workArea.width() - framed.width());
    top = std::clamp(top, workArea.top(), workArea.top() + workArea.height() - framed.height());
    return {QPoint(left + frame.left(), top + frame.top()), client};
}

DesignedArea::DesignedArea(QWidget& window) : QScrollArea(&window) {
    setFrameShape(QFrame::NoFrame);
    setAlignment(Qt::AlignLeft | Qt::AlignTop);
    // Only the controls of the designed area take the keyboard focus.
    setFocusPolicy(Qt::NoFocus);
    horizontalScrollBar()->setFocusPolicy(Qt::NoFocus);
    verticalScrollBar()->setFocusPolicy(Qt::NoFocus);
    // The window's ground shows around the designed area.
    viewport()->setBackgroundRole(QPalette::Window);
    viewport()->setAutoFillBackground(true);
    setWidget(new QWidget);
    auto* fill = new QVBoxLayout(&window);
    fill->setContentsMargins(0, 0, 0, 0);
    fill->addWidget(this);
}

int DesignedArea::ScrollBarBreadth() const {
    return verticalScrollBar()->sizeHint().width();
}

QSize DesignedArea::FittedSize(QMargins frame, const QRect& workArea) const {
    const QMargins room = RoundingRoom();
    return FittedClientSize(Client()->size().grownBy(room), frame + room, workArea,
                            ScrollBarBreadth());
}

QRect DesignedArea::OpeningArea(QMargins frame, const QRect& desktop, const QRect& workArea) const {
    const QMargins room = RoundingRoom();
    return OpeningClientArea(Client()->size().grownBy(room), frame + room, desktop, workArea,
                             ScrollBarBreadth());
}

QMargins DesignedArea::RoundingRoom() const {
    const qreal ratio = devicePixelRatioF();
    return ratio == std::floor(ratio) ? QMargins() : QMargins(0, 0, 1, 1);
}

void DesignedArea::Adopt() {
    QWidget& window = *parentWidget();
    window.setWindowTitle(Client()->windowTitle());
    window.setFocusPolicy(Client()->focusPolicy());
    Client()->setFocusPolicy(Qt::NoFocus);
    // The designed size holds however the window's frame is sized.
    Client()->setFixedSize(Client()->size());
    window.resize(Client()->size().grownBy(RoundingRoom()));
}

}  // namespace velmora
