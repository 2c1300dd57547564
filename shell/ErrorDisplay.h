#pragma once

#include <QString>

namespace velmora {

/// The error display: shows the message of an error that left a handler and returns when the
/// student has dismissed the box. A mouse capture in progress is cancelled first. The box
/// shows the message with a final "." added by the error-box rule (ErrorBoxText), the error
/// icon, the application title as caption and one "OK" button; it is modal and owned by the
/// active window (by none when no window is active). Nothing is rolled back.
void ShowError(const QString& message);

}  // namespace velmora
