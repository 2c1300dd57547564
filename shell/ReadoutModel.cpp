#include "ReadoutModel.h"

namespace velmora {
namespace {

/// A value cell shows at most this many characters of its text. The cell, however wide the
/// student drags it, holds far fewer even of the narrowest characters, so it looks the same;
/// but a pasted megabyte is not laid out whole each time the table is drawn.
constexpr std::size_t kShownCharacters = 1000;

/// What a value cell shows of `text`: all of it, or its first kShownCharacters characters,
/// without cutting a character of two code units in half.
QString Shown(const std::u16string& text) {
    if (text.size() <= kShownCharacters) {
        return QString::fromStdU16String(text);
    }
    std::size_t length = kShownCharacters;
    if (QChar::isHighSurrogate(text[length - 1])) {
        --length;
    }
    return QString::fromUtf16(text.data(), static_cast<qsizetype>(length));
}

}  // namespace

ReadoutModel::ReadoutModel(ReadoutTable& table, QObject* parent)
    : QAbstractTableModel(parent), table_(table), shownRevision_(table.Revision()) {
    for (int row = 0; row < ReadoutTable::RowCount; ++row) {
        shownKeys_[row] = table_.Key(row);
        shownValues_[row] = table_.Value(row);
        shownRowRevisions_[row] = table_.RowRevision(row);
    }
}

int ReadoutModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : ReadoutTable::RowCount;
}

int ReadoutModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : 2;
}

QVariant ReadoutModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid()) {
        return {};
    }
    const std::u16string& key = table_.Key(index.row());
    const std::u16string& value = table_.Value(index.row());
    const bool isValue = index.column() == ValueColumn;
    switch (role) {
        case Qt::DisplayRole:
            return isValue ? Shown(value) : QString::fromStdU16String(key);
        case Qt::EditRole:
            return QString::fromStdU16String(isValue ? value : key);
        case Qt::AccessibleTextRole:
            // A screen reader names a value cell by its row's key.
            return isValue ? QString::fromStdU16String(key + u": " + value)
                           : QString::fromStdU16String(key);
        default:
            return {};
    }
}

bool ReadoutModel::setData(const QModelIndex& index, const QVariant& value, int role) {
    if (!index.isValid() || index.column() != ValueColumn || role != Qt::EditRole) {
        return false;
    }
    const std::u16string text = value.toString().toStdU16String();
    if (text == table_.Value(index.row())) {
        return true;
    }
    table_.SetValue(index.row(), text);
    shownValues_[index.row()] = text;
    shownRowRevisions_[index.row()] = table_.RowRevision(index.row());
    shownRevision_ = table_.Revision();
    emit dataChanged(index, index, {Qt::DisplayRole, Qt::EditRole});
    return true;
}

Qt::ItemFlags ReadoutModel::flags(const QModelIndex& index) const {
    if (!index.isValid()) {
        return Qt::NoItemFlags;
    }
    if (index.column() == ValueColumn) {
        return Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemIsEditable;
    }
    return Qt::ItemIsEnabled;
}

QVariant ReadoutModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole) {
        return QAbstractTableModel::headerData(section, orientation, role);
    }
    return section == KeyColumn ? QStringLiteral("Название") : QStringLiteral("Значение");
}

std::vector<int> ReadoutModel::Refresh() {
    std::vector<int> changed;
    if (table_.Revision() == shownRevision_) {
        return changed;
    }
    shownRevision_ = table_.Revision();
    for (int row = 0; row < ReadoutTable::RowCount; ++row) {
        // A row untouched since it was shown is not compared: a pasted megabyte stays in
        // its cell while every command refreshes the table.
        if (table_.RowRevision(row) == shownRowRevisions_[row]) {
            continue;
        }
        shownRowRevisions_[row] = table_.RowRevision(row);
        const bool keyChanged = table_.Key(row) != shownKeys_[row];
        const bool valueChanged = table_.Value(row) != shownValues_[row];
        if (!keyChanged && !valueChanged) {
            continue;
        }
        shownKeys_[row] = table_.Key(row);
        shownValues_[row] = table_.Value(row);
        emit dataChanged(index(row, keyChanged ? KeyColumn : ValueColumn), index(row, ValueColumn));
        changed.push_back(row);
    }
    return changed;
}

}  // namespace velmora
