#include "Neon.h"

#include <QPainter>
#include <QPainterPath>
#include <algorithm>
#include <cmath>
#include <vector>

namespace {

/// A grey-level picture of floats, 0 = dark, 1 = a fully lit tube.
struct Layer {
    int width = 0;
    int height = 0;
    std::vector<float> value;

    float& at(int x, int y) { return value[static_cast<size_t>(y) * width + x]; }
};

/// The centre lines of the tubes that write E = mc², in a frame where the capital letters
/// stand 30 units tall on the baseline y = 62; the bounding box is about 8..96 × 29..62.
QPainterPath FormulaTubes() {
    QPainterPath p;
    // E: one bent tube and its middle bar.
    p.moveTo(24, 32);
    p.lineTo(8, 32);
    p.lineTo(8, 62);
    p.lineTo(24, 62);
    p.moveTo(8, 47);
    p.lineTo(21, 47);
    // =
    p.moveTo(30, 44);
    p.lineTo(42, 44);
    p.moveTo(30, 51);
    p.lineTo(42, 51);
    // m: a stem and two arches.
    p.moveTo(48, 62);
    p.lineTo(48, 48);
    p.cubicTo(48, 41, 56, 41, 56, 48);
    p.lineTo(56, 62);
    p.moveTo(56, 48);
    p.cubicTo(56, 41, 64, 41, 64, 48);
    p.lineTo(64, 62);
    // c: an open arc.
    p.arcMoveTo(QRectF(69, 42.5, 19, 19.5), 50);
    p.arcTo(QRectF(69, 42.5, 19, 19.5), 50, 260);
    // ² raised to the cap height.
    p.moveTo(86.5, 33.5);
    p.cubicTo(86.5, 27.5, 96.5, 27.5, 95.5, 34.5);
    p.cubicTo(95, 37.5, 89, 40.5, 86.5, 44);
    p.lineTo(96.5, 44);
    return p;
}

/// The tubes placed in a `size` square: scaled by `scale` and centred.
QPainterPath PlacedTubes(int size, double scale) {
    const QPainterPath tubes = FormulaTubes();
    const QRectF box = tubes.boundingRect();
    QTransform t;
    t.translate(size / 2.0, size / 2.0);
    t.scale(scale, scale);
    t.translate(-box.center().x(), -box.center().y());
    return t.map(tubes);
}

/// The tubes stroked with round ends at `width` pixels, anti-aliased.
Layer Stroke(const QPainterPath& tubes, int size, double width) {
    QImage mask(size, size, QImage::Format_Grayscale8);
    mask.fill(0);
    {
        QPainter painter(&mask);
        painter.setRenderHint(QPainter::Antialiasing);
        painter.setPen(QPen(Qt::white, width, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
        painter.drawPath(tubes);
    }
    Layer layer{size, size, std::vector<float>(static_cast<size_t>(size) * size)};
    for (int y = 0; y < size; ++y) {
        const uchar* line = mask.constScanLine(y);
        for (int x = 0; x < size; ++x)
            layer.at(x, y) = line[x] / 255.0f;
    }
    return layer;
}

/// Gaussian blur with standard deviation `sigma` pixels; the border counts as dark.
Layer Blurred(Layer layer, double sigma) {
    const int radius = static_cast<int>(std::ceil(3 * sigma));
    std::vector<float> kernel(2 * radius + 1);
    float sum = 0;
    for (int i = -radius; i <= radius; ++i) {
        kernel[i + radius] = static_cast<float>(std::exp(-(i * i) / (2 * sigma * sigma)));
        sum += kernel[i + radius];
    }
    for (float& k : kernel)
        k /= sum;
    for (int pass = 0; pass < 2; ++pass) {
        Layer out = layer;
        for (int y = 0; y < layer.height; ++y) {
            for (int x = 0; x < layer.width; ++x) {
                float acc = 0;
                for (int i = -radius; i <= radius; ++i) {
                    const int sx = pass == 0 ? x + i : x;
                    const int sy = pass == 0 ? y : y + i;
                    if (sx >= 0 && sx < layer.width && sy >= 0 && sy < layer.height)
                        acc += kernel[i + radius] * layer.at(sx, sy);
                }
                out.at(x, y) = acc;
            }
        }
        layer = std::move(out);
    }
    return layer;
}

/// Light of the tubes at every pixel as RGB in 0..1: a wide green halo, the green tube and
/// its nearly white hot core, added up and saturated the way film saturates.
std::vector<QColor> NeonLight(const QPainterPath& tubes, int size, double tube) {
    const Layer halo = Blurred(Stroke(tubes, size, tube), 3.2 * tube / 2.6);
    const Layer bloom = Blurred(Stroke(tubes, size, tube), 1.1 * tube / 2.6);
    const Layer body = Stroke(tubes, size, tube);
    const Layer core = Stroke(tubes, size, tube * 0.4);
    std::vector<QColor> light(static_cast<size_t>(size) * size);
    for (size_t i = 0; i < light.size(); ++i) {
        const float h = halo.value[i] * 2.2f, b = bloom.value[i], t = body.value[i],
                    c = core.value[i];
        const float r = 0.06f * h + 0.15f * b + 0.25f * t + 1.4f * c;
        const float g = 0.95f * h + 0.9f * b + 1.6f * t + 2.0f * c;
        const float bl = 0.18f * h + 0.2f * b + 0.35f * t + 1.2f * c;
        auto film = [](float e) { return 1.0f - std::exp(-e); };
        light[i] = QColor::fromRgbF(film(r), film(g), film(bl));
    }
    return light;
}

}  // namespace

QImage NeonFormulaPicture(int size) {
    const QPainterPath tubes = PlacedTubes(size, size / 100.0);
    const std::vector<QColor> light = NeonLight(tubes, size, 2.6 * size / 100.0);
    QImage picture(size, size, QImage::Format_RGB32);
    for (int y = 0; y < size; ++y)
        for (int x = 0; x < size; ++x)
            picture.setPixelColor(x, y, light[y * size + x]);
    return picture;
}

QImage NeonFormulaIcon(int size) {
    const double centre = size / 2.0;
    const double ring = size * 0.445;
    QPainterPath tubes = PlacedTubes(size, size * 0.0078);
    tubes.addEllipse(QPointF(centre, centre), ring, ring);
    const std::vector<QColor> light = NeonLight(tubes, size, 2.4 * size / 94.0);

    // The disc's coverage of each pixel, anti-aliased at its rim.
    QImage disc(size, size, QImage::Format_Grayscale8);
    disc.fill(0);
    {
        QPainter painter(&disc);
        painter.setRenderHint(QPainter::Antialiasing);
        painter.setPen(Qt::NoPen);
        painter.setBrush(Qt::white);
        painter.drawEllipse(QPointF(centre, centre), size / 2.0 - 0.5, size / 2.0 - 0.5);
    }
    QImage icon(size, size, QImage::Format_ARGB32);
    for (int y = 0; y < size; ++y) {
        for (int x = 0; x < size; ++x) {
            QColor c = light[y * size + x];
            c.setAlpha(disc.constScanLine(y)[x]);
            icon.setPixelColor(x, y, c);
        }
    }
    return icon;
}
