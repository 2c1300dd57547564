#include "ErrorDisplay.h"

#include <QApplication>
#include <QMessageBox>
#include <QPushButton>
#include <QWidget>

#include "AppTitle.h"
#include "Bench.h"
#include "ModalBox.h"

namespace velmora {

void ShowError(const QString& message) {
    // A drag on the plot must not go on behind the box, nor resume after it.
    if (QWidget* grabber = QWidget::mouseGrabber())
        grabber->releaseMouse();

    const QString text = QString::fromStdU16String(ErrorBoxText(message.toStdU16String()));
    QMessageBox box(QMessageBox::Critical, ApplicationTitle(), text, QMessageBox::NoButton,
                    QApplication::activeWindow());
    // The message may quote what the student typed: shown as it is, never as markup.
    box.setTextFormat(Qt::PlainText);
    QPushButton* ok = box.addButton(QStringLiteral("OK"), QMessageBox::AcceptRole);
    box.setDefaultButton(ok);
    box.setEscapeButton(ok);
    RunModal(box);
}

}  // namespace velmora
