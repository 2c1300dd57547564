// Velmora: the virtual bench for the magnetic field of a circular current.
#include "Application.h"
#include "NumText.h"
#include "Unit1.h"

int main(int argc, char** argv) {
    velmora::Application application(argc, argv);
    velmora::LoadFormatSettings();
    velmora::TForm1 form1;
    form1.show();
    return application.exec();
}
