#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "Bench.h"

namespace velmora {

/// One command's work in progress, private to the bench. A command reads its inputs, changes
/// a copy of LabState and of the marker points and collects the rows, trace dot and protocol
/// entry it will write; Bench::Commit applies them only when the command got to its end, so
/// a command that throws leaves the bench exactly as it was.
class Transaction {
  public:
    explicit Transaction(const Bench& bench);

    /// The value typed into `row`, trimmed of blanks, as a number (EConvertError if none).
    Extended ReadTrimmed(ReadoutRow row) const;
    /// The value typed into `row`, exactly as typed, as a number (EConvertError if none).
    Extended ReadUntrimmed(ReadoutRow row) const;

    /// Turns the probe by the typed rotation step: `degrees` × kTenDecimalPi ÷ 180 radians,
    /// counter-clockwise when `counterClockwise`, else clockwise; then the reading, the
    /// rows of the reading, the position and the angle, and the marker turned about the probe.
    void Turn(Extended degrees, bool counterClockwise);
    /// Induction = ProbeReading at the probe's position and direction.
    void UpdateReading();
    /// An output row (the current coordinates, the angle in degrees, the reading, the
    /// circulation) rewritten from the state. The input rows are the student's: writing one
    /// is a fault of the program and throws std::logic_error.
    void WriteRow(ReadoutRow row);
    /// `row` rewritten with the placeholder of a row not yet measured, five dashes.
    void WritePlaceholder(ReadoutRow row);
    /// Every marker point moved by (dx, dy).
    void TranslateMarker(Extended dx, Extended dy);
    /// A trace dot at the probe position and a protocol entry for the state.
    void Record();
    /// When the moved or turned marker has drifted from the probe by more than a rounding
    /// error (after absurdly large steps or rotations), rebuilds it at the probe.
    void KeepMarkerOnProbe();

    const ReadoutTable& table;
    LabState state;
    BenchOptions options;
    std::vector<PlotPoint> marker;
    bool markerChanged = false;
    /// Row values, in the order the command writes them.
    std::vector<std::pair<ReadoutRow, std::u16string>> rows;
    bool resetScene = false;
    bool clearTrace = false;
    bool clearLog = false;
    std::optional<PlotPoint> traceDot;
    std::optional<ProtocolLog::Entry> entry;
};

/// The marker's points for a probe at (x, y) pointing along `angle`: the tails 1 cm behind
/// and 0.5 cm to the left and right, the tip 1 cm ahead, in the order tail, tip, tail.
std::vector<PlotPoint> MarkerAt(Extended x, Extended y, Extended angle);

}  // namespace velmora
