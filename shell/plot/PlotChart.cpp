#include "PlotChart.h"

#include <qcustomplot.h>
#include <QAbstractButton>
#include <QBuffer>
#include <QRegularExpression>
#include <QSvgGenerator>
#include <QVBoxLayout>
#include <cmath>

#include "GroundedPlot.h"
#include "NumText.h"
#include "PlotMouse.h"
#include "StampedCurve.h"

namespace velmora {
namespace {

/// The colours of the layers: pure blue, red and a dark green.
const QColor kBlue(0, 0, 255);
const QColor kRed(255, 0, 0);
const QColor kGreen(0, 128, 0);

/// Blank border between the plot's edge and everything it draws, in per cent of its width
/// (left and right) and of its height (top and bottom).
constexpr int kSideMarginPercent = 3;
constexpr int kEndMarginPercent = 4;

/// Tick marks point outwards from the data area, so they take room in the margins.
constexpr int kTickLength = 4;
constexpr int kSubTickLength = 2;

/// An axis-line layer: a straight line one pixel wide along an axis, moved by less than half
/// a pixel onto the middle of the pixel column or row it falls in on the painted device, so
/// that both axis lines come out crisp alike (anti-aliased between two columns, a line is
/// smeared over both in a paler colour).
class AxisLineCurve : public QCPCurve {
  public:
    using QCPCurve::QCPCurve;

  protected:
    void draw(QCPPainter* painter) override {
        painter->save();
        painter->translate(OntoPixelMiddle(painter->transform()));
        QCPCurve::draw(painter);
        painter->restore();
    }

  private:
    /// The move, in the plot's pixels, that puts the line on a device pixel's middle under
    /// `toDevice` (which holds the half-pixel shift of anti-aliased drawing, if any).
    QPointF OntoPixelMiddle(const QTransform& toDevice) const {
        if (data()->size() < 2 || toDevice.isRotating()) {
            return {};
        }
        const QCPCurveData& first = *data()->constBegin();
        const QCPCurveData& last = *(data()->constEnd() - 1);
        const QPointF at = toDevice.map(
            QPointF(keyAxis()->coordToPixel(first.key), valueAxis()->coordToPixel(first.value)));
        const auto toMiddle = [](double device, double scale) {
            return (std::floor(device) + 0.5 - device) / scale;
        };
        if (first.key == last.key) {
            return {toMiddle(at.x(), toDevice.m11()), 0};
        }
        if (first.value == last.value) {
            return {0, toMiddle(at.y(), toDevice.m22())};
        }
        return {};
    }
};

/// Tick labels in the bench's own number texts: Latin digits, "-" and the bench's decimal
/// separator, whatever language the desktop speaks.
class BenchTicker : public QCPAxisTicker {
  protected:
    QString getTickLabel(double tick, const QLocale&, QChar formatChar, int precision) override {
        QString label = QCPAxisTicker::getTickLabel(tick, QLocale::c(), formatChar, precision);
        label.replace(QLatin1Char('.'), QChar(FormatSettings().DecimalSeparator));
        return label;
    }
};

void StyleLayer(QCPCurve& curve, Layer layer) {
    curve.setLineStyle(QCPCurve::lsLine);
    curve.setScatterStyle(QCPScatterStyle(QCPScatterStyle::ssNone));
    switch (layer) {
        case Layer::ProbeMarker:
            curve.setPen(QPen(kBlue, 4, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
            break;
        case Layer::WireSections:
            curve.setLineStyle(QCPCurve::lsNone);
            curve.setScatterStyle(QCPScatterStyle(QCPScatterStyle::ssCircle, kRed, kRed, 36));
            break;
        case Layer::Trace:
            curve.setLineStyle(QCPCurve::lsNone);
            curve.setScatterStyle(QCPScatterStyle(QCPScatterStyle::ssCircle, kRed, kRed, 4));
            break;
        case Layer::AxisLineX:
        case Layer::AxisLineY:
            curve.setPen(QPen(kGreen, 1, Qt::DotLine));
            break;
    }
}

void StyleAxis(QCPAxis& axis, bool withLine) {
    axis.setVisible(true);
    axis.setTicker(QSharedPointer<BenchTicker>::create());
    axis.grid()->setVisible(false);
    axis.grid()->setSubGridVisible(false);
    axis.setTickLength(0, kTickLength);
    axis.setSubTickLength(0, kSubTickLength);
    if (!withLine) {
        axis.setBasePen(Qt::NoPen);
    }
}

/// QSvgGenerator states the picture's size in millimetres and adds a title and a
/// description of its own; the clipboard picture is stated in pixels, so a reader gets back
/// exactly the plot's size, and carries no description.
QByteArray TidyForClipboard(const QByteArray& svg, QSize size) {
    QString text = QString::fromUtf8(svg);
    static const QRegularExpression kTitle(QStringLiteral("<title>[^<]*</title>\\s*"));
    static const QRegularExpression kDescription(QStringLiteral("<desc>[^<]*</desc>\\s*"));
    text.remove(kTitle);
    text.remove(kDescription);
    static const QRegularExpression kWidth(QStringLiteral("(<svg[^>]*?\\s)width=\"[^\"]*\""));
    static const QRegularExpression kHeight(QStringLiteral("(<svg[^>]*?\\s)height=\"[^\"]*\""));
    text.replace(kWidth, QStringLiteral("\\1width=\"%1px\"").arg(size.width()));
    text.replace(kHeight, QStringLiteral("\\1height=\"%1px\"").arg(size.height()));
    return text.toUtf8();
}

}  // namespace

PlotChart::PlotChart(QWidget* parent) : QWidget(parent), plot_(new GroundedPlot(this)) {
    // The plot itself takes the keyboard focus in the window's tab order; the drawing
    // widget inside it does not.
    setFocusPolicy(Qt::StrongFocus);
    plot_->setFocusPolicy(Qt::NoFocus);
    plot_->setGeometry(rect());

    plot_->setBackground(palette().brush(QPalette::Base));
    plot_->axisRect()->setBackground(Qt::NoBrush);
    plot_->setAntialiasedElements(QCP::aeAll);
    plot_->setNoAntialiasingOnDrag(false);
    plot_->setInteractions({});
    // Everything is drawn into one buffer: the overlay layer, which has a buffer of its own
    // for selection rectangles the plot never shows, would cost a second buffer of the plot's
    // size to clear and to draw on every redraw.
    plot_->layer(QStringLiteral("overlay"))->setMode(QCPLayer::lmLogical);

    StyleAxis(*plot_->xAxis, true);
    StyleAxis(*plot_->yAxis, false);
    plot_->xAxis2->setVisible(false);
    plot_->yAxis2->setVisible(false);

    for (std::size_t i = 0; i < kLayerCount; ++i) {
        const auto layer = static_cast<Layer>(i);
        // The trace can hold thousands of dots: they are stamped, not drawn one by one.
        if (layer == Layer::Trace) {
            curves_[i] = new StampedCurve(plot_->xAxis, plot_->yAxis);
        } else if (layer == Layer::AxisLineX || layer == Layer::AxisLineY) {
            curves_[i] = new AxisLineCurve(plot_->xAxis, plot_->yAxis);
        } else {
            curves_[i] = new QCPCurve(plot_->xAxis, plot_->yAxis);
        }
        StyleLayer(*curves_[i], layer);
    }
    SetRanges(PlotScene::kFixedXRange, PlotScene::kFixedYRange);
    ApplyMargins();
    ApplyFont();

    mouse_ = std::make_unique<PlotMouse>(*this);
    plot_->installEventFilter(mouse_.get());
}

PlotChart::~PlotChart() {
    // The event filter goes before the plot it watches.
    plot_->removeEventFilter(mouse_.get());
}

void PlotChart::BindScene(const PlotScene& scene) {
    scene_ = &scene;
    everShown_ = false;
    Refresh();
}

bool PlotChart::Refresh() {
    if (scene_ == nullptr) {
        return false;
    }
    bool changed = false;
    if (!everShown_ || scene_->ResetCount() != shownResetCount_) {
        shownResetCount_ = scene_->ResetCount();
        mouse_->Forget();
        SetRanges(PlotScene::kFixedXRange, PlotScene::kFixedYRange);
        changed = true;
    }
    for (std::size_t i = 0; i < kLayerCount; ++i) {
        const auto layer = static_cast<Layer>(i);
        if (!everShown_ || scene_->Revision(layer) != shownRevisions_[i]) {
            CopyLayer(layer);
            changed = true;
        }
    }
    everShown_ = true;
    if (changed) {
        RequestRedraw();
    }
    return changed;
}

void PlotChart::CopyLayer(Layer layer) {
    const auto index = static_cast<std::size_t>(layer);
    const std::vector<PlotPoint>& points = scene_->Points(layer);
    QVector<QCPCurveData> data;
    data.reserve(static_cast<qsizetype>(points.size()));
    for (std::size_t i = 0; i < points.size(); ++i) {
        data.append(QCPCurveData(static_cast<double>(i), points[i].X, points[i].Y));
    }
    // The data is already in drawing order: the curve keeps it as given.
    curves_[index]->data()->set(data, true);
    shownRevisions_[index] = scene_->Revision(layer);
}

std::vector<PlotPoint> PlotChart::ShownPoints(Layer layer) const {
    std::vector<PlotPoint> points;
    for (const QCPCurveData& point : *curves_[static_cast<std::size_t>(layer)]->data()) {
        points.push_back({point.key, point.value});
    }
    return points;
}

QWidget* PlotChart::Canvas() const {
    return plot_;
}

AxisRange PlotChart::XRange() const {
    return {plot_->xAxis->range().lower, plot_->xAxis->range().upper};
}

AxisRange PlotChart::YRange() const {
    return {plot_->yAxis->range().lower, plot_->yAxis->range().upper};
}

void PlotChart::SetRanges(AxisRange x, AxisRange y) {
    plot_->xAxis->setRange(x.Min, x.Max);
    plot_->yAxis->setRange(y.Min, y.Max);
    RequestRedraw();
}

double PlotChart::PixelToX(double pixel) const {
    return plot_->xAxis->pixelToCoord(pixel);
}

double PlotChart::PixelToY(double pixel) const {
    return plot_->yAxis->pixelToCoord(pixel);
}

void PlotChart::RequestRedraw() {
    plot_->replot(QCustomPlot::rpQueuedReplot);
}

QRect PlotChart::DataArea() const {
    // The axis rectangle is placed by the plot's layout, which runs on a redraw; lay it out
    // now so the area is right even before the first one.
    plot_->plotLayout()->update(QCPLayoutElement::upLayout);
    return plot_->axisRect()->rect();
}

QByteArray PlotChart::RenderSvg() {
    const QSize size = plot_->size().expandedTo(QSize(1, 1));
    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    {
        QSvgGenerator generator;
        generator.setOutputDevice(&buffer);
        generator.setSize(size);
        generator.setViewBox(QRect(QPoint(0, 0), size));
        generator.setResolution(96);
        QCPPainter painter;
        painter.begin(&generator);
        painter.setMode(QCPPainter::pmVectorized);
        // Every part of the picture names the plot's real face, not a generic family.
        painter.setFont(font());
        plot_->toPainter(&painter, size.width(), size.height());
        painter.end();
    }
    return TidyForClipboard(buffer.data(), size);
}

void PlotChart::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    plot_->setGeometry(rect());
    ApplyMargins();
    MaskCoveredParts();
}

void PlotChart::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    MaskCoveredParts();
}

void PlotChart::MaskCoveredParts() {
    // The buttons on the plot's edges (its own, and the window's "Начать/Сброс" lying in
    // front of its corner) hide what the plot draws beneath them. Left out of the plot's
    // drawing, they need not be painted again each time the plot redraws itself.
    QRegion shown(plot_->rect());
    const auto coverBy = [&](const QWidget& control) {
        if (!control.isHidden() && qobject_cast<const QAbstractButton*>(&control) != nullptr) {
            shown -= QRect(plot_->mapFrom(control.parentWidget(), control.pos()), control.size());
        }
    };
    for (const QWidget* control : findChildren<QWidget*>(Qt::FindDirectChildrenOnly)) {
        coverBy(*control);
    }
    // Controls of the window lie in front of the plot when they come after it.
    if (const QWidget* window = parentWidget()) {
        const QObjectList& siblings = window->children();
        for (qsizetype i = siblings.indexOf(this) + 1; i < siblings.size(); ++i) {
            if (const auto* control = qobject_cast<const QWidget*>(siblings[i])) {
                if (control->geometry().intersects(geometry())) {
                    coverBy(*control);
                }
            }
        }
    }
    plot_->setMask(shown);
}

void PlotChart::changeEvent(QEvent* event) {
    QWidget::changeEvent(event);
    if (event->type() == QEvent::FontChange) {
        ApplyFont();
    }
}

void PlotChart::ApplyFont() {
    plot_->xAxis->setTickLabelFont(font());
    plot_->yAxis->setTickLabelFont(font());
    RequestRedraw();
}

void PlotChart::ApplyMargins() {
    const int side = width() * kSideMarginPercent / 100;
    const int end = height() * kEndMarginPercent / 100;
    plot_->plotLayout()->setMargins(QMargins(side, end, side, end));
    // The data area reaches the margins where no axis is drawn (top and right); the plotting
    // library's own minimum margins would keep it 15 pixels further in.
    plot_->axisRect()->setMinimumMargins(QMargins());
}

}  // namespace velmora
