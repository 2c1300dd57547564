#include "MainWindowFixture.h"

#include <QApplication>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMouseEvent>
#include <QTest>
#include <QWheelEvent>

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
    return view->model()->index(row, ReadoutModel::kValueColumn).data().toString();
}

void TypeValue(TForm1& form, int row, const QString& text) {
    ReadoutView* view = Control<ReadoutView>(form, "ValueListEditor1");
    const QModelIndex cell = view->model()->index(row, ReadoutModel::kValueColumn);
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

void SendMouse(QWidget* target, QEvent::Type type, Qt::MouseButton button, QPoint at,
               Qt::MouseButtons held) {
    QMouseEvent event(type, at, target->mapToGlobal(at), button, held, Qt::NoModifier);
    QApplication::sendEvent(target, &event);
}

void DragOnPlot(PlotChart* chart, Qt::MouseButton button, QPoint from, QPoint to) {
    QWidget* canvas = chart->Canvas();
    SendMouse(canvas, QEvent::MouseButtonPress, button, from, button);
    SendMouse(canvas, QEvent::MouseMove, Qt::NoButton, (from + to) / 2, button);
    SendMouse(canvas, QEvent::MouseMove, Qt::NoButton, to, button);
    SendMouse(canvas, QEvent::MouseButtonRelease, button, to, Qt::NoButton);
    Settle();
}

void WheelOnPlot(PlotChart* chart, int delta) {
    QWidget* canvas = chart->Canvas();
    const QPoint at = chart->DataArea().center();
    QWheelEvent event(at, canvas->mapToGlobal(at), QPoint(), QPoint(0, delta), Qt::NoButton,
                      Qt::NoModifier, Qt::NoScrollPhase, false);
    QApplication::sendEvent(canvas, &event);
    Settle();
}

void Settle() {
    // The plot's queued redraw runs from a zero timer.
    QCoreApplication::sendPostedEvents();
    QCoreApplication::processEvents();
    QCoreApplication::processEvents();
}

}  // namespace velmora::test
