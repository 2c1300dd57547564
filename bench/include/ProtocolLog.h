#pragma once

#include <array>
#include <string>
#include <vector>

#include "FieldModel.h"

namespace velmora {

/// The student's laboratory journal as the bench writes it: lines of text, five per entry.
/// A view (the protocol box) shows the lines appended since it last looked, and starts
/// again from empty when ClearCount() has changed.
class ProtocolLog {
  public:
    /// The five lines of one entry.
    using Entry = std::array<std::u16string, 5>;

    /// The entry for the state's ProbeX, ProbeY, ProbeAngle and Induction, built without
    /// touching any log (a command builds it before it commits): "x (см):…", "y (см):…",
    /// "Угол датчика:…", "B (Тл):…" and " ", the numbers in FormatGeneral(value, 4, 4), the
    /// angle in degrees as ProbeAngle × 180 ÷ PiValue. Throws EMathError when the angle in
    /// degrees leaves the extended range.
    static Entry EntryFor(const LabState& state);
    /// Makes room for a ClearLog (`clearing`) and an Append (`appending`) to follow, so that
    /// neither needs memory; throws std::bad_alloc, changing nothing that shows, when there
    /// is none.
    void MakeRoom(bool clearing, bool appending);
    /// Appends the five lines of `entry` after the last line, taking them over; up to five
    /// texts kept from cleared lines are let go with it.
    void Append(Entry&& entry);

    /// Removes all lines. Their texts are kept and let go a few at a time by the entries
    /// appended after: freeing the tens of thousands of small texts of a long protocol at
    /// once takes longer than a frame of the window.
    void ClearLog();
    /// Frees at once the texts ClearLog kept.
    void LetGoOfClearedLines();

    const std::vector<std::u16string>& Lines() const { return lines_; }
    /// Grows by one with every ClearLog.
    unsigned long long ClearCount() const { return clearCount_; }

  private:
    std::vector<std::u16string> lines_;
    /// The texts of cleared lines, waiting to be let go.
    std::vector<std::u16string> spare_;
    unsigned long long clearCount_ = 0;
};

}  // namespace velmora
