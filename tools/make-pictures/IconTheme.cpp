#include "IconTheme.h"

#include <QDir>
#include <QFile>
#include <QImageWriter>
#include <cstdio>

#include "Neon.h"

namespace {

bool Fail(const QString& path, const QString& why) {
    std::fprintf(stderr, "cannot write %s: %s\n", qPrintable(path), qPrintable(why));
    return false;
}

/// Makes the folder `theme`/`subfolder` and gives the path of the icon file in it.
QString IconPath(const QDir& theme, const QString& subfolder, const char* extension) {
    theme.mkpath(subfolder);
    return theme.filePath(subfolder + "/" + kIconName + "." + extension);
}

}  // namespace

bool WriteIconTheme(const QString& folder) {
    const QDir theme(QDir(folder).filePath("hicolor"));
    bool ok = true;
    for (const int size : kThemeIconSizes) {
        const QString path = IconPath(theme, QString("%1x%1/apps").arg(size), "png");
        QImageWriter writer(path, "png");
        if (!writer.write(NeonFormulaIcon(size)))
            ok = Fail(path, writer.errorString()) && ok;
    }
    const QString svgPath = IconPath(theme, "scalable/apps", "svg");
    QFile svg(svgPath);
    if (!svg.open(QIODevice::WriteOnly) || svg.write(NeonFormulaIconSvg()) < 0)
        ok = Fail(svgPath, svg.errorString()) && ok;
    return ok;
}
