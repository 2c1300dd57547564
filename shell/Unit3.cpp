#include "Unit3.h"

namespace velmora {

TForm3::TForm3(QWidget* mainWindow) : SideWindow(mainWindow) {
    ui.setupUi(this);
    // Character heights are pixels, which a window definition cannot hold. Each label is as
    // wide as its text in the font the desktop provides.
    for (QLabel* label : {ui.Label1, ui.Label2, ui.Label3}) {
        label->setFont(WindowFont(19));
        label->resize(label->sizeHint().width(), label->height());
    }
}

}  // namespace velmora
