#pragma once

#include <QTableView>

namespace velmora {

/// The name/value table of the readout rows (`ValueListEditor1`): a title row and rows of 18
/// pixels, each with its grid line under it, filling the table's height; a name column of
/// fixed width beside a value column that takes the rest, also when the divider is dragged. Only
/// value cells become current; while the table has the focus its current value cell shows its
/// in-place editor, and every keystroke in the editor goes straight into the model. Tab leaves the
/// table for the next control.
class ReadoutView : public QTableView {
    Q_OBJECT

  public:
    /// 18 pixels of text and the grid line under them.
    static constexpr int kRowHeight = 19;
    static constexpr int kNameWidth = 155;
    static constexpr int kValueWidth = 88;

    explicit ReadoutView(QWidget* parent = nullptr);

    void setModel(QAbstractItemModel* model) override;

    /// Tells assistive technology that the value of `row` has changed: its value cell, named
    /// "key: value", has a new name.
    void AnnounceValueChange(int row);

  protected:
    void resizeEvent(QResizeEvent* event) override;
    void currentChanged(const QModelIndex& current, const QModelIndex& previous) override;
    QModelIndex moveCursor(CursorAction action, Qt::KeyboardModifiers modifiers) override;
    void focusInEvent(QFocusEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void closeEditor(QWidget* editor, QAbstractItemDelegate::EndEditHint hint) override;

  private:
    /// Gives the value column the width the name column leaves.
    void FitValueColumn();
    QModelIndex ValueCell(int row) const;
    bool OnNameColumn(const QMouseEvent& event) const;
    void ShowEditor();

    bool leaving_ = false;
};

}  // namespace velmora
