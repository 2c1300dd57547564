// Runs the main-window test classes in the application object the program uses, so an
// event goes through the same notify() as in the program.
#include <QTest>
#include <memory>

#include "Application.h"
#include "MainWindowFixture.h"

int main(int argc, char** argv) {
    velmora::Application application(argc, argv);
    int failures = 0;
    for (auto* make : {velmora::test::NewLayoutTest, velmora::test::NewCommandTest,
                       velmora::test::NewPlotGestureTest, velmora::test::NewCopyPictureTest,
                       velmora::test::NewDesignedAreaTest}) {
        std::unique_ptr<QObject> tests(make());
        failures += QTest::qExec(tests.get(), argc, argv);
    }
    return failures == 0 ? 0 : 1;
}
