#include "CloseQuestion.h"

#include <QDialogButtonBox>
#include <QGuiApplication>
#include <QMessageBox>
#include <QPushButton>
#include <QScreen>
#include <QSessionManager>
#include <QShowEvent>

#include "FrameWatch.h"
#include "ModalBox.h"

namespace velmora {

namespace {

/// The confirmation box, its frame centred on the primary screen whatever window owns it
/// (centred again once the window manager has framed it).
class ConfirmBox : public QMessageBox {
  public:
    using QMessageBox::QMessageBox;

  protected:
    void showEvent(QShowEvent* event) override {
        QMessageBox::showEvent(event);
        Centre();
        frameWatch_.Start();
    }

  private:
    void Centre() {
        const QRect screen = QGuiApplication::primaryScreen()->geometry();
        const QMargins frame = KnownFrame(*this);
        const QSize outer = size().grownBy(frame);
        const QPoint corner(screen.left() + (screen.width() - outer.width()) / 2,
                            screen.top() + (screen.height() - outer.height()) / 2);
        setGeometry(QRect(corner + QPoint(frame.left(), frame.top()), size()));
    }

    FrameWatch frameWatch_{*this, [this] { Centre(); }};
};

}  // namespace

bool AskCloseQuestion(QWidget* owner) {
    ConfirmBox box(QMessageBox::Warning, QStringLiteral("Confirm"),
                   QStringLiteral("Do you want to close this program?"), QMessageBox::NoButton,
                   owner);
    // Both buttons share the action role: buttons of one role keep the order they were added
    // in under every desktop style, where a standard OK/Cancel pair is swapped on some.
    QPushButton* ok = box.addButton(QStringLiteral("OK"), QMessageBox::ActionRole);
    QPushButton* cancel = box.addButton(QStringLiteral("Cancel"), QMessageBox::ActionRole);
    box.findChild<QDialogButtonBox*>()->setCenterButtons(true);
    box.setDefaultButton(ok);
    box.setEscapeButton(cancel);
    RunModal(box);
    return box.clickedButton() == ok;
}

void AskBeforeSessionEnds(QGuiApplication& application, std::function<bool()> closeQuery) {
    QObject::connect(&application, &QGuiApplication::commitDataRequest, &application,
                     [closeQuery = std::move(closeQuery)](QSessionManager& session) {
                         if (session.allowsInteraction() && !closeQuery())
                             session.cancel();
                     });
}

}  // namespace velmora
