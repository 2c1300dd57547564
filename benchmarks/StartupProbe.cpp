// A start-up probe: starts a window the way Velmora starts, and once the window's first
// complete frame is on the screen prints "painted <CLOCK_MONOTONIC ns>" and exits at once.
// The parent took the same clock just before it started the probe, so the difference is the
// time from process start to the first frame.
//
// Built three times from this file (VELMORA_PROBE_KIND):
// - startup_probe_real (1): the program's own start-up (application object, title, icon,
//   number format, the three windows, the main window shown, Reset run); its frame is
//   complete when the plot has been drawn with the scene;
// - startup_probe_empty (0): a plain QApplication and an empty QMainWindow with the main
//   window's client size and font, centred the same way; its frame is its first paint;
// - startup_probe_plot (2): the same window holding nothing but an empty QCustomPlot, for
//   reference; its frame is complete when the plot has been drawn.
//
// Before the frame it also prints "stage <name> <ns>" lines: where the start-up time goes.
#include <QApplication>
#include <QScreen>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <memory>

#include "Clock.h"
#include "DisplaySync.h"

#if VELMORA_PROBE_KIND != 0
#include <qcustomplot.h>
#endif
#if VELMORA_PROBE_KIND == 1
#include "PlotChart.h"
#include "Program.h"
#else
#include <QMainWindow>
#endif

namespace velmora::figures {
namespace {

void PrintStage(const char* name) {
    std::printf("stage %s %lld\n", name, static_cast<long long>(MonotonicNanos()));
}

/// Watches the paint events of the widget whose drawing makes the first frame; after the
/// first one that `ready` accepts, it lets the window's update finish (the frame is flushed
/// to the display when the paint events of that update are done), waits for the display
/// server, prints the time and ends the process.
class FirstFrame : public QObject {
  public:
    FirstFrame(QWidget& content, std::function<bool()> ready)
        : content_(content), ready_(std::move(ready)) {
        content_.installEventFilter(this);
    }

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (watched == &content_ && event->type() == QEvent::Paint && !seen_ && ready_()) {
            seen_ = true;
            QMetaObject::invokeMethod(this, &FirstFrame::Finish, Qt::QueuedConnection);
        }
        return false;
    }

  private:
    void Finish() {
        WaitForDisplay();
        std::printf("painted %lld\n", static_cast<long long>(MonotonicNanos()));
        std::fflush(stdout);
        // The peak of the resident set is reached; tearing the windows down is not measured.
        std::_Exit(0);
    }

    QWidget& content_;
    std::function<bool()> ready_;
    bool seen_ = false;
};

}  // namespace
}  // namespace velmora::figures

int main(int argc, char** argv) {
    using namespace velmora::figures;
    PrintStage("main");
#if VELMORA_PROBE_KIND == 1
    velmora::Application application(argc, argv);
    PrintStage("application");
    const std::unique_ptr<velmora::Program> program = velmora::StartProgram(application);
    PrintStage("shown");
    // The frame is complete once the plot draws itself after its first replot.
    auto* plot = qobject_cast<QCustomPlot*>(
        program->form1.findChild<velmora::PlotChart*>(QStringLiteral("Chart1"))->Canvas());
    bool replotted = false;
    QObject::connect(plot, &QCustomPlot::afterReplot, [&replotted] { replotted = true; });
    FirstFrame frame(*plot, [&replotted] { return replotted; });
#else
    QApplication application(argc, argv);
    PrintStage("application");
    QMainWindow window;
    QFont font;
    font.setFamilies({QStringLiteral("Liberation Sans"), QStringLiteral("DejaVu Sans")});
    font.setPixelSize(11);
    window.setFont(font);
    window.setFixedSize(1023, 737);
    if (const QScreen* screen = window.screen()) {
        const QRect desktop = screen->virtualGeometry();
        window.move(desktop.center() - window.rect().center());
    }
#if VELMORA_PROBE_KIND == 2
    auto* plot = new QCustomPlot(&window);
    window.setCentralWidget(plot);
    bool replotted = false;
    QObject::connect(plot, &QCustomPlot::afterReplot, [&replotted] { replotted = true; });
    FirstFrame frame(*plot, [&replotted] { return replotted; });
#else
    FirstFrame frame(window, [] { return true; });
#endif
    window.show();
    PrintStage("shown");
#endif
    return application.exec();
}
