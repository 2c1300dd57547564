#pragma once

#include <QFont>

namespace velmora {

/// The character height of the windows' ordinary text: 11 pixels (8 pt).
inline constexpr int kBenchFontPixels = 11;

/// The bench's face, the stand-in for "MS Sans Serif" in all three windows: a sans-serif face
/// with Cyrillic and Arial's letter widths (Liberation Sans, which the package depends on),
/// so every caption fits its control as designed; DejaVu Sans takes its place where it is
/// missing. `pixels` is the character height, device-independent so that it scales with the
/// screen, and `stretch` the width in per cent of the face's own.
QFont BenchFont(int pixels, int stretch = QFont::Unstretched);

}  // namespace velmora
