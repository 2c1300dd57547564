#pragma once

#include <QImage>

/// The formula E = mc² drawn as glowing green neon tubes on black, `size` × `size` pixels,
/// opaque: the picture of the information window.
QImage NeonFormulaPicture(int size);

/// The program icon: the same formula inside a glowing green ring on a black disc; outside
/// the disc the icon is transparent.
QImage NeonFormulaIcon(int size);
