#include "ProtocolLog.h"

#include "ArithmeticCheck.h"
#include "NumText.h"

namespace velmora {

ProtocolLog::Entry ProtocolLog::EntryFor(const LabState& state) {
    // The angle in degrees with the bench's own π, PiValue, accumulated without reduction.
    const Extended degrees = Checked([&] { return state.ProbeAngle * 180 / state.PiValue; });
    return Entry{
        u"x (см):" + FormatGeneral(state.ProbeX, 4, 4),
        u"y (см):" + FormatGeneral(state.ProbeY, 4, 4),
        u"Угол датчика:" + FormatGeneral(degrees, 4, 4),
        u"B (Тл):" + FormatGeneral(state.Induction, 4, 4),
        u" ",
    };
}

void ProtocolLog::Append(const Entry& entry) {
    lines_.insert(lines_.end(), entry.begin(), entry.end());
}

void ProtocolLog::AppendEntry(const LabState& state) {
    Append(EntryFor(state));
}

void ProtocolLog::ClearLog() {
    lines_.clear();
    ++clearCount_;
}

}  // namespace velmora
