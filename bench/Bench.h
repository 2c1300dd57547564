#pragma once

#include <optional>
#include <string_view>

#include "FieldModel.h"
#include "PlotScene.h"
#include "ProtocolLog.h"
#include "ReadoutTable.h"

namespace velmora {

/// The three option boxes of the main window, read by a command when it runs.
struct BenchOptions {
    bool FixAngle = false;        ///< "Фиксировать угол": Move keeps the probe direction
    bool SumCirculation = false;  ///< "Рассчитывать циркуляцию": Move adds to Circulation
    bool WriteProtocol = false;   ///< "Записывать протокол": Move, StepX, StepY record
};

/// The nine commands of the bench, in the order of the buttons that start them.
enum class Command {
    Reset,          ///< "Начать/Сброс"
    Move,           ///< "Сдвиг"
    RotatePlus,     ///< "Поворот +"
    RotateMinus,    ///< "Поворот -"
    StepX,          ///< "Шаг по X"
    StepY,          ///< "Шаг по Y"
    GoToStart,      ///< "В начало"
    RecordValues,   ///< "Записать"
    EraseProtocol,  ///< "Стереть"
};

/// The experiment: the probe's state and the four models the commands keep up to date.
/// Every command is all-or-nothing: it reads and computes into locals and changes the state
/// and the models only when nothing has failed, so a command that throws (EConvertError for
/// a typed text that is not a number, EMathError for an arithmetic fault) changes nothing.
class Bench {
public:
    const LabState& State() const { return state_; }
    ReadoutTable& Table() { return table_; }
    const ReadoutTable& Table() const { return table_; }
    const ProtocolLog& Protocol() const { return protocol_; }
    const PlotScene& Scene() const { return scene_; }
    BenchOptions& Options() { return options_; }
    const BenchOptions& Options() const { return options_; }

    void Run(Command command);

    void Reset();
    void Move();
    void RotatePlus();
    void RotateMinus();
    void StepX();
    void StepY();
    void GoToStart();
    void RecordValues();
    void EraseProtocol();

private:
    LabState state_;
    ReadoutTable table_;
    ProtocolLog protocol_;
    PlotScene scene_;
    BenchOptions options_;
};

/// The command a script word names ("reset", "move", "rotate+", "rotate-", "stepx", "stepy",
/// "start", "record", "erase"), if any.
std::optional<Command> CommandFromWord(std::string_view word);

/// The text the error box shows for an error message: a "." is appended when the message is
/// not empty and its last character's code is above that of "." (so a message ending in
/// ".", a blank, "!", "," or "-" stays as it is).
std::u16string ErrorBoxText(std::u16string_view message);

}  // namespace velmora
