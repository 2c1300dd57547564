#pragma once

#include <QPoint>
#include <QRect>
#include <QSize>
#include <QWidget>

namespace velmora {

class DesignedArea;

/// Where a side window's frame goes when it is first shown: centred over the main window's
/// frame, the halves truncated towards zero; then its left edge is raised to the work area's
/// left edge and its top edge to the work area's top edge where they would lie beyond them.
/// All rectangles are outer frames in desktop coordinates.
QPoint FirstShowPosition(const QRect& mainFrame, const QSize& frameSize, const QRect& workArea);

/// A modeless window the main window opens on request: fixed frame, above every ordinary
/// window (the main window included), the window colour as background, the program's icon.
/// Closing it only hides it; it keeps its content and its position for the next show.
class SideWindow : public QWidget {
    Q_OBJECT

  public:
    /// Makes the window visible (placing it over the main window the first time only),
    /// brings it to the front and activates it. A visible window is only brought to the
    /// front and activated.
    void ShowAndRaise();

  protected:
    /// `mainWindow` owns the window; it goes down and comes back with the main window when
    /// the program is minimised and restored.
    explicit SideWindow(QWidget* mainWindow);

    /// The widget the window definition is set up on, inside the window's designed area;
    /// once it is, the window takes its caption and size from it (SetUpDone).
    QWidget* Client() const;
    void SetUpDone();

    /// Follows the main window's minimising and restoring.
    bool eventFilter(QObject* watched, QEvent* event) override;
    /// Each time the window is shown, the desktop is told that it belongs to the main window.
    void setVisible(bool visible) override;

  private:
    /// Where the client area goes on the first show, and how large it is: FirstShowPosition
    /// for the designed area fitted to the work area (see FittedClientSize).
    QRect FirstClientArea() const;

    DesignedArea* area_;
    bool placed_ = false;
    bool hiddenWithMainWindow_ = false;
};

}  // namespace velmora
