#pragma once

#include <QIcon>

namespace velmora {

/// Registers the pictures compiled into the program (":/pictures/…"): the information
/// window's formula.jpg, the apparatus window's apparatus.bmp and the icon velmora.png.
/// Safe to call any number of times; the side windows call it before loading their pictures.
void LoadPictures();

/// The program icon, E = mc² in a glowing green circle, 94 × 94 pixels with 256 colours.
QIcon ProgramIcon();

}  // namespace velmora
