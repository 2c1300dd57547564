#pragma once

#include <QPointer>
#include <QString>
#include <array>
#include <functional>
#include <memory>
#include <string>

#include "FrameClock.h"
#include "Program.h"

class QAbstractButton;
class QCustomPlot;

namespace velmora::figures {

/// The nine bench commands as the main window offers them.
struct CommandButton {
    const char* name;     ///< the command, e.g. "Move"
    const char* caption;  ///< the button's caption, e.g. "Сдвиг"
    const char* button;   ///< the button's definition name, e.g. "Button2"
    bool destructive;     ///< it empties the trace (Reset, EraseProtocol)
};

inline constexpr std::array<CommandButton, 9> kCommands = {{
    {"Reset", "Начать/Сброс", "Button1", true},
    {"Move", "Сдвиг", "Button2", false},
    {"RotatePlus", "Поворот +", "Button4", false},
    {"RotateMinus", "Поворот -", "Button3", false},
    {"StepX", "Шаг по X", "Button6", false},
    {"StepY", "Шаг по Y", "Button7", false},
    {"GoToStart", "В начало", "Button10", false},
    {"RecordValues", "Записать", "Button12", false},
    {"EraseProtocol", "Стереть", "Button5", true},
}};

/// One measured redraw.
struct Redraw {
    double ms = 0;           ///< from the input to the last frame it caused, on the screen
    double idleMs = 0;       ///< from the input to the end of all work it left queued
    double cpuMs = 0;        ///< processor time of the program's thread until then
    bool plotDrawn = false;  ///< the plot replotted and painted within the time
    int latePaints = 0;      ///< paints of the plot, table or protocol after the time: work missed
};

/// The real program for the latency benchmarks: its windows started as the program starts
/// them, with the main window's controls at hand. Every Press() and Wheel() is timed from
/// the input event to the end of the redraw it causes: the plot's queued replot, the paint
/// of every changed widget, the frame handed to the display server and shown there.
class BenchSession {
  public:
    explicit BenchSession(FrameClock& application);
    ~BenchSession();

    TForm1& Form() { return program_->form1; }

    /// A left click on the command's button, timed to the end of its redraw.
    Redraw Press(const CommandButton& command);
    /// A click on "Копировать рисунок", timed to the picture on the clipboard.
    Redraw CopyPicture();
    /// One wheel notch over the middle of the plot (away from the user when `up`), timed
    /// to the end of the plot's redraw.
    Redraw Wheel(bool up);
    /// Runs `work` and times it with the redraw it causes; an error it throws is caught
    /// (the error box is not part of the time) and its message returned through `message`.
    Redraw Timed(const std::function<void()>& work, QString* message = nullptr);

    /// Types `text` over the value of readout row `row`, straight into the table model
    /// (as the in-place editor does with each keystroke), and lets the table show it.
    void SetValue(int row, const QString& text);
    /// Ticks or clears the three option boxes with the mouse where they differ.
    void SetOptions(bool fixAngle, bool sumCirculation, bool writeProtocol);
    /// Runs queued work (redraws) until the window is idle; not timed.
    void Settle();

    /// Erases the protocol and the trace, then walks the probe in rows across the visible
    /// plane with recording on until the trace holds `dots` dots, and records until the
    /// protocol holds `lines` lines. The commands run through their handlers, without
    /// redraws between them. Returns the seconds it took.
    double Fill(int dots, int lines);

    std::size_t TraceDots() const;
    std::size_t ProtocolLines() const;

    /// The main window's control with the definition name `name`; the run stops when there
    /// is none.
    template <class T>
    T* Control(const char* name) const {
        T* control = program_->form1.findChild<T*>(QString::fromLatin1(name));
        if (control == nullptr) {
            qFatal("no control %s", name);
        }
        return control;
    }

  private:
    class PaintCounter;

    QCustomPlot* Plot() const;

    FrameClock& clock_;
    std::unique_ptr<Program> program_;
    std::unique_ptr<PaintCounter> paints_;
};

}  // namespace velmora::figures
