#include "PictureClipboard.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QMimeData>

#include "Error.h"

namespace velmora {
namespace {

/// What the platform layer said while the clipboard was being set: on X11 it is the only
/// word on why the clipboard could not be taken over.
QString g_platformSays;

void KeepPlatformMessage(QtMsgType, const QMessageLogContext&, const QString& message) {
    if (g_platformSays.isEmpty()) {
        g_platformSays = message;
    }
}

}  // namespace

void PutPictureOnClipboard(const QByteArray& svg) {
    QClipboard* clipboard = QGuiApplication::clipboard();
    auto* data = new QMimeData;
    data->setData(QString::fromLatin1(kSvgMimeType), svg);

    g_platformSays.clear();
    const QtMessageHandler previous = qInstallMessageHandler(KeepPlatformMessage);
    clipboard->setMimeData(data, QClipboard::Clipboard);  // the clipboard owns `data` now
    qInstallMessageHandler(previous);

    // The clipboard hands back the very data it was given only when this program owns it.
    if (clipboard->mimeData(QClipboard::Clipboard) != data) {
        const QString reason = g_platformSays.isEmpty()
                                   ? QStringLiteral("the window system gave it to another program")
                                   : g_platformSays;
        throw Error(u"Cannot open clipboard: " + reason.toStdU16String());
    }
}

}  // namespace velmora
