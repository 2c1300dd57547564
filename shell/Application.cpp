#include "Application.h"

#include <exception>

#include "Error.h"
#include "ErrorDisplay.h"

namespace velmora {

Application::Application(int& argc, char** argv) : QApplication(argc, argv) {}

bool Application::notify(QObject* receiver, QEvent* event) {
    try {
        return QApplication::notify(receiver, event);
    } catch (const Error& error) {
        ShowError(QString::fromStdU16String(error.Message()));
    } catch (const std::exception& error) {
        ShowError(QString::fromUtf8(error.what()));
    }
    return true;
}

}  // namespace velmora
