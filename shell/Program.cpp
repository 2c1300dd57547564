#include "Program.h"

#include <QLocale>

#include "AppTitle.h"
#include "CloseQuestion.h"
#include "NumText.h"
#include "Pictures.h"
#include "QtTranslations.h"

namespace velmora {

std::unique_ptr<Program> StartProgram(Application& application) {
    InstallApplicationTitle();
    LoadQtTranslations(QLocale());
    Application::setWindowIcon(ProgramIcon());
    LoadFormatSettings();
    auto program = std::make_unique<Program>();
    TForm1& form1 = program->form1;
    AskBeforeSessionEnds(application, [&form1] { return form1.FormCloseQuery(); });
    // Showing the main window runs Reset before its first paint (TForm1::showEvent).
    form1.show();
    return program;
}

}  // namespace velmora
