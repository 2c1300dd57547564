// Qt's own texts follow the desktop's language (this test runs under a Russian locale);
// the windows keep their left-to-right layout under a right-to-left language.
#include <QApplication>
#include <QContextMenuEvent>
#include <QLocale>
#include <QMenu>
#include <QTest>

#include "ProtocolBox.h"
#include "QtTranslations.h"

class QtTranslationsTest : public QObject {
    Q_OBJECT

  private slots:
    void ProtocolBoxMenuSpeaksTheDesktopsLanguage() {
        velmora::LoadQtTranslations(QLocale());
        velmora::ProtocolBox box;
        box.show();
        QContextMenuEvent event(QContextMenuEvent::Mouse, QPoint(5, 5),
                                box.mapToGlobal(QPoint(5, 5)));
        QApplication::sendEvent(box.viewport(), &event);
        auto* menu = box.findChild<QMenu*>();
        QVERIFY(menu != nullptr);
        const QString undo = menu->findChild<QAction*>(QStringLiteral("edit-undo"))->text();
        QVERIFY2(undo.contains(QRegularExpression(QStringLiteral("[А-Яа-я]"))), qPrintable(undo));
        delete menu;
    }

    void RightToLeftLanguageKeepsTheLayout() {
        velmora::LoadQtTranslations(QLocale(QLocale::Arabic));
        QCoreApplication::processEvents();  // the translation's language change
        QVERIFY(QCoreApplication::translate("QWidgetTextControl", "&Undo") !=
                QLatin1String("&Undo"));
        QCOMPARE(QGuiApplication::layoutDirection(), Qt::LeftToRight);
        QWidget window;
        QCOMPARE(window.layoutDirection(), Qt::LeftToRight);
    }
};

QTEST_MAIN(QtTranslationsTest)
#include "QtTranslationsTest.moc"
