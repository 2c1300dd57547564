#include "Unit3.h"

#include "BenchFont.h"

namespace velmora {

namespace {

/// The coil's parameters at a character height of 19 pixels (14 pt), 1 % narrower than the
/// face's own, so that each label, as wide as its text, fits the width it was designed with.
constexpr int kLabelPixels = 19;
constexpr int kLabelStretch = 99;

}  // namespace

TForm3::TForm3(QWidget* mainWindow) : SideWindow(mainWindow) {
    ui.setupUi(Client());
    SetUpDone();
    // Character heights are pixels, which a window definition cannot hold.
    for (QLabel* label : {ui.Label1, ui.Label2, ui.Label3}) {
        label->setFont(BenchFont(kLabelPixels, kLabelStretch));
        label->resize(label->sizeHint().width(), label->height());
    }
}

}  // namespace velmora
