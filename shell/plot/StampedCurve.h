#pragma once

#include <qcustomplot.h>

#include <QImage>
#include <array>

namespace velmora {

/// A point layer of the plot (QCPCurve with point symbols) that draws its symbols on screen
/// by stamping an image of the symbol, instead of drawing every symbol as a shape: ten
/// thousand anti-aliased circles take tens of milliseconds as shapes and a few as stamps.
/// The symbol is drawn into its image by the same scatter style, at one of kPhases × kPhases
/// sub-pixel positions (each made when first needed), so a stamped symbol lies at most
/// 1/(2 kPhases) pixel from where a drawn one would. Lines one device pixel wide or thinner
/// are drawn pixel by pixel rather than by their exact position, so symbols made of such
/// lines alone (crosses, stars…) keep their shapes; a closed symbol with a solid fill (the
/// trace's circles) is stamped, as its thin outline lies on the fill's edge. Vector output
/// (the clipboard picture) and painters that are rotated, sheared or not raster keep the
/// shapes too.
class StampedCurve : public QCPCurve {
  public:
    static constexpr int kPhases = 16;

    StampedCurve(QCPAxis* keyAxis, QCPAxis* valueAxis);

    /// Whether the last drawing of the symbols stamped them (rather than drew shapes).
    bool Stamped() const { return stamped_; }

  protected:
    void drawScatterPlot(QCPPainter* painter, const QVector<QPointF>& points,
                         const QCPScatterStyle& style) const override;

  private:
    /// What the prepared stamps were made for.
    struct StampKey {
        QCPScatterStyle::ScatterShape shape = QCPScatterStyle::ssNone;
        double size = 0;
        QPen pen;
        QBrush brush;
        qreal scale = 0;
        bool antialiased = false;
        QCPPainter::PainterModes modes;
        bool operator==(const StampKey& other) const;
    };

    /// Whether `painter` draws the symbol of `style` with `pen` in a way stamps reproduce.
    static bool CanStamp(const QCPPainter& painter, const QCPScatterStyle& style, const QPen& pen);
    /// Whether the symbol looks the same wherever it lies within a pixel, at device scale
    /// `scale`.
    static bool SmoothSymbol(const QCPScatterStyle& style, const QPen& pen, qreal scale);
    /// Forgets the stamps when they were made for another look or scale.
    void UseStamps(const StampKey& key) const;
    /// The stamp of sub-pixel position (column, row) ÷ kPhases, made when first asked for.
    const QImage& Stamp(int column, int row, const QCPScatterStyle& style) const;

    /// Stamps the symbols at `points` (the plot's pixels; `toDevice` maps them to the
    /// `size` device pixels painted on) that the layer does not hold yet, after making it
    /// anew when `points` are not the ones it holds followed by others.
    void UpdateLayer(const QVector<QPointF>& points, const QTransform& toDevice, QSize size,
                     const QCPScatterStyle& style) const;

    mutable StampKey stampKey_;
    mutable std::array<QImage, kPhases * kPhases> stamps_;
    /// Device pixels from a stamp's top-left corner to the symbol's centre at phase 0.
    mutable int stampCentre_ = 0;
    mutable bool stamped_ = false;

    mutable QImage layer_;
    /// The points (the plot's pixels) whose symbols the layer holds, in drawing order.
    mutable QVector<QPointF> layerPoints_;
    mutable QTransform layerTransform_;
    /// The device pixels of the layer that hold symbols.
    mutable QRect layerCovered_;
};

}  // namespace velmora
