#pragma once

#include <array>
#include <optional>
#include <string>
#include <string_view>

namespace velmora {

/// The keys of the nine readout rows, shown exactly as written ("поврота" included).
namespace keys {
inline constexpr std::u16string_view RotationStep = u"Угол поврота (град)";
inline constexpr std::u16string_view Step = u"Шаг (см)";
inline constexpr std::u16string_view CurrentX = u"Текущая координата x (см)";
inline constexpr std::u16string_view CurrentY = u"Текущая координата y (см)";
inline constexpr std::u16string_view StartX = u"Начальная координата x (см)";
inline constexpr std::u16string_view StartY = u"Начальная координата y (см)";
inline constexpr std::u16string_view ProbeAngle = u"Угол датчика (град)";
inline constexpr std::u16string_view Induction = u"Индукция B (Тл)";
inline constexpr std::u16string_view Circulation = u"Циркуляция (А)";
}  // namespace keys

/// The bench's instrument panel: nine rows of key and value text. Inputs are read by key,
/// outputs are written by row number; the user may type into any value. No row is ever
/// added or removed.
class ReadoutTable {
public:
    static constexpr int RowCount = 9;

    /// The rows as the main window defines them ("Угол поврота (град)=5" … "Циркуляция (А)=----").
    ReadoutTable();

    const std::u16string& Key(int row) const { return rows_.at(row).key; }
    const std::u16string& Value(int row) const { return rows_.at(row).value; }
    /// "key=value".
    std::u16string RowText(int row) const;

    /// Replaces the value of `row`, as the user's typing does.
    void SetValue(int row, std::u16string value);
    /// Replaces the whole text of `row`: the key is the text before the first "=", the value
    /// everything after it.
    void SetRowText(int row, std::u16string_view text);

    /// The row whose key equals `key` exactly, if any.
    std::optional<int> RowOfKey(std::u16string_view key) const;
    /// The value of the row with `key`, as typed. `key` must be one of the nine keys.
    const std::u16string& Input(std::u16string_view key) const;
    /// Replaces the value of the row with `key`.
    void SetInput(std::u16string_view key, std::u16string value);

    /// Grows by one with every change of any row; a view compares it to what it last showed.
    unsigned long long Revision() const { return revision_; }
    /// The table's revision at the last change of `row` (0 before any): a view that showed
    /// the row at this revision need not compare its texts, however long they are.
    unsigned long long RowRevision(int row) const { return rows_.at(row).revision; }

private:
    struct Row {
        std::u16string key;
        std::u16string value;
        unsigned long long revision = 0;
    };
    std::array<Row, RowCount> rows_;
    unsigned long long revision_ = 0;
};

}  // namespace velmora
