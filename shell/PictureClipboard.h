#pragma once

#include <QByteArray>
#include <QImage>
#include <QSize>

namespace velmora {

/// The clipboard format of the plot's vector picture.
inline constexpr char kSvgMimeType[] = "image/svg+xml";

/// The raster image of the plot picture has this many pixels a side for each pixel of the
/// plot: at twice the screen's density it stays crisp when a report is printed.
inline constexpr int kRasterScale = 2;

/// `svg` drawn as a raster image on the plot's white ground, kRasterScale times the picture's
/// size in pixels, with a density that gives it the picture's size on paper.
QImage RasterPicture(const QByteArray& svg);

/// Empties the system clipboard and gives it the plot picture: `svg` as it is, and beside it
/// the same drawing as a raster image (RasterPicture, made only when a program asks for it),
/// which the desktop offers as image/png and the other raster formats. Where the window
/// system does not hand the clipboard to this program, throws Error "Cannot open clipboard:
/// %s" with the system's reason, and the clipboard keeps what it held.
void PutPictureOnClipboard(const QByteArray& svg);

}  // namespace velmora
