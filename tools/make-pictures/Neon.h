#pragma once

#include <QByteArray>
#include <QImage>

/// The formula E = mc² drawn as glowing green neon tubes on black, `size` × `size` pixels,
/// opaque: the picture of the information window.
QImage NeonFormulaPicture(int size);

/// The program icon: the same formula inside a glowing green ring on a black disc; outside
/// the disc the icon is transparent. Below 64 pixels the glow is dimmed and the tubes kept
/// at least a pixel wide, so the letters stay apart.
QImage NeonFormulaIcon(int size);

/// The program icon as a scalable SVG document in a 94-unit square: the same tubes, ring
/// and disc, the glow made by SVG filters.
QByteArray NeonFormulaIconSvg();
