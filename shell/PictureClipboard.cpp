#include "PictureClipboard.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QMimeData>
#include <QPainter>
#include <QSvgRenderer>

#include "Error.h"

namespace velmora {
namespace {

/// Qt's own name for image data, which the window system converts to the raster formats.
const QString kImageFormat = QStringLiteral("application/x-qt-image");

/// Millimetres per inch, to state the raster image's density in dots per metre.
constexpr double kMillimetresPerInch = 25.4;
/// The screen density the plot is drawn for, in dots per inch.
constexpr double kScreenDotsPerInch = 96;

/// The plot picture as the clipboard holds it: the SVG drawing, and the raster image drawn
/// from it whenever a program asks for one. Drawn from the picture taken at the copy, the
/// image shows what the SVG shows even after the plot has changed, and the program holds
/// no image of several megabytes while nobody pastes.
class PlotPictureData : public QMimeData {
  public:
    explicit PlotPictureData(const QByteArray& svg) {
        setData(QString::fromLatin1(kSvgMimeType), svg);
    }

    QStringList formats() const override { return QMimeData::formats() << kImageFormat; }
    bool hasFormat(const QString& mimeType) const override {
        return mimeType == kImageFormat || QMimeData::hasFormat(mimeType);
    }

  protected:
    QVariant retrieveData(const QString& mimeType, QMetaType type) const override {
        if (mimeType == kImageFormat) {
            return RasterPicture(data(QString::fromLatin1(kSvgMimeType)));
        }
        return QMimeData::retrieveData(mimeType, type);
    }
};

/// What the platform layer said while the clipboard was being set: on X11 it is the only
/// word on why the clipboard could not be taken over.
QString g_platformSays;

void KeepPlatformMessage(QtMsgType, const QMessageLogContext&, const QString& message) {
    if (g_platformSays.isEmpty()) {
        g_platformSays = message;
    }
}

}  // namespace

QImage RasterPicture(const QByteArray& svg) {
    QSvgRenderer drawing(svg);
    const QSize size = drawing.defaultSize().expandedTo(QSize(1, 1)) * kRasterScale;
    // Opaque, so that a pasted image has the white ground and no transparency to lose.
    QImage image(size, QImage::Format_RGB32);
    image.fill(Qt::white);
    const int dotsPerMetre = qRound(kRasterScale * kScreenDotsPerInch * 1000 / kMillimetresPerInch);
    image.setDotsPerMeterX(dotsPerMetre);
    image.setDotsPerMeterY(dotsPerMetre);
    QPainter painter(&image);
    painter.setRenderHints(QPainter::Antialiasing | QPainter::TextAntialiasing |
                           QPainter::SmoothPixmapTransform);
    drawing.render(&painter, QRectF(QPointF(0, 0), size));
    return image;
}

void PutPictureOnClipboard(const QByteArray& svg) {
    QClipboard* clipboard = QGuiApplication::clipboard();
    auto* data = new PlotPictureData(svg);

    g_platformSays.clear();
    const QtMessageHandler previous = qInstallMessageHandler(KeepPlatformMessage);
    clipboard->setMimeData(data, QClipboard::Clipboard);  // the clipboard owns `data` now
    qInstallMessageHandler(previous);

    // The clipboard hands back the very data it was given only when this program owns it.
    if (clipboard->mimeData(QClipboard::Clipboard) != data) {
        const QString reason = g_platformSays.isEmpty()
                                   ? QStringLiteral("the window system gave it to another program")
                                   : g_platformSays;
        throw Error(u"Cannot open clipboard: " + reason.toStdU16String());
    }
}

}  // namespace velmora
