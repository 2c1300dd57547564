// Time of one replot of the plot's trace layer with 10,000 dots spread over the visible
// plane: drawn as shapes by QCPCurve, and stamped by StampedCurve.
#include <benchmark/benchmark.h>
#include <qcustomplot.h>

#include <QApplication>
#include <random>

#include "StampedCurve.h"

namespace velmora {
namespace {

/// A plot of the bench's size and ranges holding `dots` trace dots in a curve of type T.
template <class Curve>
struct TracePlot {
    explicit TracePlot(int dots) {
        plot.resize(700, 700);
        plot.setAntialiasedElements(QCP::aeAll);
        plot.xAxis->setRange(-21, 29);
        plot.yAxis->setRange(-25, 25);
        auto* curve = new Curve(plot.xAxis, plot.yAxis);
        curve->setLineStyle(QCPCurve::lsNone);
        curve->setScatterStyle(QCPScatterStyle(QCPScatterStyle::ssCircle, Qt::red, Qt::red, 4));
        std::mt19937 random(7);
        std::uniform_real_distribution<double> x(-20, 28);
        std::uniform_real_distribution<double> y(-24, 24);
        QVector<QCPCurveData> data;
        for (int i = 0; i < dots; ++i) {
            data.append(QCPCurveData(i, x(random), y(random)));
        }
        curve->data()->set(data, true);
    }
    QCustomPlot plot;
};

template <class Curve>
void Replot(benchmark::State& state) {
    TracePlot<Curve> traced(static_cast<int>(state.range(0)));
    for (auto _ : state) {
        traced.plot.replot(QCustomPlot::rpImmediateRefresh);
    }
}
BENCHMARK_TEMPLATE(Replot, QCPCurve)->Arg(10'000)->Unit(benchmark::kMillisecond);
BENCHMARK_TEMPLATE(Replot, StampedCurve)->Arg(10'000)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace velmora

int main(int argc, char** argv) {
    QApplication application(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
