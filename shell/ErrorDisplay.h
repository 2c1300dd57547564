#pragma once

#include <QString>
#include <functional>

namespace velmora {

/// The error display: shows the message of an error that left a handler and returns when the
/// student has dismissed the box. A mouse capture in progress is cancelled first. The box
/// shows the message with a final "." added by the error-box rule (ErrorBoxText), the error
/// icon, the application title as caption and one "OK" button; it is modal and owned by the
/// active window (by none when no window is active). Nothing is rolled back.
void ShowError(const QString& message);

/// Calls `action`; an Error or a standard exception that leaves it is shown by ShowError and
/// goes no further. Every handler is called through this where Qt calls it, so an error never
/// unwinds through Qt's own frames: Qt does not free the objects on them (the copied mouse
/// event of a click, the guard of the clicked signal) when an exception passes.
void CallShowingErrors(const std::function<void()>& action);

}  // namespace velmora
