#pragma once

#include <QImage>

/// The set-up in perspective on white: the light-green measuring plane seen obliquely from
/// above, the dark-red coil (a shaded torus) standing upright with its centre in the plane,
/// its lower half showing through the plane, and two thin black lines on the plane crossing
/// at the coil's centre (the coil axis and the line through the two wire sections).
QImage ApparatusPicture(int width, int height);
