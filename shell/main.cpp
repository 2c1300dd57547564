// Velmora: the virtual bench for the magnetic field of a circular current.
#include "AppTitle.h"
#include "Application.h"
#include "CloseQuestion.h"
#include "NumText.h"
#include "Pictures.h"
#include "Unit1.h"
#include "Unit2.h"
#include "Unit3.h"

int main(int argc, char** argv) {
    velmora::Application application(argc, argv);
    velmora::InstallApplicationTitle();
    velmora::Application::setWindowIcon(velmora::ProgramIcon());
    velmora::LoadFormatSettings();
    // The three windows are made hidden, the main window first; the side windows belong to
    // it, so they go down and come back with it when the program is minimised and restored.
    velmora::TForm1 form1;
    velmora::TForm2 form2(&form1);
    velmora::TForm3 form3(&form1);
    velmora::AskBeforeSessionEnds(application, [&form1] { return form1.FormCloseQuery(); });
    // Showing the main window runs Reset before its first paint (TForm1::showEvent).
    form1.show();
    return application.exec();
}
