#include "SideWindow.h"

#include <QPalette>
#include <QScreen>
#include <algorithm>

#include "Pictures.h"

namespace velmora {

QPoint FirstShowPosition(const QRect& mainFrame, const QSize& frameSize, const QRect& workArea) {
    // Integer division truncates towards zero, also for a window wider than the main window.
    const int left = mainFrame.left() + (mainFrame.width() - frameSize.width()) / 2;
    const int top = mainFrame.top() + (mainFrame.height() - frameSize.height()) / 2;
    return {std::max(left, workArea.left()), std::max(top, workArea.top())};
}

QFont WindowFont(int pixelHeight) {
    QFont font(QStringLiteral("DejaVu Sans"));
    font.setPixelSize(pixelHeight);
    return font;
}

SideWindow::SideWindow(QWidget* mainWindow)
    : QWidget(mainWindow, Qt::Window | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                              Qt::WindowMinMaxButtonsHint | Qt::WindowCloseButtonHint |
                              Qt::WindowStaysOnTopHint) {
    LoadPictures();
    QPalette colours = palette();
    colours.setColor(QPalette::Window, colours.color(QPalette::Base));
    setPalette(colours);
    setAutoFillBackground(true);
    setFont(WindowFont(11));
}

void SideWindow::ShowAndRaise() {
    if (!placed_) {
        move(FirstPosition());
        placed_ = true;
    }
    setWindowState(windowState() & ~Qt::WindowMinimized);
    show();
    raise();
    activateWindow();
}

QPoint SideWindow::FirstPosition() const {
    const QWidget* main = parentWidget();
    if (main == nullptr)
        return pos();
    // Before its first show the window has no frame yet; the main window's frame is what the
    // window manager will give this one as well.
    const QSize frameExtra = main->frameGeometry().size() - main->geometry().size();
    return FirstShowPosition(main->frameGeometry(), size() + frameExtra,
                             main->screen()->availableGeometry());
}

}  // namespace velmora
