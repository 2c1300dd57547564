// Writes the pictures and the icon of Velmora into the folder named on the command line:
//   formula.jpg    100 × 100 JPEG, the information window's picture
//   apparatus.bmp  469 × 323 bitmap, 24 bits per pixel, the apparatus window's picture
//   velmora.png    94 × 94 icon with a 256-colour palette
// and, when a second folder is named, the icon in the hicolor theme's sizes and as SVG into
// that folder (see IconTheme.h); the installed program's desktop entry uses those.
#include <QDir>
#include <QGuiApplication>
#include <QImageWriter>
#include <cstdio>

#include "Apparatus.h"
#include "IconTheme.h"
#include "Neon.h"
#include "Palette.h"

namespace {

bool Save(const QImage& image, const QString& path, const char* format, int quality = -1) {
    QImageWriter writer(path, format);
    writer.setQuality(quality);
    if (writer.write(image))
        return true;
    std::fprintf(stderr, "cannot write %s: %s\n", qPrintable(path),
                 qPrintable(writer.errorString()));
    return false;
}

}  // namespace

int main(int argc, char** argv) {
    QGuiApplication app(argc, argv);
    if (argc != 2 && argc != 3) {
        std::fprintf(stderr, "usage: make-pictures <output folder> [<icon theme folder>]\n");
        return 2;
    }
    const QDir out(QString::fromLocal8Bit(argv[1]));
    bool ok = Save(NeonFormulaPicture(100), out.filePath("formula.jpg"), "jpeg", 95);
    ok = Save(ApparatusPicture(469, 323), out.filePath("apparatus.bmp"), "bmp") && ok;
    ok = Save(ToPalette256(NeonFormulaIcon(94)), out.filePath("velmora.png"), "png") && ok;
    if (argc == 3)
        ok = WriteIconTheme(QString::fromLocal8Bit(argv[2])) && ok;
    return ok ? 0 : 1;
}
