// What a redraw of the plot repaints: the part of the plot whose drawing changed, the axis
// letters when the plot beneath them is repainted (they show it through them), never the
// buttons on its edges, which hide what it draws beneath them; and the plot's own ground.
#include <QImage>
#include <QLabel>
#include <QPaintEvent>
#include <QPushButton>
#include <QTest>
#include <map>
#include <memory>

#include "Application.h"
#include "MainWindowFixture.h"
#include "PlotChart.h"

namespace velmora::test {

/// Counts the paint events of the watched widgets and collects what they painted.
class PaintCount : public QObject {
  public:
    void Watch(QWidget* widget) {
        widget->installEventFilter(this);
        counts_[widget] = 0;
    }
    int Of(QWidget* widget) const { return counts_.at(widget); }
    QRegion RegionOf(QWidget* widget) const {
        return regions_.count(widget) ? regions_.at(widget) : QRegion();
    }

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::Paint) {
            auto* widget = static_cast<QWidget*>(watched);
            ++counts_[widget];
            regions_[widget] += static_cast<QPaintEvent*>(event)->region();
        }
        return false;
    }

  private:
    std::map<QWidget*, int> counts_;
    std::map<QWidget*, QRegion> regions_;
};

class PlotRedrawTest : public QObject {
    Q_OBJECT

  private slots:
    void init() { form_ = ShowMainWindow(); }
    void cleanup() { form_.reset(); }

    void RedrawRepaintsWhatChanged_data() {
        QTest::addColumn<QString>("action");
        QTest::addColumn<QString>("plotRepaint");  // "none", "part" or "most"
        QTest::newRow("turned probe") << "Button4"
                                      << "part";
        QTest::newRow("probe stepped along x") << "Button6"
                                               << "part";
        QTest::newRow("reset after a step") << "Button1"
                                            << "part";
        QTest::newRow("protocol entry") << "Button12"
                                        << "none";
        QTest::newRow("wheel notch") << "wheel"
                                     << "most";
    }
    void RedrawRepaintsWhatChanged() {
        QFETCH(QString, action);
        QFETCH(QString, plotRepaint);
        auto* pressed =
            action == "wheel" ? nullptr : Control<QPushButton>(*form_, qPrintable(action));
        if (action == "Button1") {
            Click(Control<QPushButton>(*form_, "Button2"));
        }
        // The plot, which has the focus at first, is repainted whole when it loses it.
        (pressed != nullptr ? static_cast<QWidget*>(pressed) : Control<PlotChart>(*form_, "Chart1"))
            ->setFocus();
        Settle();
        QWidget* plot = Control<PlotChart>(*form_, "Chart1")->Canvas();
        PaintCount paints;
        paints.Watch(plot);
        const char* onThePlot[] = {"Button1", "Button8", "Button9", "Button11"};
        for (const char* name : onThePlot) {
            paints.Watch(Control<QPushButton>(*form_, name));
        }
        paints.Watch(Control<QLabel>(*form_, "Label2"));
        paints.Watch(Control<QLabel>(*form_, "Label3"));

        if (pressed != nullptr) {
            Click(pressed);
        } else {
            WheelOnPlot(Control<PlotChart>(*form_, "Chart1"), 120);
            Settle();
        }
        const QRect repainted = paints.RegionOf(plot).boundingRect();
        if (plotRepaint == "none") {
            QCOMPARE(paints.Of(plot), 0);
        } else if (plotRepaint == "part") {
            // The probe's arrow, where it was and where it is: a few dozen pixels.
            QVERIFY(paints.Of(plot) >= 1);
            QVERIFY2(repainted.width() <= 100 && repainted.height() <= 100,
                     qPrintable(
                         QStringLiteral("%1 x %2").arg(repainted.width()).arg(repainted.height())));
        } else {
            // The whole plane inside the axes is drawn anew.
            QVERIFY(repainted.contains(
                Control<PlotChart>(*form_, "Chart1")->DataArea().adjusted(40, 40, -40, -40)));
        }
        // The letters "X" and "Y" let the plot show through: they are painted over it again
        // when the plot beneath them is.
        const bool lettersBeneath = plotRepaint == "most";
        QCOMPARE(paints.Of(Control<QLabel>(*form_, "Label2")) >= 1, lettersBeneath);
        QCOMPARE(paints.Of(Control<QLabel>(*form_, "Label3")) >= 1, lettersBeneath);
        // The buttons on the plot hide it: they are never painted with it.
        for (const char* name : onThePlot) {
            auto* button = Control<QPushButton>(*form_, name);
            if (button != pressed) {
                QVERIFY2(paints.Of(button) == 0, name);
            }
        }
    }

    void PlotIsDrawnOnTheWindowGround() {
        const auto* chart = Control<PlotChart>(*form_, "Chart1");
        const QImage drawn = chart->Canvas()->grab().toImage();
        const QRect area = chart->DataArea();
        // The pixel of a plane point (cm) inside the data area.
        const auto pixel = [&](double x, double y) {
            const AxisRange xs = chart->XRange();
            const AxisRange ys = chart->YRange();
            return QPoint(area.left() + qRound((x - xs.Min) / (xs.Max - xs.Min) * area.width()),
                          area.bottom() - qRound((y - ys.Min) / (ys.Max - ys.Min) * area.height()));
        };
        const QColor ground = form_->palette().color(QPalette::Base);
        const std::pair<QPoint, QColor> expected[] = {
            {pixel(-20, 20), ground},                 // empty plane
            {QPoint(chart->width() - 2, 1), ground},  // margin beyond the axes
            {pixel(13, 0.8), QColor(Qt::red)},        // wire section, above the axis line
            {pixel(-13, -0.8), QColor(Qt::red)},      // the other, below it
        };
        for (const auto& [at, colour] : expected) {
            QCOMPARE(drawn.pixelColor(at * drawn.devicePixelRatio()), colour);
        }
    }

  private:
    std::unique_ptr<TForm1> form_;
};

}  // namespace velmora::test

int main(int argc, char** argv) {
    velmora::Application application(argc, argv);
    velmora::test::PlotRedrawTest tests;
    return QTest::qExec(&tests, argc, argv);
}

#include "PlotRedrawTest.moc"
