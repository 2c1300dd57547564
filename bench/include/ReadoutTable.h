#pragma once

#include <array>
#include <optional>
#include <string>
#include <string_view>

namespace velmora {

/// The nine readout rows, in the order the main window shows them. The first two and the
/// start coordinates are the student's inputs; the others are written from the experiment.
enum class ReadoutRow {
    RotationStep,  ///< "Угол поврота (град)"
    Step,          ///< "Шаг (см)"
    CurrentX,      ///< "Текущая координата x (см)"
    CurrentY,      ///< "Текущая координата y (см)"
    StartX,        ///< "Начальная координата x (см)"
    StartY,        ///< "Начальная координата y (см)"
    ProbeAngle,    ///< "Угол датчика (град)"
    Induction,     ///< "Индукция B (Тл)"
    Circulation,   ///< "Циркуляция (А)"
};
inline constexpr int kReadoutRowCount = 9;
/// Every row, top to bottom.
inline constexpr std::array<ReadoutRow, kReadoutRowCount> kReadoutRows = {
    ReadoutRow::RotationStep, ReadoutRow::Step,      ReadoutRow::CurrentX,
    ReadoutRow::CurrentY,     ReadoutRow::StartX,    ReadoutRow::StartY,
    ReadoutRow::ProbeAngle,   ReadoutRow::Induction, ReadoutRow::Circulation};

/// The row's key, exactly as the window shows it ("поврота" included).
std::u16string_view KeyOf(ReadoutRow row);
/// The row whose key equals `key` exactly, if any.
std::optional<ReadoutRow> RowOfKey(std::u16string_view key);
/// The row at `index` (0 for the top row) of the window's table; `index` must be 0 … 8.
inline ReadoutRow ReadoutRowAt(int index) {
    return kReadoutRows.at(static_cast<std::size_t>(index));
}

/// The bench's instrument panel: nine rows of a fixed key and a value text, which the
/// student may type into. No row is ever added or removed, and no key changes.
class ReadoutTable {
  public:
    /// The values as the main window defines them: "5", "1", "----", "----", "0", "0",
    /// "-----", "-----", "----".
    ReadoutTable();

    const std::u16string& Value(ReadoutRow row) const { return At(row).value; }
    /// "key=value".
    std::u16string RowText(ReadoutRow row) const;
    /// Replaces the value of `row`.
    void SetValue(ReadoutRow row, std::u16string value);

    /// Grows by one with every change of any row; a view compares it to what it last showed.
    unsigned long long Revision() const { return revision_; }
    /// The table's revision at the last change of `row` (0 before any): a view that showed
    /// the row at this revision need not compare its texts, however long they are.
    unsigned long long RowRevision(ReadoutRow row) const { return At(row).revision; }

  private:
    struct Entry {
        std::u16string value;
        unsigned long long revision = 0;
    };
    const Entry& At(ReadoutRow row) const { return entries_.at(static_cast<std::size_t>(row)); }
    Entry& At(ReadoutRow row) { return entries_.at(static_cast<std::size_t>(row)); }

    std::array<Entry, kReadoutRowCount> entries_;
    unsigned long long revision_ = 0;
};

}  // namespace velmora
