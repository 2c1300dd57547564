#pragma once

#include "SideWindow.h"
#include "ui_Unit2.h"

namespace velmora {

/// The information window "Информация" (Form2): what the program is for, the three
/// laboratory works it serves, where to send remarks and where its video is, beside the
/// E = mc² picture. Its text can be selected and copied but not changed.
class TForm2 : public SideWindow {
    Q_OBJECT

  public:
    explicit TForm2(QWidget* mainWindow);

  private:
    Ui::TForm2 ui;
};

}  // namespace velmora
