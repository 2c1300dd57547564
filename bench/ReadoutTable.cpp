#include "ReadoutTable.h"

#include <utility>

namespace velmora {

namespace {

/// Each row's key and the value the main window defines for it. The current coordinates and
/// the circulation carry four dashes, the angle and the reading five; the start-up Reset
/// rewrites them all with five. "Угол поврота (град)" is the lab's own key, kept letter for
/// letter: scripts and answer keys address the row by it, so it is not a typo to correct.
struct DefinedRow {
    std::u16string_view key;
    std::u16string_view value;
};
constexpr std::array<DefinedRow, kReadoutRowCount> kDefinedRows = {{
    {u"Угол поврота (град)", u"5"},
    {u"Шаг (см)", u"1"},
    {u"Текущая координата x (см)", u"----"},
    {u"Текущая координата y (см)", u"----"},
    {u"Начальная координата x (см)", u"0"},
    {u"Начальная координата y (см)", u"0"},
    {u"Угол датчика (град)", u"-----"},
    {u"Индукция B (Тл)", u"-----"},
    {u"Циркуляция (А)", u"----"},
}};

}  // namespace

std::u16string_view KeyOf(ReadoutRow row) {
    return kDefinedRows.at(static_cast<std::size_t>(row)).key;
}

std::optional<ReadoutRow> RowOfKey(std::u16string_view key) {
    for (const ReadoutRow row : kReadoutRows) {
        if (KeyOf(row) == key)
            return row;
    }
    return std::nullopt;
}

ReadoutTable::ReadoutTable() {
    for (const ReadoutRow row : kReadoutRows)
        At(row).value = kDefinedRows[static_cast<std::size_t>(row)].value;
}

std::u16string ReadoutTable::RowText(ReadoutRow row) const {
    const std::u16string_view key = KeyOf(row);
    const std::u16string& value = Value(row);
    std::u16string text;
    text.reserve(key.size() + 1 + value.size());
    text += key;
    text += u'=';
    text += value;
    return text;
}

void ReadoutTable::SetValue(ReadoutRow row, std::u16string value) {
    Entry& entry = At(row);
    entry.value = std::move(value);
    entry.revision = ++revision_;
}

}  // namespace velmora
