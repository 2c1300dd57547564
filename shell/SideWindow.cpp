#include "SideWindow.h"

#include <QEvent>
#include <QPalette>
#include <QScreen>
#include <algorithm>

#include "BenchFont.h"
#include "DesignedArea.h"
#include "DesktopHints.h"
#include "Pictures.h"

namespace velmora {
QPoint FirstShowPosition(const QRect& mainFrame, const QSize& frameSize, const QRect& workArea) {
    // Integer division truncates towards zero, also for a window wider than the main window.
    const int left = mainFrame.left() + (mainFrame.width() - frameSize.width()) / 2;
    const int top = mainFrame.top() + (mainFrame.height() - frameSize.height()) / 2;
    return {std::max(left, workArea.left()), std::max(top, workArea.top())};
}

SideWindow::SideWindow(QWidget* mainWindow)
    : QWidget(mainWindow, Qt::Window | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                              Qt::WindowMinMaxButtonsHint | Qt::WindowCloseButtonHint |
                              Qt::WindowStaysOnTopHint),
      area_(new DesignedArea(*this)) {
    LoadPictures();
    QPalette colours = palette();
    colours.setColor(QPalette::Window, colours.color(QPalette::Base));
    setPalette(colours);
    setFont(BenchFont(kBenchFontPixels));
    if (mainWindow != nullptr)
        mainWindow->installEventFilter(this);
}

QWidget* SideWindow::Client() const {
    return area_->Client();
}

void SideWindow::SetUpDone() {
    area_->Adopt();
}

bool SideWindow::eventFilter(QObject* watched, QEvent* event) {
    // A side window belongs to the main window: it disappears while the main window is
    // minimised and comes back, where it was and without taking the activation, when the main
    // window is restored. Window managers do not do this for windows of their own.
    if (watched == parentWidget() && event->type() == QEvent::WindowStateChange) {
        if (parentWidget()->isMinimized() && isVisible()) {
            hiddenWithMainWindow_ = true;
            hide();
        } else if (!parentWidget()->isMinimized() && hiddenWithMainWindow_) {
            hiddenWithMainWindow_ = false;
            // A window manager that keeps the window with its owner minimised it along with
            // the main window; it comes back as it was before.
            setWindowState(windowState() & ~Qt::WindowMinimized);
            setAttribute(Qt::WA_ShowWithoutActivating);
            show();
            setAttribute(Qt::WA_ShowWithoutActivating, false);
        }
    }
    return QWidget::eventFilter(watched, event);
}

void SideWindow::setVisible(bool visible) {
    const bool showing = visible && isHidden() && parentWidget() != nullptr;
    if (showing) {
        LeaveOffTaskbar(*this);
    }
    QWidget::setVisible(visible);
    if (showing) {
        KeepWithOwner(*this, *parentWidget());
    }
}

void SideWindow::ShowAndRaise() {
    if (!placed_) {
        setGeometry(FirstClientArea());
        placed_ = true;
    }
    setWindowState(windowState() & ~Qt::WindowMinimized);
    show();
    raise();
    activateWindow();
}

QRect SideWindow::FirstClientArea() const {
    const QWidget* main = parentWidget();
    if (main == nullptr)
        return geometry();
    // This window gets the same frame as the main window. The window system may not have
    // told the main window's frame yet (it is then taken as none): placing this window's
    // client area, not its frame, keeps the centring exact either way.
    const QRect outer = main->frameGeometry();
    const QRect inner = main->geometry();
    const QMargins frame(inner.left() - outer.left(), inner.top() - outer.top(),
                         outer.right() - inner.right(), outer.bottom() - inner.bottom());
    const QRect workArea = main->screen()->availableGeometry();
    const QSize client = area_->FittedSize(frame, workArea);
    const QPoint frameTopLeft = FirstShowPosition(outer, client.grownBy(frame), workArea);
    return {frameTopLeft + QPoint(frame.left(), frame.top()), client};
}

}  // namespace velmora
