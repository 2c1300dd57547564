// Emptying the protocol box: at once for the eye, the old text released after the box has
// been drawn, and the box afterwards just as it was before, in look and in behaviour.
#include <QApplication>
#include <QKeyEvent>
#include <QPlainTextEdit>
#include <QPointer>
#include <QScrollBar>
#include <QTest>
#include <QTextDocument>

#include "ProtocolBox.h"

using velmora::EmptyProtocolBox;

namespace {

/// A protocol box of the main window's size, font and wrapping, holding `lines` lines.
struct FilledBox {
    explicit FilledBox(int lines) {
        window.resize(300, 300);
        QFont font(QStringLiteral("Liberation Sans"));
        font.setPixelSize(11);
        window.setFont(font);
        box = new QPlainTextEdit(&window);
        box->setGeometry(10, 10, 249, 281);
        box->setLineWrapMode(QPlainTextEdit::WidgetWidth);
        QStringList text;
        for (int i = 0; i < lines; ++i) {
            text << QStringLiteral("x (см):%1").arg(i);
        }
        box->setPlainText(text.join(QLatin1Char('\n')));
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
    }
    QWidget window;
    QPlainTextEdit* box = nullptr;
};

}  // namespace

class ProtocolBoxTest : public QObject {
    Q_OBJECT

  private slots:
    void EmptiesAtOnceAndStaysTheSameBox_data() {
        QTest::addColumn<int>("lines");
        QTest::addColumn<bool>("undo");
        QTest::newRow("a few lines") << 15 << true;
        QTest::newRow("a long protocol") << 20'000 << true;
        QTest::newRow("a long protocol, undo off") << 20'000 << false;
    }
    void EmptiesAtOnceAndStaysTheSameBox() {
        QFETCH(int, lines);
        QFETCH(bool, undo);
        FilledBox filled(lines);
        QPlainTextEdit& box = *filled.box;
        box.document()->setUndoRedoEnabled(undo);
        const QFont font = box.document()->defaultFont();

        EmptyProtocolBox(box);
        QCOMPARE(box.toPlainText(), QString());
        QCOMPARE(box.document()->blockCount(), 1);
        QCOMPARE(box.document()->defaultFont(), font);
        QCOMPARE(box.document()->isUndoRedoEnabled(), undo);
        QCOMPARE(box.lineWrapMode(), QPlainTextEdit::WidgetWidth);
        QCOMPARE(box.verticalScrollBar()->value(), 0);

        // The student types on, and the bench appends after it.
        for (const QChar c : QStringLiteral("заметка")) {
            QKeyEvent press(QEvent::KeyPress, Qt::Key_unknown, Qt::NoModifier, QString(c));
            QApplication::sendEvent(&box, &press);
        }
        box.appendPlainText(QStringLiteral("B (Тл):1,234E-5"));
        QCOMPARE(box.toPlainText(), QStringLiteral("заметка\nB (Тл):1,234E-5"));
        QCOMPARE(box.document()->isUndoAvailable(), undo);
    }

    void ReleasesTheOldTextAfterTheBoxIsDrawn() {
        FilledBox filled(20'000);
        const QPointer<QTextDocument> old = filled.box->document();
        EmptyProtocolBox(*filled.box);
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QVERIFY(!old.isNull());
        QVERIFY(old != filled.box->document());
        filled.box->viewport()->repaint();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QVERIFY(old.isNull());
    }

    void OldTextGoesWithABoxNeverDrawnAgain() {
        QPointer<QTextDocument> old;
        {
            FilledBox filled(20'000);
            old = filled.box->document();
            EmptyProtocolBox(*filled.box);
            QVERIFY(!old.isNull());
        }
        QVERIFY(old.isNull());
    }

    void EmptyingTwiceBeforeADrawReleasesBoth() {
        FilledBox filled(20'000);
        const QPointer<QTextDocument> first = filled.box->document();
        EmptyProtocolBox(*filled.box);
        filled.box->setPlainText(QString(5000, QLatin1Char('\n')));
        const QPointer<QTextDocument> second = filled.box->document();
        EmptyProtocolBox(*filled.box);
        filled.box->viewport()->repaint();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QVERIFY(first.isNull());
        QVERIFY(second.isNull());
        QCOMPARE(filled.box->toPlainText(), QString());
    }
};

QTEST_MAIN(ProtocolBoxTest)
#include "ProtocolBoxTest.moc"
