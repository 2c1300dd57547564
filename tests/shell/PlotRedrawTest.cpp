// What a redraw of the plot repaints: of the controls lying on it the axis letters, which
// show the plot through them, but not the buttons on its edges, which hide what it draws
// beneath them; and the plot's own ground.
#include <QImage>
#include <QLabel>
#include <QPushButton>
#include <QTest>
#include <map>
#include <memory>

#include "Application.h"
#include "MainWindowFixture.h"

namespace velmora::test {

/// Counts the paint events of the watched widgets.
class PaintCount : public QObject {
  public:
    void Watch(QWidget* widget) {
        widget->installEventFilter(this);
        counts_[widget] = 0;
    }
    int Of(QWidget* widget) const { return counts_.at(widget); }

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::Paint) {
            ++counts_[static_cast<QWidget*>(watched)];
        }
        return false;
    }

  private:
    std::map<QWidget*, int> counts_;
};

class PlotRedrawTest : public QObject {
    Q_OBJECT

  private slots:
    void init() { form_ = ShowMainWindow(); }
    void cleanup() { form_.reset(); }

    void ButtonsOnThePlotAreNotPaintedWithIt_data() {
        QTest::addColumn<QString>("redraw");
        QTest::newRow("turned probe") << "Button4";
        QTest::newRow("probe stepped along x") << "Button6";
        QTest::newRow("reset") << "Button1";
    }
    void ButtonsOnThePlotAreNotPaintedWithIt() {
        QFETCH(QString, redraw);
        auto* pressed = Control<QPushButton>(*form_, qPrintable(redraw));
        // The plot, which has the focus at first, is repainted whole when it loses it.
        pressed->setFocus();
        Settle();
        QWidget* plot = form_->ui.Chart1->Canvas();
        PaintCount paints;
        paints.Watch(plot);
        const char* onThePlot[] = {"Button1", "Button8", "Button9", "Button11"};
        for (const char* name : onThePlot) {
            paints.Watch(Control<QPushButton>(*form_, name));
        }
        paints.Watch(form_->ui.Label2);
        paints.Watch(form_->ui.Label3);

        Click(pressed);
        QVERIFY(paints.Of(plot) >= 1);
        // The letters "X" and "Y" let the plot show through: they are painted over it again.
        QVERIFY(paints.Of(form_->ui.Label2) >= 1);
        QVERIFY(paints.Of(form_->ui.Label3) >= 1);
        for (const char* name : onThePlot) {
            auto* button = Control<QPushButton>(*form_, name);
            if (button != pressed) {
                QVERIFY2(paints.Of(button) == 0, name);
            }
        }
    }

    void PlotIsDrawnOnTheWindowGround() {
        const auto* chart = form_->ui.Chart1;
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
            {pixel(-20, 20), ground},                          // empty plane
            {QPoint(chart->width() - 2, 1), ground},           // margin beyond the axes
            {pixel(13, 0.8), QColor(Qt::red)},                 // wire section, above the axis line
            {pixel(-13, -0.8), QColor(Qt::red)},               // the other, below it
        };
        for (const auto& [at, colour] : expected) {
            QCOMPARE(drawn.pixelColor(at), colour);
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
