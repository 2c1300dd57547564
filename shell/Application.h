#pragma once

#include <QApplication>

namespace velmora {

/// The application object. Handlers are called through CallShowingErrors, which shows their
/// errors where Qt calls them; notify() does the same for any event handler without that
/// wrapper, as the last resort, so that the event loop always goes on with the next event.
class Application : public QApplication {
  public:
    Application(int& argc, char** argv);

    bool notify(QObject* receiver, QEvent* event) override;
};

}  // namespace velmora
