#include "AppTitle.h"

#include <QCoreApplication>

namespace velmora {

QString ApplicationTitleFromPath(const QString& executablePath) {
    const QString fileName = executablePath.mid(executablePath.lastIndexOf(u'/') + 1);
    const QString name = fileName.left(fileName.indexOf(u'.'));
    if (name.isEmpty())
        return name;
    const qsizetype firstLength = name.front().isHighSurrogate() && name.size() > 1 ? 2 : 1;
    return name.left(firstLength) + name.mid(firstLength).toLower();
}

void InstallApplicationTitle() {
    QCoreApplication::setApplicationName(
        ApplicationTitleFromPath(QCoreApplication::applicationFilePath()));
}

QString ApplicationTitle() {
    return QCoreApplication::applicationName();
}

}  // namespace velmora
