// The mouse on the plot: rubber-band zoom, restore, small drags, pan and wheel change only
// the displayed ranges; Reset brings the fixed ranges back.
#include <QPushButton>
#include <QRubberBand>
#include <QTest>

#include "MainWindowFixture.h"
#include "PlotChart.h"

namespace velmora::test {
namespace {

constexpr double kTolerance = 1e-9;

bool Near(AxisRange range, double min, double max, double tolerance = kTolerance) {
    return std::abs(range.Min - min) < tolerance && std::abs(range.Max - max) < tolerance;
}

QString Text(AxisRange range) {
    return QStringLiteral("%1 … %2").arg(range.Min).arg(range.Max);
}

}  // namespace

class PlotGestureTest : public QObject {
    Q_OBJECT

  private slots:
    void init() {
        form_ = ShowMainWindow();
        chart_ = Control<PlotChart>(*form_, "Chart1");
        canvas_ = chart_->Canvas();
        area_ = chart_->DataArea();
    }
    void cleanup() { form_.reset(); }

    void LeftDragsZoomRestoreOrDoNothing_data() {
        QTest::addColumn<QPoint>("move");
        QTest::addColumn<bool>("zooms");
        QTest::newRow("10 px right and down") << QPoint(10, 10) << false;
        QTest::newRow("16 px both ways is not more than 16") << QPoint(16, 16) << false;
        QTest::newRow("100 px right, 10 px down") << QPoint(100, 10) << false;
        QTest::newRow("17 px right and down") << QPoint(17, 17) << true;
        QTest::newRow("100 px right and down") << QPoint(100, 100) << true;
        QTest::newRow("100 px right and up") << QPoint(100, -100) << true;
        QTest::newRow("100 px left and down with nothing to restore") << QPoint(-100, 100) << false;
    }
    void LeftDragsZoomRestoreOrDoNothing() {
        QFETCH(QPoint, move);
        QFETCH(bool, zooms);
        const QPoint start = area_.center();
        const double x0 = chart_->PixelToX(std::min(start.x(), start.x() + move.x()));
        const double x1 = chart_->PixelToX(std::max(start.x(), start.x() + move.x()));
        const double y0 = chart_->PixelToY(std::max(start.y(), start.y() + move.y()));
        const double y1 = chart_->PixelToY(std::min(start.y(), start.y() + move.y()));
        Drag(Qt::LeftButton, start, start + move);
        if (zooms) {
            QVERIFY2(Near(chart_->XRange(), x0, x1), qPrintable(Text(chart_->XRange())));
            QVERIFY2(Near(chart_->YRange(), y0, y1), qPrintable(Text(chart_->YRange())));
        } else {
            QCOMPARE(chart_->XRange(), PlotScene::kFixedXRange);
            QCOMPARE(chart_->YRange(), PlotScene::kFixedYRange);
        }
    }

    void RubberBandShowsWhileDragging() {
        const QPoint start = area_.center();
        Send(QEvent::MouseButtonPress, Qt::LeftButton, start, Qt::LeftButton);
        Send(QEvent::MouseMove, Qt::NoButton, start + QPoint(60, 40), Qt::LeftButton);
        auto* band = canvas_->findChild<QRubberBand*>();
        QVERIFY(band != nullptr && band->isVisible());
        QCOMPARE(band->geometry(), QRect(start, start + QPoint(60, 40)));
        Send(QEvent::MouseButtonRelease, Qt::LeftButton, start + QPoint(60, 40), Qt::NoButton);
        QVERIFY(!band->isVisible());
    }

    void DragThatLostItsReleaseEndsWithoutEffect() {
        const QPoint c = area_.center();
        Send(QEvent::MouseButtonPress, Qt::LeftButton, c, Qt::LeftButton);
        Send(QEvent::MouseMove, Qt::NoButton, c + QPoint(50, 50), Qt::LeftButton);
        // The release went elsewhere (a message box took the mouse): the next move comes
        // with no button held.
        Send(QEvent::MouseMove, Qt::NoButton, c + QPoint(80, 80), Qt::NoButton);
        QVERIFY(!canvas_->findChild<QRubberBand*>()->isVisible());
        QCOMPARE(chart_->XRange(), PlotScene::kFixedXRange);
        // The other button during a drag does nothing; the drag goes on.
        const double left = chart_->PixelToX(c.x());
        Send(QEvent::MouseButtonPress, Qt::LeftButton, c, Qt::LeftButton);
        Send(QEvent::MouseButtonPress, Qt::RightButton, c, Qt::LeftButton | Qt::RightButton);
        Send(QEvent::MouseButtonRelease, Qt::RightButton, c, Qt::LeftButton);
        Send(QEvent::MouseMove, Qt::NoButton, c + QPoint(40, 40), Qt::LeftButton);
        Send(QEvent::MouseButtonRelease, Qt::LeftButton, c + QPoint(40, 40), Qt::NoButton);
        QCOMPARE(chart_->XRange().Min, left);
    }

    void DragToTheLeftRestoresRangesFromBeforeTheFirstChange() {
        const QPoint c = area_.center();
        Drag(Qt::LeftButton, c, c + QPoint(100, 100));  // zoom
        Drag(Qt::RightButton, c, c + QPoint(30, 0));    // pan
        Drag(Qt::LeftButton, c, c + QPoint(50, 50));    // zoom again
        Wheel(-120);
        QVERIFY(!(chart_->XRange() == PlotScene::kFixedXRange));
        Drag(Qt::LeftButton, c, c + QPoint(-100, 100));
        QCOMPARE(chart_->XRange(), PlotScene::kFixedXRange);
        QCOMPARE(chart_->YRange(), PlotScene::kFixedYRange);
        // Restored ranges are the new starting point: the next zoom returns to them, and a
        // restore with no change since the last one changes nothing.
        Drag(Qt::LeftButton, c, c + QPoint(100, 100));
        Drag(Qt::LeftButton, c, c + QPoint(-100, 100));
        Drag(Qt::LeftButton, c, c + QPoint(100, 100));
        const AxisRange zoomedX = chart_->XRange();
        const AxisRange zoomedY = chart_->YRange();
        Drag(Qt::LeftButton, c, c + QPoint(-100, -100));
        QCOMPARE(chart_->XRange(), PlotScene::kFixedXRange);
        Drag(Qt::LeftButton, c, c + QPoint(-100, -100));
        QCOMPARE(chart_->XRange(), PlotScene::kFixedXRange);
        QVERIFY(!(zoomedX == PlotScene::kFixedXRange) && !(zoomedY == PlotScene::kFixedYRange));
    }

    void RightDragPansWithTheMouse() {
        const QPoint c = area_.center();
        const double perPixelX = 50.0 / area_.width();
        const double perPixelY = 50.0 / area_.height();
        Drag(Qt::RightButton, c, c + QPoint(40, -20));
        // The plane follows the mouse: right shows what lay to the left, up shows what lay
        // below.
        QVERIFY2(Near(chart_->XRange(), -21 - 40 * perPixelX, 29 - 40 * perPixelX, 1e-6),
                 qPrintable(Text(chart_->XRange())));
        QVERIFY2(Near(chart_->YRange(), -25 - 20 * perPixelY, 25 - 20 * perPixelY, 1e-6),
                 qPrintable(Text(chart_->YRange())));
    }

    void WheelMovesOnlyTheVerticalRange_data() {
        QTest::addColumn<int>("delta");
        QTest::addColumn<double>("min");
        QTest::addColumn<double>("max");
        QTest::newRow("one notch towards the user") << -120 << -26.5 << 23.5;
        QTest::newRow("one notch away") << 120 << -23.5 << 26.5;
        QTest::newRow("two notches towards the user") << -240 << -28.0 << 22.0;
        QTest::newRow("half a notch does nothing") << -60 << -25.0 << 25.0;
    }
    void WheelMovesOnlyTheVerticalRange() {
        QFETCH(int, delta);
        QFETCH(double, min);
        QFETCH(double, max);
        // A two-notch turn arrives as two events of one notch each on most mice.
        if (std::abs(delta) == 240) {
            Wheel(delta / 2);
            Wheel(delta / 2);
        } else {
            Wheel(delta);
        }
        QVERIFY2(Near(chart_->YRange(), min, max), qPrintable(Text(chart_->YRange())));
        QCOMPARE(chart_->XRange(), PlotScene::kFixedXRange);
    }

    void GesturesLeaveTheBenchAloneAndResetFixesTheRanges() {
        const auto marker = form_->Lab().Scene().Points(Layer::ProbeMarker);
        const auto x = form_->Lab().State().ProbeX;
        const QPoint c = area_.center();
        Drag(Qt::LeftButton, c, c + QPoint(100, 100));
        Drag(Qt::RightButton, c, c + QPoint(10, 10));
        Wheel(120);
        QVERIFY(form_->Lab().Scene().Points(Layer::ProbeMarker) == marker);
        QCOMPARE(form_->Lab().State().ProbeX, x);
        // The letters stay where they are.
        QCOMPARE(Control<QWidget>(*form_, "Label2")->geometry(), QRect(656, 312, 14, 25));
        Click(Control<QPushButton>(*form_, "Button1"));
        QCOMPARE(chart_->XRange(), PlotScene::kFixedXRange);
        QCOMPARE(chart_->YRange(), PlotScene::kFixedYRange);
        // A drag outside the data area starts nothing.
        Drag(Qt::LeftButton, QPoint(2, 2), QPoint(200, 200));
        QCOMPARE(chart_->XRange(), PlotScene::kFixedXRange);
    }

  private:
    void Send(QEvent::Type type, Qt::MouseButton button, QPoint at, Qt::MouseButtons held) {
        SendMouse(canvas_, type, button, at, held);
    }
    void Drag(Qt::MouseButton button, QPoint from, QPoint to) {
        DragOnPlot(chart_, button, from, to);
    }
    void Wheel(int delta) { WheelOnPlot(chart_, delta); }

    std::unique_ptr<TForm1> form_;
    PlotChart* chart_ = nullptr;
    QWidget* canvas_ = nullptr;
    QRect area_;
};

QObject* NewPlotGestureTest() {
    return new PlotGestureTest;
}

}  // namespace velmora::test

#include "PlotGestureTest.moc"
