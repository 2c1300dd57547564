#pragma once

#include <QImage>

/// The picture reduced to at most 256 colours (an 8-bit palette image) by median cut over
/// red, green, blue and opacity. Entry 0 is fully transparent and takes every fully
/// transparent pixel; partly transparent rim pixels keep their opacity in the palette.
QImage ToPalette256(const QImage& picture);
