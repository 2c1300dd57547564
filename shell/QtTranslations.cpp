#include "QtTranslations.h"

#include <QCoreApplication>
#include <QGuiApplication>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>

namespace velmora {

void LoadQtTranslations(const QLocale& language) {
    auto* translator = new QTranslator(QCoreApplication::instance());
    if (translator->load(language, QStringLiteral("qtbase"), QStringLiteral("_"),
                         QLibraryInfo::path(QLibraryInfo::TranslationsPath))) {
        QCoreApplication::installTranslator(translator);
    } else {
        delete translator;
    }
    // A right-to-left language would mirror every window; set explicitly, the direction
    // stays as it is when a translation arrives.
    QGuiApplication::setLayoutDirection(Qt::LeftToRight);
}

}  // namespace velmora
