// Velmora: the virtual bench for the magnetic field of a circular current.
#include "Application.h"
#include "Program.h"

int main(int argc, char** argv) {
    velmora::Application application(argc, argv);
    const std::unique_ptr<velmora::Program> program = velmora::StartProgram(application);
    return application.exec();
}
