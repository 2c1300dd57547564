#include "ProtocolLog.h"

#include <iterator>
#include <utility>

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
    for (const std::u16string& text : entry) {
        if (spare_.empty()) {
            lines_.push_back(text);
            continue;
        }
        lines_.push_back(std::move(spare_.back()));
        spare_.pop_back();
        lines_.back() = text;
    }
}

void ProtocolLog::ClearLog() {
    // Moving a text hands over its storage; the moved-from texts left behind free nothing.
    spare_.insert(spare_.end(), std::make_move_iterator(lines_.begin()),
                  std::make_move_iterator(lines_.end()));
    lines_.clear();
    ++clearCount_;
}

}  // namespace velmora
