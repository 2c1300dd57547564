#include "Neon.h"

#include <QPainter>
#include <QPainterPath>
#include <QString>
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

/// What one layer of the tube light adds to a colour channel per unit of the layer: the halo
/// (counted kHaloGain times), the bloom, the tube's body and its hot core.
struct ChannelWeights {
    float halo, bloom, body, core;
};
constexpr float kHaloGain = 2.2f;
constexpr ChannelWeights kRed{0.06f, 0.15f, 0.25f, 1.4f};
constexpr ChannelWeights kGreen{0.95f, 0.9f, 1.6f, 2.0f};
constexpr ChannelWeights kBlue{0.18f, 0.2f, 0.35f, 1.2f};
/// The core's width as a share of the tube's width.
constexpr double kCoreShare = 0.4;

/// Blur radii (standard deviations, in pixels) of the halo and the bloom of a tube `tube`
/// pixels wide.
double HaloSigma(double tube) {
    return 3.2 * tube / 2.6;
}
double BloomSigma(double tube) {
    return 1.1 * tube / 2.6;
}

/// Film saturation: light of exposure `e` (0 and up) to a channel value in 0..1.
float Film(float e) {
    return 1.0f - std::exp(-e);
}

/// Light of the tubes at every pixel as RGB in 0..1: a wide green halo, the green tube and
/// its nearly white hot core, added up and saturated the way film saturates. `glow` (0..1)
/// dims the halo and the bloom.
std::vector<QColor> NeonLight(const QPainterPath& tubes, int size, double tube, float glow = 1.0f) {
    const Layer halo = Blurred(Stroke(tubes, size, tube), HaloSigma(tube));
    const Layer bloom = Blurred(Stroke(tubes, size, tube), BloomSigma(tube));
    const Layer body = Stroke(tubes, size, tube);
    const Layer core = Stroke(tubes, size, tube * kCoreShare);
    std::vector<QColor> light(static_cast<size_t>(size) * size);
    for (size_t i = 0; i < light.size(); ++i) {
        const float h = halo.value[i] * kHaloGain * glow, b = bloom.value[i] * glow,
                    t = body.value[i], c = core.value[i];
        auto exposure = [&](const ChannelWeights& w) {
            return w.halo * h + w.bloom * b + w.body * t + w.core * c;
        };
        light[i] =
            QColor::fromRgbF(Film(exposure(kRed)), Film(exposure(kGreen)), Film(exposure(kBlue)));
    }
    return light;
}

/// The icon's tubes in a `size` square: the formula inside a ring that nearly fills it.
QPainterPath IconTubes(int size) {
    const double centre = size / 2.0;
    const double ring = size * 0.445;
    QPainterPath tubes = PlacedTubes(size, size * 0.0078);
    tubes.addEllipse(QPointF(centre, centre), ring, ring);
    return tubes;
}

/// The icon's tube width in pixels: 2.4 pixels at the 94-pixel size, in proportion at others.
double IconTubeWidth(double size) {
    return 2.4 * size / 94.0;
}

/// Small icons keep their letters apart: tubes at least a pixel wide, so they do not fade to
/// grey, and a glow that fades out below 64 pixels, where it would flood the gaps between
/// the letters.
double SmallIconTubeWidth(int size) {
    return std::max(1.0, IconTubeWidth(size));
}
float SmallIconGlow(int size) {
    return std::min(1.0f, size / 64.0f);
}

/// A length in the SVG document: at most three decimals, no trailing zeros.
QString SvgNumber(double value) {
    QString text = QString::number(value, 'f', 3);
    while (text.endsWith('0'))
        text.chop(1);
    if (text.endsWith('.'))
        text.chop(1);
    return text == "-0" ? "0" : text;
}

/// The path as SVG path data: moves, lines and cubic curves in absolute coordinates.
QString SvgPathData(const QPainterPath& path) {
    QString data;
    for (int i = 0; i < path.elementCount(); ++i) {
        const QPainterPath::Element e = path.elementAt(i);
        switch (e.type) {
            case QPainterPath::MoveToElement:
                data += "M";
                break;
            case QPainterPath::LineToElement:
                data += "L";
                break;
            case QPainterPath::CurveToElement:
                data += "C";
                break;
            case QPainterPath::CurveToDataElement:
                data += " ";
                break;
        }
        data += SvgNumber(e.x) + "," + SvgNumber(e.y);
    }
    return data;
}

/// The exposures are divided by this before they are added, because an SVG filter clamps
/// every intermediate value to 0..1; the film table scales them back. The brightest green,
/// every layer at full strength, is 6.59.
constexpr double kSvgExposureScale = 7.0;

/// An feColorMatrix that turns its input into the exposure of one or two light layers,
/// scaled down, at full opacity: the green channel carries the layer `green` (counted
/// `greenGain` times), the red channel the layer `red` when there is one.
QString SvgExposureMatrix(const QString& in, const QString& result, float ChannelWeights::*green,
                          float greenGain, float ChannelWeights::*red = nullptr) {
    QString values;
    for (const ChannelWeights* w : {&kRed, &kGreen, &kBlue}) {
        const double r = red ? w->*red / kSvgExposureScale : 0.0;
        const double g = w->*green * greenGain / kSvgExposureScale;
        values += SvgNumber(r) + " " + SvgNumber(g) + " 0 0 0  ";
    }
    values += "0 0 0 0 1";
    return QString("      <feColorMatrix in=\"%1\" result=\"%2\" values=\"%3\"/>\n")
        .arg(in, result, values);
}

/// The film curve sampled for feComponentTransfer: Film(kSvgExposureScale × x) for x from
/// 0 to 1 in 56 equal steps, so the straight pieces stay within 0.002 of the curve.
QString SvgFilmTable() {
    constexpr int kSteps = 56;
    QStringList values;
    for (int i = 0; i <= kSteps; ++i)
        values << SvgNumber(Film(static_cast<float>(kSvgExposureScale * i / kSteps)));
    return values.join(' ');
}

}  // namespace

QByteArray NeonFormulaIconSvg() {
    constexpr int kSize = 94;
    const double tube = IconTubeWidth(kSize);
    const QPainterPath tubes = IconTubes(kSize);
    const QString path = SvgPathData(tubes);
    // The filter's frame reaches well past the disc so the halo near the rim sees only the
    // black background, as the drawn icon does.
    const QString frame = "x=\"-12\" y=\"-12\" width=\"118\" height=\"118\"";
    const QString film = SvgFilmTable();
    const QString centre = SvgNumber(kSize / 2.0);

    QString svg;
    svg += "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n";
    svg +=
        "<!-- Velmora's icon: E = mc² in glowing green neon inside a ring, on a black "
        "disc. Written by tools/make-pictures. -->\n";
    svg += QString(
               "<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"%1\" height=\"%1\" "
               "viewBox=\"0 0 %1 %1\">\n")
               .arg(kSize);
    svg += "  <defs>\n";
    // The drawing below is the black disc with the tube's coverage in green and the core's in
    // red. The filter makes it opaque, blurs the tubes into halo and bloom, turns every layer
    // into light, adds the light up, saturates it like film and cuts it to the disc again. A
    // renderer without filters shows the plain tubes on the disc.
    svg += QString(
               "    <filter id=\"neon\" filterUnits=\"userSpaceOnUse\" %1 "
               "color-interpolation-filters=\"sRGB\">\n")
               .arg(frame);
    svg +=
        "      <feColorMatrix in=\"SourceGraphic\" result=\"opaque\" "
        "values=\"1 0 0 0 0  0 1 0 0 0  0 0 1 0 0  0 0 0 0 1\"/>\n";
    svg += QString(
               "      <feGaussianBlur in=\"opaque\" stdDeviation=\"%1\" "
               "result=\"haloBlur\"/>\n")
               .arg(SvgNumber(HaloSigma(tube)));
    svg += SvgExposureMatrix("haloBlur", "halo", &ChannelWeights::halo, kHaloGain);
    svg += QString(
               "      <feGaussianBlur in=\"opaque\" stdDeviation=\"%1\" "
               "result=\"bloomBlur\"/>\n")
               .arg(SvgNumber(BloomSigma(tube)));
    svg += SvgExposureMatrix("bloomBlur", "bloom", &ChannelWeights::bloom, 1);
    svg += SvgExposureMatrix("opaque", "tube", &ChannelWeights::body, 1, &ChannelWeights::core);
    svg +=
        "      <feComposite in=\"halo\" in2=\"bloom\" operator=\"arithmetic\" k2=\"1\" k3=\"1\" "
        "result=\"glow\"/>\n";
    svg +=
        "      <feComposite in=\"glow\" in2=\"tube\" operator=\"arithmetic\" k2=\"1\" k3=\"1\" "
        "result=\"exposure\"/>\n";
    svg += "      <feComponentTransfer in=\"exposure\" result=\"light\">\n";
    for (const char* channel : {"R", "G", "B"})
        svg +=
            QString("        <feFunc%1 type=\"table\" tableValues=\"%2\"/>\n").arg(channel, film);
    svg += "      </feComponentTransfer>\n";
    svg += "      <feComposite in=\"light\" in2=\"SourceAlpha\" operator=\"in\"/>\n";
    svg += "    </filter>\n";
    svg += "  </defs>\n";
    svg += "  <g filter=\"url(#neon)\">\n";
    svg += QString("    <circle cx=\"%1\" cy=\"%1\" r=\"%2\" fill=\"#000\"/>\n")
               .arg(centre, SvgNumber(kSize / 2.0 - 0.5));
    svg += QString(
               "    <path d=\"%1\" fill=\"none\" stroke=\"#0f0\" stroke-width=\"%2\" "
               "stroke-linecap=\"round\" stroke-linejoin=\"round\"/>\n")
               .arg(path, SvgNumber(tube));
    svg += QString(
               "    <path d=\"%1\" fill=\"none\" stroke=\"#fff\" stroke-width=\"%2\" "
               "stroke-linecap=\"round\" stroke-linejoin=\"round\"/>\n")
               .arg(path, SvgNumber(tube * kCoreShare));
    svg += "  </g>\n";
    svg += "</svg>\n";
    return svg.toUtf8();
}

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
    const std::vector<QColor> light =
        NeonLight(IconTubes(size), size, SmallIconTubeWidth(size), SmallIconGlow(size));

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
