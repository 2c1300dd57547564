#include "Bench.h"

#include <utility>

#include "ArithmeticCheck.h"
#include "Transaction.h"

namespace velmora {

namespace {

struct Walk {
    Extended dx;
    Extended dy;
    Extended x;
    Extended y;
};

}  // namespace

void Bench::Run(Command command) {
    switch (command) {
        case Command::Reset:
            return Reset();
        case Command::Move:
            return Move();
        case Command::RotatePlus:
            return RotatePlus();
        case Command::RotateMinus:
            return RotateMinus();
        case Command::StepX:
            return StepX();
        case Command::StepY:
            return StepY();
        case Command::GoToStart:
            return GoToStart();
        case Command::RecordValues:
            return RecordValues();
        case Command::EraseProtocol:
            return EraseProtocol();
    }
}

void Bench::LetGoOfSpareMemory() {
    protocol_.LetGoOfClearedLines();
}

void Bench::Type(ReadoutRow row, std::u16string value) {
    table_.SetValue(row, std::move(value));
}

void Bench::SetOption(BenchOption option, bool on) {
    switch (option) {
        case BenchOption::FixAngle:
            options_.FixAngle = on;
            return;
        case BenchOption::SumCirculation:
            options_.SumCirculation = on;
            return;
        case BenchOption::WriteProtocol:
            options_.WriteProtocol = on;
            return;
    }
}

void Bench::Reset() {
    Transaction t(*this);
    t.state = WorkingLabState();
    for (const auto& [row, value] : {std::pair{ReadoutRow::StartX, u"0"},
                                     {ReadoutRow::StartY, u"0"},
                                     {ReadoutRow::RotationStep, u"5"},
                                     {ReadoutRow::Step, u"1"}}) {
        t.rows.emplace_back(row, value);
    }
    t.options = {.FixAngle = true, .SumCirculation = false, .WriteProtocol = false};
    for (const ReadoutRow row : {ReadoutRow::CurrentX, ReadoutRow::CurrentY, ReadoutRow::ProbeAngle,
                                 ReadoutRow::Induction, ReadoutRow::Circulation})
        t.WritePlaceholder(row);
    t.resetScene = true;
    // The reading belongs to the reset position, so that a record right after a Reset does
    // not pair the origin with a reading taken elsewhere.
    t.UpdateReading();
    Commit(t);
}

void Bench::Move() {
    Transaction t(*this);
    const Extended step = t.ReadTrimmed(ReadoutRow::Step);
    if (!t.options.FixAngle)
        t.Turn(t.ReadTrimmed(ReadoutRow::RotationStep), true);
    LabState& s = t.state;
    const Walk walk = Checked([&] {
        const Extended dx = Cos(s.ProbeAngle) * step;
        const Extended dy = Sin(s.ProbeAngle) * step;
        const Extended x = s.ProbeX + dx;
        return Walk{dx, dy, x, s.ProbeY + dy};
    });
    s.ProbeX = walk.x;
    s.ProbeY = walk.y;
    t.UpdateReading();
    for (const ReadoutRow row : {ReadoutRow::Induction, ReadoutRow::CurrentX, ReadoutRow::CurrentY})
        t.WriteRow(row);
    if (t.options.SumCirculation) {
        // The reading at the end of the step times the step in metres, over the magnetic
        // constant: amperes.
        s.Circulation =
            Checked([&] { return s.Induction * step * 0.01_ext / s.Mu0 + s.Circulation; });
        t.WriteRow(ReadoutRow::Circulation);
    }
    t.TranslateMarker(walk.dx, walk.dy);
    t.KeepMarkerOnProbe();
    if (t.options.WriteProtocol)
        t.Record();
    Commit(t);
}

void Bench::Turn(bool counterClockwise) {
    Transaction t(*this);
    t.Turn(t.ReadTrimmed(ReadoutRow::RotationStep), counterClockwise);
    t.KeepMarkerOnProbe();
    Commit(t);
}

void Bench::RotatePlus() {
    Turn(true);
}

void Bench::RotateMinus() {
    Turn(false);
}

void Bench::StepAlong(bool alongX) {
    Transaction t(*this);
    const Extended step = t.ReadTrimmed(ReadoutRow::Step);
    Extended& coordinate = alongX ? t.state.ProbeX : t.state.ProbeY;
    coordinate = Checked([&] { return step + coordinate; });
    t.UpdateReading();
    t.WriteRow(ReadoutRow::Induction);
    t.WriteRow(alongX ? ReadoutRow::CurrentX : ReadoutRow::CurrentY);
    if (alongX) {
        t.TranslateMarker(step, 0);
    } else {
        t.TranslateMarker(0, step);
    }
    t.KeepMarkerOnProbe();
    if (t.options.WriteProtocol)
        t.Record();
    Commit(t);
}

void Bench::StepX() {
    StepAlong(true);
}

void Bench::StepY() {
    StepAlong(false);
}

void Bench::GoToStart() {
    Transaction t(*this);
    // Both texts are converted before anything changes; x's error is the one shown when
    // both fail.
    const Extended x = t.ReadUntrimmed(ReadoutRow::StartX);
    const Extended y = t.ReadUntrimmed(ReadoutRow::StartY);
    LabState& s = t.state;
    const Extended oldX = s.ProbeX;
    const Extended oldY = s.ProbeY;
    s.ProbeX = x;
    s.ProbeY = y;
    t.UpdateReading();
    for (const ReadoutRow row : {ReadoutRow::Induction, ReadoutRow::CurrentX, ReadoutRow::CurrentY})
        t.WriteRow(row);
    // Every marker point (X, Y) becomes (X − (old x − new x), Y − (old y − new y)).
    const Walk shift = Checked([&] {
        const Extended backX = oldX - s.ProbeX;
        const Extended backY = oldY - s.ProbeY;
        return Walk{-backX, -backY, 0, 0};
    });
    t.TranslateMarker(shift.dx, shift.dy);
    t.KeepMarkerOnProbe();
    Commit(t);
}

void Bench::RecordValues() {
    Transaction t(*this);
    t.entry = ProtocolLog::EntryFor(t.state);
    Commit(t);
}

void Bench::EraseProtocol() {
    Transaction t(*this);
    t.rows.emplace_back(ReadoutRow::Circulation, u"0");
    t.clearTrace = true;
    t.clearLog = true;
    t.state.Circulation = 0;
    Commit(t);
}

void Bench::Commit(Transaction& done) {
    if (done.traceDot)
        scene_.MakeRoomForDot();
    protocol_.MakeRoom(done.clearLog, done.entry.has_value());
    if (done.resetScene)
        scene_.SceneReset();
    // From here on nothing needs memory: texts and points are moved in.
    for (auto& [row, value] : done.rows)
        table_.SetValue(row, std::move(value));
    options_ = done.options;
    if (done.markerChanged)
        scene_.SetMarker(std::move(done.marker));
    if (done.clearTrace)
        scene_.TraceClear();
    if (done.traceDot)
        scene_.TraceAdd(done.traceDot->X, done.traceDot->Y);
    if (done.clearLog)
        protocol_.ClearLog();
    if (done.entry)
        protocol_.Append(std::move(*done.entry));
    state_ = done.state;
}

std::u16string ErrorBoxText(std::u16string_view message) {
    std::u16string text(message);
    if (!text.empty() && text.back() > u'.')
        text += u'.';
    return text;
}

}  // namespace velmora
