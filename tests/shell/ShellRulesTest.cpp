// The shell's two pure rules: the application title taken from the executable's name, and
// the place of a side window's first show.
#include <QTest>

#include "AppTitle.h"
#include "SideWindow.h"

using velmora::ApplicationTitleFromPath;
using velmora::FirstShowPosition;

class ShellRulesTest : public QObject {
    Q_OBJECT

  private slots:
    void TitleFromExecutable_data() {
        QTest::addColumn<QString>("path");
        QTest::addColumn<QString>("title");
        QTest::newRow("program as shipped") << "Velmora.exe"
                                            << "Velmora";
        QTest::newRow("no extension") << "Velmora"
                                      << "Velmora";
        QTest::newRow("cut at the first dot") << "MyLab.Test.exe"
                                              << "Mylab";
        QTest::newRow("all capitals") << "VELMORA"
                                      << "Velmora";
        QTest::newRow("first letter kept small") << "velmora.bin"
                                                 << "velmora";
        QTest::newRow("folders stripped") << "/usr/local/bin/Velmora"
                                          << "Velmora";
        QTest::newRow("dotted folder stripped") << "/opt/lab.v2/MyLab.Test.exe"
                                                << "Mylab";
        QTest::newRow("Cyrillic lowered") << "/home/ЛАБ/МагПоле.exe"
                                          << "Магполе";
        QTest::newRow("starts with a dot") << "/tmp/.Hidden"
                                           << "";
        QTest::newRow("empty") << ""
                               << "";
        QTest::newRow("one letter") << "/x/V.exe"
                                    << "V";
        QTest::newRow("digits and signs kept") << "Lab-2B_X.exe"
                                               << "Lab-2b_x";
    }
    void TitleFromExecutable() {
        QFETCH(QString, path);
        QFETCH(QString, title);
        QCOMPARE(ApplicationTitleFromPath(path), title);
    }

    void FirstShowPlacement_data() {
        QTest::addColumn<QRect>("mainFrame");
        QTest::addColumn<QSize>("frameSize");
        QTest::addColumn<QRect>("workArea");
        QTest::addColumn<QPoint>("position");
        const QRect screen(0, 0, 1920, 1040);
        QTest::newRow("centred, even halves")
            << QRect(448, 152, 1024, 768) << QSize(660, 370) << screen << QPoint(630, 351);
        QTest::newRow("odd halves truncated")
            << QRect(100, 100, 1031, 769) << QSize(660, 370) << screen << QPoint(285, 299);
        QTest::newRow("wider than the main window: truncated towards zero, not down")
            << QRect(300, 300, 101, 101) << QSize(200, 200) << screen << QPoint(251, 251);
        QTest::newRow("main window beyond the left edge")
            << QRect(-700, 100, 1031, 769) << QSize(660, 370) << screen << QPoint(0, 299);
        QTest::newRow("main window beyond the top edge")
            << QRect(100, -600, 1031, 769) << QSize(541, 486) << screen << QPoint(345, 0);
        QTest::newRow("raised to a work area below a panel")
            << QRect(-400, -500, 1031, 769) << QSize(541, 486) << QRect(48, 30, 1872, 1010)
            << QPoint(48, 30);
        QTest::newRow("right and bottom edges are not clamped")
            << QRect(1500, 800, 1031, 769) << QSize(660, 370) << screen << QPoint(1685, 999);
        QTest::newRow("second monitor's work area")
            << QRect(1800, 50, 1031, 769) << QSize(660, 370) << QRect(1920, 0, 1280, 1000)
            << QPoint(1985, 249);
    }
    void FirstShowPlacement() {
        QFETCH(QRect, mainFrame);
        QFETCH(QSize, frameSize);
        QFETCH(QRect, workArea);
        QFETCH(QPoint, position);
        QCOMPARE(FirstShowPosition(mainFrame, frameSize, workArea), position);
    }
};

QTEST_APPLESS_MAIN(ShellRulesTest)
#include "ShellRulesTest.moc"
