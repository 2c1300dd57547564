#include "MainWindowFixture.h"

#include <QApplication>
#include <QKeyEvent>
#include <QLineEdit>
#include <QTest>

#include "ReadoutModel.h"
#include "ReadoutView.h"

namespace velmora::test {

std::unique_ptr<TForm1> ShowMainWindow() {
    auto form = std::make_unique<TForm1>();
    form->show();
    form->activateWindow();
    if (!QTest::qWaitForWindowExposed(form.get()) || !QTest::qWaitForWindowActive(form.get())) {
        qFatal("the main window did not come up");
    }
    Settle();
    return form;
}

QString ShownValue(const TForm1& form, int row) {
    const ReadoutView* view = Control<ReadoutView>(form, "ValueListEditor1");
    return view->model()->index(row, ReadoutModel::ValueColumn).data().toString();
}

void TypeValue(TForm1& form, int row, const QString& text) {
    ReadoutView* view = Control<ReadoutView>(form, "ValueListEditor1");
    const QModelIndex cell = view->model()->index(row, ReadoutModel::ValueColumn);
    QTest::mouseClick(view->viewport(), Qt::LeftButton, {}, view->visualRect(cell).center());
    auto* editor = qobject_cast<QLineEdit*>(view->indexWidget(cell));
    if (editor == nullptr) {
        qFatal("no in-place editor on row %d", row);
    }
    editor->selectAll();
    TypeText(editor, text);
}

void TypeText(QWidget* widget, const QString& text) {
    for (const QChar c : text) {
        if (c == QLatin1Char('\n')) {
            QTest::keyClick(widget, Qt::Key_Return);
            continue;
        }
        // A key event carrying the character, as a keyboard layout with that letter sends it.
        QKeyEvent press(QEvent::KeyPress, Qt::Key_unknown, Qt::NoModifier, QString(c));
        QKeyEvent release(QEvent::KeyRelease, Qt::Key_unknown, Qt::NoModifier, QString(c));
        QApplication::sendEvent(widget, &press);
        QApplication::sendEvent(widget, &release);
    }
}

void Click(QAbstractButton* button) {
    QTest::mouseClick(button, Qt::LeftButton);
    Settle();
}

void Settle() {
    // The plot's queued redraw runs from a zero timer.
    QCoreApplication::sendPostedEvents();
    QCoreApplication::processEvents();
    QCoreApplication::processEvents();
}

}  // namespace velmora::test
