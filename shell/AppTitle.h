#pragma once

#include <QString>

namespace velmora {

/// The application title an executable gets from its path: the file name without its
/// folder, cut before its first ".", with every character after the first in lower case
/// ("/opt/lab/Velmora" and "Velmora.exe" give "Velmora", "MyLab.Test.exe" gives "Mylab").
QString ApplicationTitleFromPath(const QString& executablePath);

/// Derives the title once from the running executable's file and makes it the application
/// name, where ApplicationTitle() finds it. Needs the application object.
void InstallApplicationTitle();

/// The application title: the caption of the error box and the task-bar name of the program.
QString ApplicationTitle();

}  // namespace velmora
