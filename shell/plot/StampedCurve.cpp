#include "StampedCurve.h"

#include <QPainter>
#include <algorithm>
#include <cmath>

namespace velmora {

bool StampedCurve::StampKey::operator==(const StampKey& other) const {
    return shape == other.shape && size == other.size && pen == other.pen && brush == other.brush &&
           scale == other.scale && antialiased == other.antialiased && modes == other.modes;
}

StampedCurve::StampedCurve(QCPAxis* keyAxis, QCPAxis* valueAxis) : QCPCurve(keyAxis, valueAxis) {}

bool StampedCurve::SmoothSymbol(const QCPScatterStyle& style, const QPen& pen, qreal scale) {
    const bool thinLines =
        pen.style() != Qt::NoPen && (pen.isCosmetic() || pen.widthF() * scale <= 1);
    if (!thinLines) {
        return true;
    }
    switch (style.shape()) {
        case QCPScatterStyle::ssDisc:
        case QCPScatterStyle::ssCircle:
        case QCPScatterStyle::ssSquare:
        case QCPScatterStyle::ssDiamond:
        case QCPScatterStyle::ssTriangle:
        case QCPScatterStyle::ssTriangleInverted:
            return style.brush().style() == Qt::SolidPattern;
        default:
            return false;
    }
}

bool StampedCurve::CanStamp(const QCPPainter& painter, const QCPScatterStyle& style,
                            const QPen& pen) {
    const QPaintEngine* engine = painter.paintEngine();
    const QTransform& transform = painter.transform();
    return engine != nullptr && engine->type() == QPaintEngine::Raster &&
           !painter.modes().testFlag(QCPPainter::pmVectorized) &&
           transform.type() <= QTransform::TxScale && transform.m11() == transform.m22() &&
           transform.m11() > 0 && style.shape() != QCPScatterStyle::ssPixmap &&
           style.shape() != QCPScatterStyle::ssCustom &&
           SmoothSymbol(style, pen, transform.m11()) &&
           painter.compositionMode() == QPainter::CompositionMode_SourceOver &&
           painter.opacity() == 1.0;
}

void StampedCurve::UseStamps(const StampKey& key) const {
    if (key == stampKey_) {
        return;
    }
    stampKey_ = key;
    stamps_.fill(QImage());
    // The layer's stamps have the old look: it is made anew.
    layer_ = QImage();
    // Room for the symbol, its outline and the anti-aliasing around it, in device pixels.
    const double reach = key.scale * (key.size / 2 + std::max(1.0, key.pen.widthF())) + 2;
    stampCentre_ = static_cast<int>(std::ceil(reach));
}

const QImage& StampedCurve::Stamp(int column, int row, const QCPScatterStyle& style) const {
    QImage& stamp = stamps_[static_cast<std::size_t>(row * kPhases + column)];
    if (!stamp.isNull()) {
        return stamp;
    }
    const int side = 2 * stampCentre_ + 2;
    stamp = QImage(side, side, QImage::Format_ARGB32_Premultiplied);
    stamp.fill(Qt::transparent);
    QCPPainter painter(&stamp);
    painter.setModes(stampKey_.modes);
    painter.setAntialiasing(stampKey_.antialiased);
    // The symbol's centre lands on the sub-pixel position; the scale is the screen
    // painter's (the display's pixel ratio).
    const qreal scale = stampKey_.scale;
    painter.setTransform(QTransform(scale, 0, 0, scale, stampCentre_ + double(column) / kPhases,
                                    stampCentre_ + double(row) / kPhases));
    style.applyTo(&painter, pen());
    style.drawShape(&painter, 0, 0);
    painter.end();
    return stamp;
}

void StampedCurve::drawScatterPlot(QCPPainter* painter, const QVector<QPointF>& points,
                                   const QCPScatterStyle& style) const {
    applyScattersAntialiasingHint(painter);
    const QPen symbolPen = style.isPenDefined() ? style.pen() : pen();
    stamped_ = CanStamp(*painter, style, symbolPen);
    if (!stamped_) {
        QCPCurve::drawScatterPlot(painter, points, style);
        return;
    }
    const StampKey key{style.shape(),
                       style.size(),
                       symbolPen,
                       style.brush(),
                       painter->transform().m11(),
                       painter->antialiasing(),
                       painter->modes()};
    UseStamps(key);
    // Stamps go to device pixels; the clip to the axis rectangle stays as it was set.
    const QTransform toDevice = painter->transform();
    UpdateLayer(points, toDevice, QSize(painter->device()->width(), painter->device()->height()),
                style);
    if (layerCovered_.isEmpty()) {
        return;
    }
    painter->save();
    painter->setTransform(QTransform());
    painter->drawImage(layerCovered_.topLeft(), layer_, layerCovered_);
    painter->restore();
}

void StampedCurve::UpdateLayer(const QVector<QPointF>& points, const QTransform& toDevice,
                               QSize size, const QCPScatterStyle& style) const {
    const bool grown = layer_.size() == size && layerTransform_ == toDevice &&
                       points.size() >= layerPoints_.size() &&
                       std::equal(layerPoints_.begin(), layerPoints_.end(), points.begin());
    if (!grown) {
        if (layer_.size() != size) {
            layer_ = QImage(size, QImage::Format_ARGB32_Premultiplied);
        }
        layer_.fill(Qt::transparent);
        layerPoints_.clear();
        layerTransform_ = toDevice;
        layerCovered_ = QRect();
    }
    if (points.size() == layerPoints_.size()) {
        return;
    }
    QPainter onLayer(&layer_);
    for (qsizetype i = layerPoints_.size(); i < points.size(); ++i) {
        const QPointF& point = points[i];
        if (std::isnan(point.x()) || std::isnan(point.y())) {
            continue;
        }
        const QPointF at = toDevice.map(point);
        const double left = std::floor(at.x());
        const double top = std::floor(at.y());
        const int column = std::min(static_cast<int>((at.x() - left) * kPhases + 0.5), kPhases);
        const int row = std::min(static_cast<int>((at.y() - top) * kPhases + 0.5), kPhases);
        // A phase rounded up to a whole pixel is phase 0 of the next pixel.
        const int x = static_cast<int>(left) + column / kPhases - stampCentre_;
        const int y = static_cast<int>(top) + row / kPhases - stampCentre_;
        const QImage& stamp = Stamp(column % kPhases, row % kPhases, style);
        onLayer.drawImage(QPoint(x, y), stamp);
        layerCovered_ |= QRect(QPoint(x, y), stamp.size());
    }
    layerCovered_ &= layer_.rect();
    layerPoints_ = points;
}

}  // namespace velmora
