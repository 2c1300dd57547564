#include "Pictures.h"

// The resource initialiser has to be named from the global namespace.
static void RegisterPictureResources() {
    Q_INIT_RESOURCE(velmora);
}

namespace velmora {

void LoadPictures() {
    static const bool registered = (RegisterPictureResources(), true);
    (void)registered;
}

QIcon ProgramIcon() {
    LoadPictures();
    return QIcon(QStringLiteral(":/pictures/velmora.png"));
}

}  // namespace velmora
