// The protocol box: undo and redo of the student's edits that never take an appended entry
// away; emptying at once for the eye, the old text released after the box has been drawn,
// and the box afterwards just as it was before, in look and in behaviour.
#include <QApplication>
#include <QContextMenuEvent>
#include <QKeyEvent>
#include <QMenu>
#include <QPointer>
#include <QScrollBar>
#include <QTest>
#include <QTextDocument>

#include "ProtocolBox.h"

using velmora::ProtocolBox;

namespace {

/// A protocol box of the main window's size, font and wrapping, holding `lines` lines.
struct FilledBox {
    explicit FilledBox(int lines) {
        window.resize(300, 300);
        QFont font(QStringLiteral("Liberation Sans"));
        font.setPixelSize(11);
        window.setFont(font);
        box = new ProtocolBox(&window);
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
    ProtocolBox* box = nullptr;
};

void Type(QWidget* box, const QString& text) {
    for (const QChar c : text) {
        QKeyEvent press(QEvent::KeyPress, Qt::Key_unknown, Qt::NoModifier, QString(c));
        QApplication::sendEvent(box, &press);
    }
}

/// The entry the bench appends as the n-th record, shortened to its first and last lines.
QStringList Entry(int n) {
    return {QStringLiteral("x (см):%1").arg(n), QStringLiteral(" ")};
}

/// Runs `steps` on an empty box: "t:TEXT" types, "record" appends the next entry, "undo",
/// "redo" and "backspace" press Ctrl+Z, Ctrl+Y and Backspace, "menu-undo" picks the context
/// menu's undo entry.
QString Run(const QStringList& steps) {
    FilledBox filled(0);
    ProtocolBox& box = *filled.box;
    box.setFocus();
    int entries = 0;
    for (const QString& step : steps) {
        if (step.startsWith(QLatin1String("t:"))) {
            Type(&box, step.mid(2));
        } else if (step == QLatin1String("record")) {
            box.AppendLines(Entry(++entries));
        } else if (step == QLatin1String("undo")) {
            QTest::keyClick(&box, Qt::Key_Z, Qt::ControlModifier);
        } else if (step == QLatin1String("redo")) {
            QTest::keyClick(&box, Qt::Key_Y, Qt::ControlModifier);
        } else if (step == QLatin1String("backspace")) {
            QTest::keyClick(&box, Qt::Key_Backspace);
        } else if (step == QLatin1String("menu-undo")) {
            QContextMenuEvent event(QContextMenuEvent::Mouse, QPoint(5, 5),
                                    box.viewport()->mapToGlobal(QPoint(5, 5)));
            QApplication::sendEvent(box.viewport(), &event);
            auto* menu = box.findChild<QMenu*>();
            auto* undo = menu->findChild<QAction*>(QStringLiteral("edit-undo"));
            if (undo->isEnabled()) {
                undo->trigger();
            }
            delete menu;
        }
    }
    return box.toPlainText();
}

}  // namespace

class ProtocolBoxTest : public QObject {
    Q_OBJECT

  private slots:
    void UndoAndRedoNeverTakeAnEntry_data() {
        QTest::addColumn<QStringList>("steps");
        QTest::addColumn<QString>("text");
        const QString one = QStringLiteral("x (см):1\n ");
        const QString two = QStringLiteral("x (см):2\n ");
        const QString three = QStringLiteral("x (см):3\n ");
        QTest::newRow("five undos after three records")
            << QStringList{"record", "record", "record", "undo", "undo", "undo", "undo", "undo"}
            << one + "\n" + two + "\n" + three;
        QTest::newRow("undo takes the note back, not the entry after it")
            << QStringList{"t:заметка", "record", "undo"} << "\n" + one;
        QTest::newRow("recording keeps the redo history; the note comes back on its own line")
            << QStringList{"t:ab", "undo", "record", "redo"} << "ab\n" + one;
        QTest::newRow("undo and redo across records")
            << QStringList{"t:a", "record", "t:b", "record", "undo", "undo", "redo", "redo"}
            << "a\n" + one + "b\n" + two;
        QTest::newRow("typing is one step, so is backspacing")
            << QStringList{"t:abc", "backspace", "backspace", "undo"} << QStringLiteral("abc");
        QTest::newRow("typing undone in one step") << QStringList{"t:abc", "undo"} << QString();
        QTest::newRow("a new edit clears the redo history, a record does not")
            << QStringList{"t:ab", "undo", "record", "t:c", "redo"} << one + "c";
        QTest::newRow("the context menu undoes the note only")
            << QStringList{"record", "t:q", "menu-undo", "menu-undo"} << one;
    }
    void UndoAndRedoNeverTakeAnEntry() {
        QFETCH(QStringList, steps);
        QFETCH(QString, text);
        QCOMPARE(Run(steps), text);
    }

    void EmptiesAtOnceAndStaysTheSameBox_data() {
        QTest::addColumn<int>("lines");
        QTest::newRow("a few lines") << 15;
        QTest::newRow("a long protocol") << 20'000;
    }
    void EmptiesAtOnceAndStaysTheSameBox() {
        QFETCH(int, lines);
        FilledBox filled(lines);
        ProtocolBox& box = *filled.box;
        const QFont font = box.document()->defaultFont();

        box.Empty();
        QCOMPARE(box.toPlainText(), QString());
        QCOMPARE(box.document()->blockCount(), 1);
        QCOMPARE(box.document()->defaultFont(), font);
        QCOMPARE(box.lineWrapMode(), QPlainTextEdit::WidgetWidth);
        QCOMPARE(box.verticalScrollBar()->value(), 0);
        QVERIFY(!box.CanUndoEdit());

        // The student types on, the bench appends after it, and undo takes the typing back.
        Type(&box, QStringLiteral("заметка"));
        box.AppendLines({QStringLiteral("B (Тл):1,234E-5")});
        QCOMPARE(box.toPlainText(), QStringLiteral("заметка\nB (Тл):1,234E-5"));
        box.UndoEdit();
        QCOMPARE(box.toPlainText(), QStringLiteral("\nB (Тл):1,234E-5"));
        QVERIFY(!box.document()->isUndoRedoEnabled());
    }

    void ReleasesTheOldTextAfterTheBoxIsDrawn() {
        FilledBox filled(20'000);
        const QPointer<QTextDocument> old = filled.box->document();
        filled.box->Empty();
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
            filled.box->Empty();
            QVERIFY(!old.isNull());
        }
        QVERIFY(old.isNull());
    }

    void EmptyingTwiceBeforeADrawReleasesBoth() {
        FilledBox filled(20'000);
        const QPointer<QTextDocument> first = filled.box->document();
        filled.box->Empty();
        filled.box->setPlainText(QString(5000, QLatin1Char('\n')));
        const QPointer<QTextDocument> second = filled.box->document();
        filled.box->Empty();
        filled.box->viewport()->repaint();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QVERIFY(first.isNull());
        QVERIFY(second.isNull());
        QCOMPARE(filled.box->toPlainText(), QString());
    }
};

QTEST_MAIN(ProtocolBoxTest)
#include "ProtocolBoxTest.moc"
