#pragma once

#include <string>
#include <string_view>

#include "FieldModel.h"
#include "PlotScene.h"
#include "ProtocolLog.h"
#include "ReadoutTable.h"

namespace velmora {

class Transaction;

/// One of the three option boxes of the main window.
enum class BenchOption { FixAngle, SumCirculation, WriteProtocol };
/// The three option boxes as they are ticked, read by a command when it runs.
struct BenchOptions {
    bool FixAngle = false;  ///< "Фиксировать угол": Move keeps the probe direction
    bool SumCirculation = false;  ///< "Рассчитывать циркуляцию": Move adds to Circulation
    bool WriteProtocol = false;  ///< "Записывать протокол": Move, StepX, StepY record
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
    const ReadoutTable& Table() const { return table_; }
    const ProtocolLog& Protocol() const { return protocol_; }
    const PlotScene& Scene() const { return scene_; }
    const BenchOptions& Options() const { return options_; }

    /// The student types `value` into the value cell of `row`; the next command that reads
    /// the row reads it exactly as typed. Typing into an output row is allowed: the next
    /// command that writes the row replaces it.
    void Type(ReadoutRow row, std::u16string value);
    /// The student ticks (`on`) or clears an option box.
    void SetOption(BenchOption option, bool on);

    /// Runs the command `command` names.
    void Run(Command command);

    /// Lets go of the memory the bench keeps only to be quick (the texts of erased protocol
    /// lines); for a caller whose command ran out of memory, before it tries once more.
    void LetGoOfSpareMemory();

    /// "Начать/Сброс": the working constants, the probe at the origin along +x, the default
    /// inputs, the placeholders, "Фиксировать угол" ticked and the other boxes cleared, a
    /// fresh scene, and the reading there (exactly 0). The protocol is kept.
    void Reset();
    /// "Сдвиг": turns first as RotatePlus does unless FixAngle, walks the step along the
    /// probe direction, reads, adds to the circulation when SumCirculation, moves the
    /// marker, and records when WriteProtocol.
    void Move();
    /// "Поворот +" and "Поворот -": turn the probe by the rotation step, counter-clockwise
    /// and clockwise.
    void RotatePlus();
    void RotateMinus();
    /// "Шаг по X" and "Шаг по Y": step along an axis without turning; record when
    /// WriteProtocol. The circulation is never changed.
    void StepX();
    void StepY();
    /// "В начало": the probe to the typed start position, keeping its direction.
    void GoToStart();
    /// "Записать": a protocol entry for the current state.
    void RecordValues();
    /// "Стереть": circulation row "0", empty trace and protocol, Circulation 0.
    void EraseProtocol();

  private:
    /// Applies a command's collected changes to the state and the models, taking them out of
    /// `done`. The memory they need is taken first, so that running out of it (std::bad_alloc)
    /// leaves the bench as it was.
    void Commit(Transaction& done);
    /// The shared body of StepX and StepY.
    void StepAlong(bool alongX);
    void Turn(bool counterClockwise);

    LabState state_;
    ReadoutTable table_;
    ProtocolLog protocol_;
    PlotScene scene_;
    BenchOptions options_;
};

/// The text the error box shows for an error message: a "." is appended when the message is
/// not empty and its last character's code is above that of "." (so a message ending in
/// ".", a blank, "!", "," or "-" stays as it is).
std::u16string ErrorBoxText(std::u16string_view message);

}  // namespace velmora
