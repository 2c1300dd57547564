#include "ProtocolLog.h"

#include <algorithm>
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

void ProtocolLog::MakeRoom(bool clearing, bool appending) {
    const std::size_t added = appending ? Entry().size() : 0;
    if (clearing && spare_.empty()) {
        // ClearLog swaps the lines and the empty spare_, whose storage then holds the lines.
        if (added > spare_.capacity())
            spare_.reserve(added);
        return;
    }
    if (clearing)
        spare_.reserve(spare_.size() + lines_.size());
    const std::size_t after = (clearing ? 0 : lines_.size()) + added;
    if (after > lines_.capacity())
        lines_.reserve(std::max(after, 2 * lines_.capacity()));
}

void ProtocolLog::Append(Entry&& entry) {
    for (std::u16string& text : entry) {
        lines_.push_back(std::move(text));
        if (!spare_.empty())
            spare_.pop_back();
    }
}

void ProtocolLog::ClearLog() {
    // A swap hands over every text without memory of its own, so a protocol that filled the
    // memory can still be erased; moving a text hands over its storage, and the moved-from
    // texts left behind free nothing.
    if (spare_.empty()) {
        spare_.swap(lines_);
    } else {
        spare_.insert(spare_.end(), std::make_move_iterator(lines_.begin()),
                      std::make_move_iterator(lines_.end()));
        lines_.clear();
    }
    ++clearCount_;
}

void ProtocolLog::LetGoOfClearedLines() {
    std::vector<std::u16string>().swap(spare_);
}

}  // namespace velmora
