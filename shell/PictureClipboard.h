#pragma once

#include <QByteArray>

namespace velmora {

/// The clipboard format of the plot picture.
inline constexpr char kSvgMimeType[] = "image/svg+xml";

/// Empties the system clipboard and gives it `svg` as its only format. Where the window
/// system does not hand the clipboard to this program, throws Error "Cannot open clipboard:
/// %s" with the system's reason, and the clipboard keeps what it held.
void PutPictureOnClipboard(const QByteArray& svg);

}  // namespace velmora
