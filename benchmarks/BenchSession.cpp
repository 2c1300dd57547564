#include "BenchSession.h"

#include <qcustomplot.h>

#include <QAbstractButton>
#include <QCheckBox>
#include <QCoreApplication>
#include <QTest>
#include <QWheelEvent>
#include <chrono>

#include "Clock.h"
#include "DisplaySync.h"
#include "Error.h"
#include "PlotChart.h"
#include "ProtocolBox.h"
#include "ReadoutModel.h"
#include "ReadoutView.h"

namespace velmora::figures {

/// Counts the paints of the widgets a command redraws (the plot, the table, the protocol)
/// and the plot's replots.
class BenchSession::PaintCounter : public QObject {
  public:
    struct Counts {
        int replots = 0;
        int plotPaints = 0;
        int otherPaints = 0;
    };

    PaintCounter(QCustomPlot& plot, std::initializer_list<QWidget*> others) : plot_(plot) {
        plot_.installEventFilter(this);
        for (QWidget* widget : others) {
            widget->installEventFilter(this);
            others_.push_back(widget);
        }
        connect(&plot_, &QCustomPlot::afterReplot, this, [this] { ++counts_.replots; });
    }

    ~PaintCounter() override {
        plot_.removeEventFilter(this);
        for (QWidget* widget : others_) {
            if (widget != nullptr) {
                widget->removeEventFilter(this);
            }
        }
    }

    const Counts& Now() const { return counts_; }

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::Paint) {
            ++(watched == &plot_ ? counts_.plotPaints : counts_.otherPaints);
        }
        return false;
    }

  private:
    QCustomPlot& plot_;
    std::vector<QPointer<QWidget>> others_;
    Counts counts_;
};

BenchSession::BenchSession(FrameClock& application)
    : clock_(application), program_(StartProgram(application)) {
    if (!QTest::qWaitForWindowExposed(&Form())) {
        qFatal("the main window did not come up");
    }
    Settle();
    paints_ = std::make_unique<PaintCounter>(
        *Plot(),
        std::initializer_list<QWidget*>{Control<ReadoutView>("ValueListEditor1")->viewport(),
                                        Control<ProtocolBox>("Memo1")->viewport()});
}

BenchSession::~BenchSession() = default;

QCustomPlot* BenchSession::Plot() const {
    return qobject_cast<QCustomPlot*>(Control<PlotChart>("Chart1")->Canvas());
}

Redraw BenchSession::Timed(const std::function<void()>& work, QString* message) {
    const PaintCounter::Counts before = paints_->Now();
    const int framesBefore = clock_.Frames();
    const std::int64_t start = MonotonicNanos();
    const std::int64_t cpuStart = ThreadCpuNanos();
    try {
        work();
    } catch (const Error& error) {
        if (message != nullptr) {
            *message = QString::fromStdU16String(error.Message());
        }
    }
    // What the event loop does next, now: the plot's queued replot, then the window's
    // update request, which paints every changed widget and flushes the frame (the clock
    // notes when it is on the screen); then whatever the frame left queued.
    QCoreApplication::sendPostedEvents();
    QCoreApplication::sendPostedEvents();
    WaitForDisplay();
    const std::int64_t idle = MonotonicNanos();
    const std::int64_t cpuEnd = ThreadCpuNanos();
    const std::int64_t end = clock_.Frames() > framesBefore ? clock_.LastFrameAt() : idle;
    const PaintCounter::Counts during = paints_->Now();
    Settle();
    const PaintCounter::Counts after = paints_->Now();

    Redraw redraw;
    redraw.ms = static_cast<double>(end - start) / 1e6;
    redraw.idleMs = static_cast<double>(idle - start) / 1e6;
    redraw.cpuMs = static_cast<double>(cpuEnd - cpuStart) / 1e6;
    redraw.plotDrawn = during.replots > before.replots && during.plotPaints > before.plotPaints;
    redraw.latePaints = (after.plotPaints - during.plotPaints) +
                        (after.otherPaints - during.otherPaints) + (after.replots - during.replots);
    return redraw;
}

Redraw BenchSession::Press(const CommandButton& command) {
    QAbstractButton* button = Control<QAbstractButton>(command.button);
    return Timed([button] { QTest::mouseClick(button, Qt::LeftButton); });
}

Redraw BenchSession::CopyPicture() {
    QAbstractButton* button = Control<QAbstractButton>("Button9");
    return Timed([button] { QTest::mouseClick(button, Qt::LeftButton); });
}

Redraw BenchSession::Wheel(bool up) {
    QCustomPlot* plot = Plot();
    const QPointF at(plot->width() / 2.0, plot->height() / 2.0);
    QWheelEvent wheel(at, plot->mapToGlobal(at), QPoint(), QPoint(0, up ? 120 : -120), Qt::NoButton,
                      Qt::NoModifier, Qt::NoScrollPhase, false);
    return Timed([plot, &wheel] { QCoreApplication::sendEvent(plot, &wheel); });
}

void BenchSession::SetValue(int row, const QString& text) {
    QAbstractItemModel* model = Control<ReadoutView>("ValueListEditor1")->model();
    model->setData(model->index(row, ReadoutModel::kValueColumn), text, Qt::EditRole);
}

void BenchSession::SetOptions(bool fixAngle, bool sumCirculation, bool writeProtocol) {
    const std::pair<QCheckBox*, bool> boxes[] = {{Control<QCheckBox>("CheckBox1"), fixAngle},
                                                 {Control<QCheckBox>("CheckBox2"), sumCirculation},
                                                 {Control<QCheckBox>("CheckBox3"), writeProtocol}};
    for (const auto& [box, ticked] : boxes) {
        if (box->isChecked() != ticked) {
            box->click();
        }
    }
}

void BenchSession::Settle() {
    for (int i = 0; i < 4; ++i) {
        QCoreApplication::sendPostedEvents();
        QCoreApplication::processEvents(QEventLoop::AllEvents);
    }
}

double BenchSession::Fill(int dots, int lines) {
    const auto started = std::chrono::steady_clock::now();
    TForm1& form = Form();
    form.Button5Click();
    SetOptions(true, false, true);
    // Rows of 100 dots 0.45 cm apart, one row above the other, from (-20, -22): the trace
    // covers the visible plane (x -21…29, y -25…25) evenly.
    constexpr int kRowDots = 100;
    const QString pitch = QStringLiteral("0.45");
    SetValue(4, QStringLiteral("-20"));
    SetValue(5, QStringLiteral("-22"));
    form.Button10Click();
    bool forward = true;
    SetValue(1, pitch);
    for (int dot = 0; dot < dots; ++dot) {
        if (dot % kRowDots == kRowDots - 1) {
            SetValue(1, pitch);
            form.Button7Click();
            forward = !forward;
            SetValue(1, forward ? pitch : QStringLiteral("-0.45"));
        } else {
            form.Button6Click();
        }
    }
    for (std::size_t line = ProtocolLines(); line < static_cast<std::size_t>(lines); line += 5) {
        form.Button12Click();
    }
    SetValue(1, QStringLiteral("1"));
    Settle();
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - started).count();
}

std::size_t BenchSession::TraceDots() const {
    return program_->form1.Lab().Scene().Points(Layer::Trace).size();
}

std::size_t BenchSession::ProtocolLines() const {
    return program_->form1.Lab().Protocol().Lines().size();
}

}  // namespace velmora::figures
