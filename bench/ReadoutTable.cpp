#include "ReadoutTable.h"

#include <stdexcept>
#include <utility>

namespace velmora {

namespace {

/// The nine rows as the main window defines them, in row order. Rows 2, 3 and 8 carry four
/// dashes and rows 6 and 7 five; the start-up Reset rewrites them all with five.
constexpr std::array<std::u16string_view, ReadoutTable::RowCount> DefinedRows = {
    u"Угол поврота (град)=5",
    u"Шаг (см)=1",
    u"Текущая координата x (см)=----",
    u"Текущая координата y (см)=----",
    u"Начальная координата x (см)=0",
    u"Начальная координата y (см)=0",
    u"Угол датчика (град)=-----",
    u"Индукция B (Тл)=-----",
    u"Циркуляция (А)=----",
};

}  // namespace

ReadoutTable::ReadoutTable() {
    for (int row = 0; row < RowCount; ++row) {
        const std::u16string_view text = DefinedRows[row];
        const auto equals = text.find(u'=');
        rows_[row].key = std::u16string(text.substr(0, equals));
        rows_[row].value = std::u16string(text.substr(equals + 1));
    }
}

std::u16string ReadoutTable::RowText(int row) const {
    const Row& r = rows_.at(row);
    std::u16string text;
    text.reserve(r.key.size() + 1 + r.value.size());
    text += r.key;
    text += u'=';
    text += r.value;
    return text;
}

void ReadoutTable::SetValue(int row, std::u16string value) {
    Row& r = rows_.at(row);
    r.value = std::move(value);
    r.revision = ++revision_;
}

void ReadoutTable::SetRowText(int row, std::u16string_view text) {
    Row& r = rows_.at(row);
    const auto equals = text.find(u'=');
    if (equals == std::u16string_view::npos) {
        r.key = std::u16string(text);
        r.value.clear();
    } else {
        r.key = std::u16string(text.substr(0, equals));
        r.value = std::u16string(text.substr(equals + 1));
    }
    r.revision = ++revision_;
}

std::optional<int> ReadoutTable::RowOfKey(std::u16string_view key) const {
    for (int row = 0; row < RowCount; ++row) {
        if (rows_[row].key == key)
            return row;
    }
    return std::nullopt;
}

const std::u16string& ReadoutTable::Input(std::u16string_view key) const {
    const auto row = RowOfKey(key);
    if (!row)
        throw std::invalid_argument("ReadoutTable::Input: not a key of the readout table");
    return rows_[*row].value;
}

void ReadoutTable::SetInput(std::u16string_view key, std::u16string value) {
    const auto row = RowOfKey(key);
    if (!row)
        throw std::invalid_argument("ReadoutTable::SetInput: not a key of the readout table");
    SetValue(*row, std::move(value));
}

}  // namespace velmora
