#pragma once

#include <QAbstractTableModel>
#include <array>
#include <string>
#include <vector>

#include "Bench.h"

namespace velmora {

/// The readout rows of the bench as a two-column Qt model: the key ("Название") and the value
/// ("Значение"). The bench's ReadoutTable is the one truth: what the student types is typed
/// straight into the bench, so the next command reads exactly what the cell shows.
/// Only value cells can be selected and edited; the key column is shown but never selected.
class ReadoutModel : public QAbstractTableModel {
    Q_OBJECT

  public:
    static constexpr int kKeyColumn = 0;
    static constexpr int kValueColumn = 1;

    /// Shows the readout table of `bench`, which must outlive the model.
    explicit ReadoutModel(Bench& bench, QObject* parent = nullptr);

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    bool setData(const QModelIndex& index, const QVariant& value, int role) override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

    /// Tells the views about the rows a command has changed since the last refresh (found
    /// through the table's revision) and returns their numbers.
    std::vector<int> Refresh();

  private:
    /// The bench's table: what the model shows and what the student types into.
    const ReadoutTable& Table() const { return bench_.Table(); }

    Bench& bench_;
    unsigned long long shownRevision_;
    std::array<std::u16string, kReadoutRowCount> shownValues_;
    std::array<unsigned long long, kReadoutRowCount> shownRowRevisions_{};
};

}  // namespace velmora
