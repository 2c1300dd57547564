#pragma once

#include <QWidget>
#include <cstddef>
#include <memory>

#include "Bench.h"
#include "FrameWatch.h"
#include "ui_Unit1.h"

namespace velmora {

class DesignedArea;
class ReadoutModel;
class SideWindow;

/// The main window: the plot of the measuring plane on the left; the command buttons, the
/// three option boxes, the readout table and the protocol box on the right. Every button runs
/// one handler named after it. The window owns the bench and shows it: after each command it
/// refreshes the table, the protocol, the plot and the option boxes from the bench, each
/// only when the bench's revision counters say it changed.
class TForm1 : public QWidget {
    Q_OBJECT

  public:
    explicit TForm1(QWidget* parent = nullptr);
    ~TForm1() override;

    /// The bench the window shows.
    const Bench& Lab() const { return bench_; }

    /// The information and apparatus windows that "Информация" and "Параметры установки"
    /// show; both are windows of this one and live as long as it does.
    void SetSideWindows(SideWindow& information, SideWindow& apparatus);

    /// The question before the window, and with it the program, closes: true only when the
    /// student answers "OK". Asked for every close request and when the desktop session ends.
    bool FormCloseQuery();

    void Button1Click();   ///< "Начать/Сброс": Reset
    void Button2Click();   ///< "Сдвиг": Move
    void Button3Click();   ///< "Поворот -": RotateMinus
    void Button4Click();   ///< "Поворот +": RotatePlus
    void Button5Click();   ///< "Стереть": EraseProtocol
    void Button6Click();   ///< "Шаг по X": StepX
    void Button7Click();   ///< "Шаг по Y": StepY
    void Button8Click();   ///< "Информация": ShowInformation
    void Button9Click();   ///< "Копировать рисунок": CopyPicture
    void Button10Click();  ///< "В начало": GoToStart
    void Button11Click();  ///< "Параметры установки": ShowApparatus
    void Button12Click();  ///< "Записать": RecordValues

  protected:
    /// The first time the window becomes visible it is centred on the desktop and Reset runs,
    /// before anything of it is drawn.
    void showEvent(QShowEvent* event) override;
    /// A close request closes the window and ends the program only when FormCloseQuery says
    /// yes; otherwise everything stays as it was.
    void closeEvent(QCloseEvent* event) override;
    /// Enter or Return presses the push button that has the focus.
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    /// The controls as the window definition names them; tests and benchmarks find them
    /// by those names.
    Ui::TForm1 ui;

    void SetUpLook();
    void SetUpAccessibility();
    void ConnectControls();
    /// Runs `command` on the bench and shows what it changed.
    void RunCommand(Command command);
    void RefreshViews();
    void RefreshProtocol();
    void RefreshOptions();
    void PlaceOnDesktop();

    // The bench outlives every widget that shows it: the designed area, which holds the
    // controls and the table's model, is deleted first, before the bench and long before
    // the window's own children go.
    Bench bench_;
    std::unique_ptr<DesignedArea> area_;
    ReadoutModel* model_;
    std::size_t shownLines_ = 0;
    unsigned long long shownClears_ = 0;
    bool everShown_ = false;
    /// Places the window again when the window manager's frame becomes known.
    FrameWatch* frameWatch_;
    SideWindow* information_ = nullptr;
    SideWindow* apparatus_ = nullptr;
};

}  // namespace velmora
