#pragma once

#include <QString>

/// The file name, without extension, of Velmora's icon in an icon theme: the program's
/// application id, which its desktop entry names as Icon=.
inline constexpr char kIconName[] = "org.example.Velmora";

/// The pixel sizes of the icon written for the hicolor theme, the sizes desktops look up.
inline constexpr int kThemeIconSizes[] = {16, 22, 24, 32, 48, 64, 128, 256};

/// Writes the icon into `folder` laid out as the hicolor theme: hicolor/NxN/apps/ICON.png
/// for every size above, drawn at that size in true colour, and
/// hicolor/scalable/apps/ICON.svg. Reports a failure on standard error and returns false.
bool WriteIconTheme(const QString& folder);
