#include "ModalBox.h"

#include <QApplication>
#include <QMessageBox>
#include <QPointer>

namespace velmora {

void RunModal(QMessageBox& box) {
    const QPointer<QWidget> wasActive = QApplication::activeWindow();
    // QMessageBox re-creates its window flags when its modality is set, so that comes first.
    box.setWindowModality(Qt::ApplicationModal);
    box.setWindowFlag(Qt::WindowStaysOnTopHint);
    box.exec();
    if (wasActive && wasActive->isVisible())
        wasActive->activateWindow();
}

}  // namespace velmora
