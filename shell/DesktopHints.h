#pragma once

class QWidget;

namespace velmora {

// Telling the desktop that a window belongs to the program's main window: a task bar shows no
// entry of its own for it (skip-taskbar), so that the program has one entry, and the window
// manager keeps it with its owner (transient-for). The window system forgets both each time
// the window is hidden, and Qt sets them anew as it maps a window, so they are given around
// each showing. On X11 only; elsewhere the desktop's own rules apply.

/// Before `window` is mapped: no task-bar entry for it (Qt adds its own states to this one).
void LeaveOffTaskbar(QWidget& window);

/// After `window` is mapped: it belongs to `owner`.
void KeepWithOwner(QWidget& window, const QWidget& owner);

}  // namespace velmora
