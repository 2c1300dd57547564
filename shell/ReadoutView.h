#pragma once

#include <QTableView>

namespace velmora {

/// The name/value table of the readout rows (`ValueListEditor1`): a title row, 18-pixel rows
/// with grid lines, a name column of fixed width beside a value column that takes the rest
/// (the divider can be dragged). Only value cells become current; while the table has the
/// focus its current value cell shows its in-place editor, and every keystroke in the editor
/// goes straight into the model. Tab leaves the table for the next control.
class ReadoutView : public QTableView {
    Q_OBJECT

  public:
    static constexpr int kRowHeight = 18;
    static constexpr int kNameWidth = 155;
    static constexpr int kValueWidth = 88;

    explicit ReadoutView(QWidget* parent = nullptr);

    void setModel(QAbstractItemModel* model) override;

    /// Tells assistive technology that the value of `row` has changed: its value cell, named
    /// "key: value", has a new name.
    void AnnounceValueChange(int row);

  protected:
    void currentChanged(const QModelIndex& current, const QModelIndex& previous) override;
    QModelIndex moveCursor(CursorAction action, Qt::KeyboardModifiers modifiers) override;
    void focusInEvent(QFocusEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void closeEditor(QWidget* editor, QAbstractItemDelegate::EndEditHint hint) override;

  private:
    QModelIndex ValueCell(int row) const;
    bool OnNameColumn(const QMouseEvent& event) const;
    void ShowEditor();

    bool leaving_ = false;
};

}  // namespace velmora
