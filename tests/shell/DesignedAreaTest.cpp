// The main window on screens of every size: where it opens and how large, its designed area
// scrolled on a screen too small for it, with Tab bringing each control into view.
#include <QPushButton>
#include <QScrollBar>
#include <QTest>

#include "DesignedArea.h"
#include "MainWindowFixture.h"

namespace velmora::test {

class DesignedAreaTest : public QObject {
    Q_OBJECT

  private slots:
    void OpensInsideTheWorkArea_data() {
        QTest::addColumn<QRect>("desktop");
        QTest::addColumn<QRect>("workArea");
        QTest::addColumn<QRect>("client");
        // openbox's frame: 1 pixel at the sides, 20 above, 5 below; scroll bars 14 broad.
        QTest::newRow("fits: centred on the desktop")
            << QRect(0, 0, 1280, 1024) << QRect(0, 0, 1280, 1024) << QRect(129, 151, 1023, 737);
        QTest::newRow("fits: centred, moved up off a tall panel")
            << QRect(0, 0, 1280, 1024) << QRect(0, 0, 1280, 800) << QRect(129, 58, 1023, 737);
        QTest::newRow("fits: centred, moved down off a panel at the top")
            << QRect(0, 0, 1280, 1024) << QRect(0, 200, 1280, 824) << QRect(129, 220, 1023, 737);
        QTest::newRow("too low: as tall as the work area, a scroll bar wider")
            << QRect(0, 0, 1366, 768) << QRect(0, 0, 1366, 728) << QRect(165, 20, 1037, 703);
        QTest::newRow("too narrow: as wide as the work area, a scroll bar taller")
            << QRect(0, 0, 1000, 1200) << QRect(0, 0, 1000, 1200) << QRect(1, 232, 998, 751);
        QTest::newRow("too small both ways: the whole work area")
            << QRect(0, 0, 800, 600) << QRect(0, 0, 800, 560) << QRect(1, 20, 798, 535);
        QTest::newRow("low by less than a scroll bar once a bar is needed across")
            << QRect(0, 0, 1024, 775) << QRect(0, 0, 1024, 775) << QRect(1, 20, 1022, 750);
    }
    void OpensInsideTheWorkArea() {
        QFETCH(QRect, desktop);
        QFETCH(QRect, workArea);
        QFETCH(QRect, client);
        QCOMPARE(OpeningClientArea(QSize(1023, 737), QMargins(1, 20, 1, 5), desktop, workArea, 14),
                 client);
    }

    void TabBringsTheFocusedControlIntoView() {
        const std::unique_ptr<TForm1> form = ShowMainWindow();
        form->resize(600, 400);
        auto* area = form->findChild<DesignedArea*>();
        QTRY_VERIFY(area->verticalScrollBar()->isVisible());
        QVERIFY(area->horizontalScrollBar()->isVisible());
        // From the plot all the way round: every control comes into view in turn, as much of
        // it as the view can hold (of a text box, the part where the student types).
        const QRect view = area->viewport()->rect();
        for (int press = 0; press < 18; ++press) {
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
            QWidget* focused = QApplication::focusWidget();
            const QRect shown(focused->mapTo(area->viewport(), QPoint(0, 0)), focused->size());
            const bool editor = focused->testAttribute(Qt::WA_InputMethodEnabled);
            const bool whole =
                shown.intersected(view).size() == shown.size().boundedTo(view.size());
            QVERIFY2(whole || (editor && view.contains(shown.topLeft())),
                     qPrintable(focused->objectName()));
        }
        // Maximised, or on a large screen, the designed area sits at the top left, unscrolled.
        form->resize(1400, 1000);
        QTRY_VERIFY(!area->verticalScrollBar()->isVisible());
        QCOMPARE(area->Client()->mapTo(form.get(), QPoint(0, 0)), QPoint(0, 0));
        QCOMPARE(area->Client()->size(), QSize(1023, 737));
    }
};

QObject* NewDesignedAreaTest() {
    return new DesignedAreaTest;
}

}  // namespace velmora::test

#include "DesignedAreaTest.moc"
