#pragma once

class QMessageBox;

namespace velmora {

/// Runs a message box of the program until it is answered: modal over every window of the
/// program, above the side windows (which stay on top of ordinary windows), and giving the
/// activation back afterwards to the window that had it, whose focus is kept.
void RunModal(QMessageBox& box);

}  // namespace velmora
