#include "Application.h"

#include "ErrorDisplay.h"

namespace velmora {

Application::Application(int& argc, char** argv) : QApplication(argc, argv) {}

bool Application::notify(QObject* receiver, QEvent* event) {
    bool handled = true;
    CallShowingErrors([&] { handled = QApplication::notify(receiver, event); });
    return handled;
}

}  // namespace velmora
