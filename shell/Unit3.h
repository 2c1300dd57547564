#pragma once

#include "SideWindow.h"
#include "ui_Unit3.h"

namespace velmora {

/// The apparatus window "Описание установки" (Form3): the picture of the set-up and the
/// coil's three parameters. Nothing in it takes the focus; activated, the window itself has it.
class TForm3 : public SideWindow {
    Q_OBJECT

  public:
    explicit TForm3(QWidget* mainWindow);

  private:
    Ui::TForm3 ui;
};

}  // namespace velmora
