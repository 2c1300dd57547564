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

    /// The value typed under `key`, trimmed of blanks, as a number (EConvertError if none).
    Extended ReadTrimmed(std::u16string_view key) const;
    /// The value typed under `key`, exactly as typed, as a number (EConvertError if none).
    Extended ReadUntrimmed(std::u16string_view key) const;

    /// Turns the probe by the typed rotation step: `degrees` × 3.1415926535 ÷ 180 radians,
    /// counter-clockwise when `counterClockwise`, else clockwise; then the reading, rows 7, 2,
    /// 3 and 6, and the marker turned about the probe.
    void Turn(Extended degrees, bool counterClockwise);
    /// Induction = ProbeReading at the probe's position and direction.
    void UpdateReading();
    /// Row 2, 3, 6, 7 or 8 rewritten from the state.
    void WriteRow(int row);
    /// Row 2, 3, 6, 7 or 8 rewritten with its placeholder, five dashes.
    void WritePlaceholder(int row);
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
    /// Whole row texts, in the order the command writes them.
    std::vector<std::pair<int, std::u16string>> rows;
    /// Input values set by key (Reset's defaults), in order.
    std::vector<std::pair<std::u16string_view, std::u16string>> inputs;
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
