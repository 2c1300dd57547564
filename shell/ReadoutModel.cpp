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

ReadoutModel::ReadoutModel(Bench& bench, QObject* parent)
    : QAbstractTableModel(parent), bench_(bench), shownRevision_(bench.Table().Revision()) {
    for (int row = 0; row < kReadoutRowCount; ++row) {
        shownValues_[row] = Table().Value(ReadoutRowAt(row));
        shownRowRevisions_[row] = Table().RowRevision(ReadoutRowAt(row));
    }
}

int ReadoutModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : kReadoutRowCount;
}

int ReadoutModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : 2;
}

QVariant ReadoutModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid()) {
        return {};
    }
    const ReadoutRow row = ReadoutRowAt(index.row());
    const auto key = [row] {
        const std::u16string_view text = KeyOf(row);
        return QString::fromUtf16(text.data(), static_cast<qsizetype>(text.size()));
    };
    const std::u16string& value = Table().Value(row);
    const bool isValue = index.column() == kValueColumn;
    switch (role) {
        case Qt::DisplayRole:
            return isValue ? Shown(value) : key();
        case Qt::EditRole:
            return isValue ? QString::fromStdU16String(value) : key();
        case Qt::AccessibleTextRole:
            // A screen reader names a value cell by its row's key.
            return isValue ? key() + QStringLiteral(": ") + QString::fromStdU16String(value)
                           : key();
        default:
            return {};
    }
}

bool ReadoutModel::setData(const QModelIndex& index, const QVariant& value, int role) {
    if (!index.isValid() || index.column() != kValueColumn || role != Qt::EditRole) {
        return false;
    }
    const ReadoutRow row = ReadoutRowAt(index.row());
    const std::u16string text = value.toString().toStdU16String();
    if (text == Table().Value(row)) {
        return true;
    }
    bench_.Type(row, text);
    shownValues_[index.row()] = text;
    shownRowRevisions_[index.row()] = Table().RowRevision(row);
    shownRevision_ = Table().Revision();
    emit dataChanged(index, index, {Qt::DisplayRole, Qt::EditRole});
    return true;
}

Qt::ItemFlags ReadoutModel::flags(const QModelIndex& index) const {
    if (!index.isValid()) {
        return Qt::NoItemFlags;
    }
    if (index.column() == kValueColumn) {
        return Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemIsEditable;
    }
    return Qt::ItemIsEnabled;
}

QVariant ReadoutModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole) {
        return QAbstractTableModel::headerData(section, orientation, role);
    }
    return section == kKeyColumn ? QStringLiteral("Название") : QStringLiteral("Значение");
}

std::vector<int> ReadoutModel::Refresh() {
    std::vector<int> changed;
    if (Table().Revision() == shownRevision_) {
        return changed;
    }
    shownRevision_ = Table().Revision();
    for (int row = 0; row < kReadoutRowCount; ++row) {
        const ReadoutRow readout = ReadoutRowAt(row);
        // A row untouched since it was shown is not compared: a pasted megabyte stays in
        // its cell while every command refreshes the table.
        if (Table().RowRevision(readout) == shownRowRevisions_[row]) {
            continue;
        }
        shownRowRevisions_[row] = Table().RowRevision(readout);
        if (Table().Value(readout) == shownValues_[row]) {
            continue;
        }
        shownValues_[row] = Table().Value(readout);
        emit dataChanged(index(row, kValueColumn), index(row, kValueColumn));
        changed.push_back(row);
    }
    return changed;
}

}  // namespace velmora
