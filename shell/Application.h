#pragma once

#include <QApplication>

namespace velmora {

/// The application object. Its notify() is the one place where an error that leaves any
/// event handler (a button's click, the main window's show-time Reset, …) is caught and
/// handed to the error display; the event loop then goes on with the next event.
class Application : public QApplication {
  public:
    Application(int& argc, char** argv);

    bool notify(QObject* receiver, QEvent* event) override;
};

}  // namespace velmora
