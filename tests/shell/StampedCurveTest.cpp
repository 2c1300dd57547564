// The stamped point layer of the plot: on screen it must look like the same
// points drawn one by one as shapes, at any pixel ratio and for any style, and
// in vector output it must still draw true shapes.
#include <qcustomplot.h>

#include <QBuffer>
#include <QSvgGenerator>
#include <QTest>
#include <random>

#include "StampedCurve.h"

using velmora::StampedCurve;

namespace {

/// Points spread over the plot and beyond its edges, as a long trace lies.
QVector<QCPCurveData> Scattered(int count) {
    std::mt19937 random(11);
    std::uniform_real_distribution<double> x(-23, 31);
    std::uniform_real_distribution<double> y(-27, 27);
    QVector<QCPCurveData> data;
    for (int i = 0; i < count; ++i) {
        data.append(QCPCurveData(i, x(random), y(random)));
    }
    return data;
}

/// A 700 × 700 plot with the bench's ranges holding `data` in a point layer of
/// type Curve.
template <class Curve>
struct PointPlot {
    PointPlot(const QVector<QCPCurveData>& data, const QCPScatterStyle& style) {
        plot.resize(700, 700);
        plot.setAntialiasedElements(QCP::aeAll);
        plot.xAxis->setRange(-21, 29);
        plot.yAxis->setRange(-25, 25);
        curve = new Curve(plot.xAxis, plot.yAxis);
        curve->setLineStyle(QCPCurve::lsNone);
        curve->setScatterStyle(style);
        curve->data()->set(data, true);
    }
    QImage Picture(double ratio) {
        return plot.toPixmap(700, 700, ratio).toImage().convertToFormat(QImage::Format_ARGB32);
    }
    QCustomPlot plot;
    QCPCurve* curve = nullptr;
};

struct Difference {
    int largest = 0;  ///< the largest difference of a colour channel, 0…255
    double mean = 0;  ///< the mean of those differences over all pixels
};

Difference Compare(const QImage& a, const QImage& b) {
    Difference difference;
    double sum = 0;
    for (int y = 0; y < a.height(); ++y) {
        for (int x = 0; x < a.width(); ++x) {
            const QRgb p = a.pixel(x, y);
            const QRgb q = b.pixel(x, y);
            const int d =
                std::max({std::abs(qRed(p) - qRed(q)), std::abs(qGreen(p) - qGreen(q)),
                          std::abs(qBlue(p) - qBlue(q)), std::abs(qAlpha(p) - qAlpha(q))});
            difference.largest = std::max(difference.largest, d);
            sum += d;
        }
    }
    difference.mean = sum / (double(a.width()) * a.height());
    return difference;
}

}  // namespace

class StampedCurveTest : public QObject {
    Q_OBJECT

  private slots:
    void LooksLikeShapes_data() {
        QTest::addColumn<double>("ratio");
        QTest::addColumn<QCPScatterStyle>("style");
        QTest::addColumn<bool>("stamps");
        const QCPScatterStyle trace(QCPScatterStyle::ssCircle, Qt::red, Qt::red, 4);
        QTest::newRow("trace dots") << 1.0 << trace << true;
        QTest::newRow("trace dots, pixel ratio 1.5") << 1.5 << trace << true;
        QTest::newRow("trace dots, pixel ratio 2") << 2.0 << trace << true;
        QTest::newRow("large outlined circles")
            << 1.0 << QCPScatterStyle(QCPScatterStyle::ssCircle, Qt::blue, Qt::yellow, 15) << true;
        QTest::newRow("squares, thick pen")
            << 1.0
            << QCPScatterStyle(QCPScatterStyle::ssSquare, QPen(Qt::darkGreen, 2.5), Qt::NoBrush, 9)
            << true;
        QTest::newRow("crosses, pen of width 1 at pixel ratio 2")
            << 2.0 << QCPScatterStyle(QCPScatterStyle::ssCross, QPen(Qt::black, 1), Qt::NoBrush, 7)
            << true;
        // Thin lines alone are drawn pixel by pixel: such symbols keep their
        // shapes.
        QTest::newRow("crosses, thin cosmetic pen")
            << 1.0 << QCPScatterStyle(QCPScatterStyle::ssCross, QPen(Qt::black, 0), Qt::NoBrush, 7)
            << false;
        QTest::newRow("crosses, pen of width 1")
            << 1.0 << QCPScatterStyle(QCPScatterStyle::ssCross, QPen(Qt::black, 1), Qt::NoBrush, 7)
            << false;
        QTest::newRow("circles without fill")
            << 1.0 << QCPScatterStyle(QCPScatterStyle::ssCircle, Qt::red, 6) << false;
    }
    void LooksLikeShapes() {
        QFETCH(double, ratio);
        QFETCH(QCPScatterStyle, style);
        QFETCH(bool, stamps);
        const QVector<QCPCurveData> data = Scattered(600);
        PointPlot<QCPCurve> drawn(data, style);
        PointPlot<StampedCurve> stamped(data, style);
        const Difference difference = Compare(drawn.Picture(ratio), stamped.Picture(ratio));
        QCOMPARE(static_cast<StampedCurve*>(stamped.curve)->Stamped(), stamps);
        // A stamp lies at most 1/32 pixel from the drawn shape: only the
        // anti-aliased edges differ, and those by little.
        QVERIFY2(difference.largest <= 40, qPrintable(QString::number(difference.largest)));
        QVERIFY2(difference.mean < 0.5, qPrintable(QString::number(difference.mean)));
    }

    void FollowsAChangeOfStyle() {
        const QVector<QCPCurveData> data = Scattered(200);
        const QCPScatterStyle red(QCPScatterStyle::ssCircle, Qt::red, Qt::red, 4);
        const QCPScatterStyle blue(QCPScatterStyle::ssDisc, Qt::blue, Qt::blue, 6);
        PointPlot<QCPCurve> drawn(data, blue);
        PointPlot<StampedCurve> stamped(data, red);
        stamped.Picture(1);
        stamped.curve->setScatterStyle(blue);
        QVERIFY(Compare(drawn.Picture(1), stamped.Picture(1)).largest <= 40);
        QVERIFY(static_cast<StampedCurve*>(stamped.curve)->Stamped());
    }

    void RedrawnAfterEveryChangeLooksLikeShapes() {
        // One stamped plot goes through the changes of a session, drawn after each; the
        // same points drawn as shapes from scratch must look the same every time.
        const QCPScatterStyle trace(QCPScatterStyle::ssCircle, Qt::red, Qt::red, 4);
        const QVector<QCPCurveData> all = Scattered(400);
        PointPlot<StampedCurve> stamped(all.mid(0, 300), trace);
        const auto set = [&](QCustomPlot& plot, QCPCurve& curve, const QVector<QCPCurveData>& data,
                             double xFrom, double xTo) {
            curve.data()->set(data, true);
            plot.xAxis->setRange(xFrom, xTo);
        };
        const struct {
            const char* name;
            int count;
            double xFrom;
            double xTo;
            double ratio;
        } steps[] = {
            {"first drawing", 300, -21, 29, 1},  {"one dot more", 301, -21, 29, 1},
            {"many dots more", 400, -21, 29, 1}, {"zoomed", 400, -5, 10, 1},
            {"zoomed back", 400, -21, 29, 1},    {"trace cleared", 0, -21, 29, 1},
            {"a new trace", 50, -21, 29, 1},     {"other pixel ratio", 60, -21, 29, 2},
        };
        for (const auto& step : steps) {
            const QVector<QCPCurveData> data = all.mid(0, step.count);
            set(stamped.plot, *stamped.curve, data, step.xFrom, step.xTo);
            PointPlot<QCPCurve> drawn(data, trace);
            drawn.plot.xAxis->setRange(step.xFrom, step.xTo);
            const Difference difference =
                Compare(drawn.Picture(step.ratio), stamped.Picture(step.ratio));
            QVERIFY2(difference.largest <= 40 && difference.mean < 0.5,
                     qPrintable(QStringLiteral("%1: %2, %3")
                                    .arg(QLatin1String(step.name))
                                    .arg(difference.largest)
                                    .arg(difference.mean)));
        }
    }

    void VectorOutputKeepsTheShapes() {
        const int count = 25;
        QVector<QCPCurveData> data;
        for (int i = 0; i < count; ++i) {
            data.append(QCPCurveData(i, -18 + 1.5 * i, 20 - 1.7 * i));
        }
        PointPlot<StampedCurve> stamped(
            data, QCPScatterStyle(QCPScatterStyle::ssCircle, Qt::red, Qt::red, 4));
        stamped.plot.xAxis->setVisible(false);
        stamped.plot.yAxis->setVisible(false);
        QBuffer svg;
        svg.open(QIODevice::WriteOnly);
        QSvgGenerator generator;
        generator.setOutputDevice(&svg);
        generator.setSize(QSize(700, 700));
        QCPPainter painter;
        painter.begin(&generator);
        painter.setMode(QCPPainter::pmVectorized);
        stamped.plot.toPainter(&painter, 700, 700);
        painter.end();
        QVERIFY(!static_cast<StampedCurve*>(stamped.curve)->Stamped());
        // Every point is a circle of its own in the picture, none an embedded
        // image.
        QCOMPARE(svg.data().count("<ellipse") + svg.data().count("<circle"), count);
        QCOMPARE(svg.data().count("<image"), 0);
    }
};

QTEST_MAIN(StampedCurveTest)
#include "StampedCurveTest.moc"
