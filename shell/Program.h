#pragma once

#include <memory>

#include "Application.h"
#include "Unit1.h"
#include "Unit2.h"
#include "Unit3.h"

namespace velmora {

/// The program's three windows: the main window, and the information and apparatus windows
/// that belong to it (they go down and come back with it when it is minimised and restored).
struct Program {
    Program() { form1.SetSideWindows(form2, form3); }

    TForm1 form1;
    TForm2 form2{&form1};
    TForm3 form3{&form1};
};

/// The start-up sequence, inside the running `application`: the application title from the
/// executable's name, Qt's own texts in the desktop's language, the program icon, the user's number
/// format, the three windows made hidden (the main window first), the question before the desktop
/// session ends, and the main window shown, which runs Reset before its first paint. The caller
/// then runs the event loop; the windows live as long as the returned object.
std::unique_ptr<Program> StartProgram(Application& application);

}  // namespace velmora
