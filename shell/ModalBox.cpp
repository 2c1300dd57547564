#include "ModalBox.h"

#include <QApplication>
#include <QMessageBox>
#include <QPointer>

namespace velmora {

void RunModal(QMessageBox& box) {
    const QPointer<QWidget> wasActive = QApplication::activeWindow();
    // QMessageBox re-creates its window flags when its modality is set, so that comes first.
    // A fixed dialog frame with a title and a close button only, above the side windows.
    box.setWindowModality(Qt::ApplicationModal);
    box.setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                       Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint |
                       Qt::WindowStaysOnTopHint);
    box.exec();
    if (wasActive && wasActive->isVisible())
        wasActive->activateWindow();
}

}  // namespace velmora
