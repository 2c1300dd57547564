#pragma once

#include <QMargins>
#include <QRect>
#include <QScrollArea>
#include <QSize>

namespace velmora {

/// The size of a window's client area on a screen, in desktop pixels: `designed` is the
/// client area it was designed with, `frame` the window manager's frame around it,
/// `workArea` the screen less its panels and `scrollBar` the breadth of a scroll bar. Where
/// the framed window fits the work area, the designed size; where it does not, as large as
/// the work area allows in that direction, and in the other as large as the designed area
/// and the scroll bar that it then needs.
QSize FittedClientSize(QSize designed, QMargins frame, const QRect& workArea, int scrollBar);

/// Where the main window's client area goes when it first opens: FittedClientSize, its frame
/// centred on `desktop`, the area all monitors span (integer halves rounded towards zero,
/// never left of or above the desktop), then moved into the work area only as far as it
/// would lie beyond it.
QRect OpeningClientArea(QSize designed, QMargins frame, const QRect& desktop, const QRect& workArea,
                        int scrollBar);

/// A window's designed client area, which keeps its size and place whatever the window's
/// size: in a larger window (a maximised one) more of the window's ground shows to the right
/// and below; in a smaller one (a screen too small for it) it scrolls, and the keyboard focus
/// brings the control it moves to into view. Nothing is ever scaled down.
///
/// It fills the window it is made in; Client() is the widget the window definition is set up
/// on. Adopt() then gives the window the definition's caption and focus policy, and the
/// designed size as its own.
class DesignedArea : public QScrollArea {
    Q_OBJECT

  public:
    explicit DesignedArea(QWidget& window);

    QWidget* Client() const { return widget(); }
    void Adopt();

    /// The window's client area on a screen, for the window's `frame`: its size
    /// (FittedClientSize), and where the main window opens (OpeningClientArea).
    QSize FittedSize(QMargins frame, const QRect& workArea) const;
    QRect OpeningArea(QMargins frame, const QRect& desktop, const QRect& workArea) const;

  private:
    /// The breadth of the area's scroll bars in pixels.
    int ScrollBarBreadth() const;
    /// Room to give beyond the designed area and the frame at the right and at the bottom.
    /// At a fractional scale the window's size and frame reach the screen rounded to whole
    /// device pixels, up to half a pixel short, and the designed area would scroll by that
    /// half pixel or the frame reach half a pixel beyond the work area: one pixel more each
    /// way keeps both whole. Nothing at a whole-number scale.
    QMargins RoundingRoom() const;
};

}  // namespace velmora
