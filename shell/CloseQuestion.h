#pragma once

#include <functional>

class QGuiApplication;
class QWidget;

namespace velmora {

/// The question put before the program closes (FormCloseQuery): the modal "Confirm" box with
/// the warning icon, "Do you want to close this program?" and the buttons "OK" and "Cancel"
/// in that order; "OK" is the default button and has the focus, "Cancel" answers Escape.
/// Returns true only when "OK" was chosen; "Cancel", Escape, the box's close button or an
/// error while asking all answer no. `owner` is the main window (or none).
bool AskCloseQuestion(QWidget* owner);

/// Lets the program take part in a log-off or shut-down of the desktop: when the session
/// manager asks and allows a question, `closeQuery` is asked, and anything but yes cancels the
/// ending on behalf of this program, which keeps running.
void AskBeforeSessionEnds(QGuiApplication& application, std::function<bool()> closeQuery);

}  // namespace velmora
