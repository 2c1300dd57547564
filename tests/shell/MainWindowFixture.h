#pragma once

#include <QAbstractButton>
#include <QEvent>
#include <QPoint>
#include <QString>
#include <memory>

#include "PlotChart.h"
#include "Unit1.h"

class QObject;

namespace velmora::test {

/// The main window as the student first sees it: shown, active, Reset done, the queued
/// redraw of the plot done.
std::unique_ptr<TForm1> ShowMainWindow();

/// A control of the window by its definition name; fails the test when it is missing.
template <class T>
T* Control(const TForm1& form, const char* name) {
    T* control = form.findChild<T*>(QString::fromLatin1(name));
    if (control == nullptr) {
        qFatal("no control %s", name);
    }
    return control;
}

/// The value column of a readout row, as the table shows it.
QString ShownValue(const TForm1& form, int row);

/// Types `text` over the value of `row` through the table's in-place editor, as a student
/// does: click into the cell, select what it holds, type.
void TypeValue(TForm1& form, int row, const QString& text);

/// Types `text` into `widget` key by key, Cyrillic letters and line breaks included.
void TypeText(QWidget* widget, const QString& text);

/// A left click on the middle of a button, then the queued redraws.
void Click(QAbstractButton* button);

/// A mouse event sent straight to `target`, at `at` in its coordinates.
void SendMouse(QWidget* target, QEvent::Type type, Qt::MouseButton button, QPoint at,
               Qt::MouseButtons held);
/// A press, two moves and a release with `button` on the plot's drawing, then the redraw.
void DragOnPlot(PlotChart* chart, Qt::MouseButton button, QPoint from, QPoint to);
/// A wheel turn of `delta` eighths of a degree over the middle of the plot's data area.
void WheelOnPlot(PlotChart* chart, int delta);

/// Lets queued work (the plot's redraw) run.
void Settle();

/// The test classes of the window tests, run one after another by main().
QObject* NewLayoutTest();
QObject* NewCommandTest();
QObject* NewPlotGestureTest();
QObject* NewCopyPictureTest();
QObject* NewDesignedAreaTest();

}  // namespace velmora::test
