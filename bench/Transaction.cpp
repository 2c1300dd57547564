#include "Transaction.h"

#include <algorithm>
#include <stdexcept>
#include <utility>

#include "ArithmeticCheck.h"
#include "NumText.h"

namespace velmora {

namespace {

/// How far (cm) the marker may stray from where the probe is before it is rebuilt there.
/// Ordinary walks keep it within about 1e-13 cm; only absurd steps and turns, whose sums
/// lose the marker's 1 cm against positions or angles far beyond the plot, get near it.
constexpr Extended kMarkerDriftLimit = 1e-7_ext;

struct TurnResult {
    Extended delta;
    Extended angle;
};

}  // namespace

std::vector<PlotPoint> MarkerAt(Extended x, Extended y, Extended angle) {
    const Extended c = Cos(angle);
    const Extended s = Sin(angle);
    // Ahead: (c, s); to the left: (−s, c).
    return {
        {static_cast<double>(x - c - 0.5 * s), static_cast<double>(y - s + 0.5 * c)},
        {static_cast<double>(x + c), static_cast<double>(y + s)},
        {static_cast<double>(x - c + 0.5 * s), static_cast<double>(y - s - 0.5 * c)},
    };
}

Transaction::Transaction(const Bench& bench)
    : table(bench.Table()),
      state(bench.State()),
      options(bench.Options()),
      marker(bench.Scene().Points(Layer::ProbeMarker)) {}

Extended Transaction::ReadTrimmed(ReadoutRow row) const {
    return ParseNumber(TrimBlanks(table.Value(row)));
}

Extended Transaction::ReadUntrimmed(ReadoutRow row) const {
    return ParseNumber(table.Value(row));
}

void Transaction::Turn(Extended degrees, bool counterClockwise) {
    const TurnResult turn = Checked([&] {
        const Extended delta = degrees * kTenDecimalPi / 180;
        const Extended angle =
            counterClockwise ? delta + state.ProbeAngle : state.ProbeAngle - delta;
        return TurnResult{delta, angle};
    });
    state.ProbeAngle = turn.angle;
    UpdateReading();
    for (const ReadoutRow row : {ReadoutRow::Induction, ReadoutRow::CurrentX, ReadoutRow::CurrentY,
                                 ReadoutRow::ProbeAngle})
        WriteRow(row);
    const Extended signedDelta = counterClockwise ? turn.delta : -turn.delta;
    marker = Checked([&] { return Rotated(marker, state.ProbeX, state.ProbeY, signedDelta); });
    markerChanged = true;
}

void Transaction::UpdateReading() {
    state.Induction =
        Checked([&] { return ProbeReading(state, state.ProbeAngle, state.ProbeX, state.ProbeY); });
}

void Transaction::WriteRow(ReadoutRow row) {
    std::u16string text;
    switch (row) {
        case ReadoutRow::CurrentX:
            text = FormatGeneral(state.ProbeX, 5, 4);
            break;
        case ReadoutRow::CurrentY:
            text = FormatGeneral(state.ProbeY, 5, 4);
            break;
        case ReadoutRow::ProbeAngle:
            text = FormatGeneral(Checked([&] { return state.ProbeAngle * 180 / kTenDecimalPi; }),
                                 15, 0);
            break;
        case ReadoutRow::Induction:
            text = FormatExponent(state.Induction, 5, 4);
            break;
        case ReadoutRow::Circulation:
            text = FormatExponent(state.Circulation, 5, 4);
            break;
        case ReadoutRow::RotationStep:
        case ReadoutRow::Step:
        case ReadoutRow::StartX:
        case ReadoutRow::StartY:
            throw std::logic_error("Transaction::WriteRow: an input row is never written");
    }
    rows.emplace_back(row, std::move(text));
}

void Transaction::WritePlaceholder(ReadoutRow row) {
    rows.emplace_back(row, u"-----");
}

void Transaction::TranslateMarker(Extended dx, Extended dy) {
    marker = Checked([&] { return Translated(marker, dx, dy); });
    markerChanged = true;
}

void Transaction::Record() {
    traceDot = Checked([&] {
        return PlotPoint{static_cast<double>(state.ProbeX), static_cast<double>(state.ProbeY)};
    });
    entry = ProtocolLog::EntryFor(state);
}

void Transaction::KeepMarkerOnProbe() {
    if (!markerChanged || marker.size() != 3)
        return;
    const std::vector<PlotPoint> ideal =
        Checked([&] { return MarkerAt(state.ProbeX, state.ProbeY, state.ProbeAngle); });
    const bool drifted = Checked([&] {
        bool far = false;
        for (std::size_t i = 0; i < marker.size(); ++i) {
            const Extended dx = Extended(marker[i].X) - ideal[i].X;
            const Extended dy = Extended(marker[i].Y) - ideal[i].Y;
            far = far || std::max(Abs(dx), Abs(dy)) > kMarkerDriftLimit;
        }
        return far;
    });
    if (drifted)
        marker = ideal;
}

}  // namespace velmora
