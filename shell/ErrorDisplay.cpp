#include "ErrorDisplay.h"

#include <QApplication>
#include <QMessageBox>
#include <QPushButton>
#include <QWidget>
#include <exception>

#include "AppTitle.h"
#include "Bench.h"
#include "Error.h"
#include "ModalBox.h"

namespace velmora {
namespace {

/// The box shows a message of up to this many characters whole.
constexpr qsizetype kBoxCharacters = 1000;
/// Of a longer one it shows this many characters from the end.
constexpr qsizetype kBoxTail = 300;

/// `text` cut at `length` characters (from the start, or from the end when `fromEnd`),
/// without halving a character of two code units.
QString Part(const QString& text, qsizetype length, bool fromEnd) {
    if (fromEnd) {
        qsizetype from = text.size() - length;
        if (text.at(from).isLowSurrogate()) {
            ++from;
        }
        return text.mid(from);
    }
    if (text.at(length - 1).isHighSurrogate()) {
        --length;
    }
    return text.left(length);
}

/// What the box shows of `text`: all of it, up to kBoxCharacters characters. A longer one,
/// such as the conversion error quoting a pasted megabyte, would make a box taller than any
/// screen, with its button out of reach, that takes seconds to lay out: it is shown by its
/// beginning and its end, joined by "…".
QString FitForBox(const QString& text) {
    if (text.size() <= kBoxCharacters) {
        return text;
    }
    return Part(text, kBoxCharacters - kBoxTail - 1, false) + QChar(0x2026) +
           Part(text, kBoxTail, true);
}

}  // namespace

void ShowError(const QString& message) {
    // A drag on the plot must not go on behind the box, nor resume after it.
    if (QWidget* grabber = QWidget::mouseGrabber())
        grabber->releaseMouse();

    const QString text =
        FitForBox(QString::fromStdU16String(ErrorBoxText(message.toStdU16String())));
    QMessageBox box(QMessageBox::Critical, ApplicationTitle(), text, QMessageBox::NoButton,
                    QApplication::activeWindow());
    // The message may quote what the student typed: shown as it is, never as markup.
    box.setTextFormat(Qt::PlainText);
    QPushButton* ok = box.addButton(QStringLiteral("OK"), QMessageBox::AcceptRole);
    box.setDefaultButton(ok);
    box.setEscapeButton(ok);
    RunModal(box);
}

void CallShowingErrors(const std::function<void()>& action) {
    try {
        action();
    } catch (const Error& error) {
        ShowError(QString::fromStdU16String(error.Message()));
    } catch (const std::exception& error) {
        ShowError(QString::fromUtf8(error.what()));
    }
}

}  // namespace velmora
