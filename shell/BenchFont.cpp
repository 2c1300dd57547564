#include "BenchFont.h"

#include <QStringList>

namespace velmora {

QFont BenchFont(int pixels, int stretch) {
    QFont font;
    font.setFamilies({QStringLiteral("Liberation Sans"), QStringLiteral("DejaVu Sans")});
    font.setPixelSize(pixels);
    font.setStretch(stretch);
    return font;
}

}  // namespace velmora
