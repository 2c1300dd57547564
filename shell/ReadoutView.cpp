#include "ReadoutView.h"

#include <QAccessible>
#include <QHeaderView>
#include <QLineEdit>
#include <QMouseEvent>
#include <QStyledItemDelegate>
#include <algorithm>

#include "ReadoutModel.h"

namespace velmora {
namespace {

/// A frameless line editor that writes every change into the model at once, so the model
/// always holds what the cell shows, whether or not the editor is ever closed.
class LiveDelegate : public QStyledItemDelegate {
  public:
    using QStyledItemDelegate::QStyledItemDelegate;

    QWidget* createEditor(QWidget* parent, const QStyleOptionViewItem&,
                          const QModelIndex&) const override {
        auto* editor = new QLineEdit(parent);
        editor->setFrame(false);
        connect(editor, &QLineEdit::textEdited, this,
                [this, editor] { emit const_cast<LiveDelegate*>(this)->commitData(editor); });
        return editor;
    }

    void setEditorData(QWidget* editor, const QModelIndex& index) const override {
        auto* line = static_cast<QLineEdit*>(editor);
        const QString text = index.data(Qt::EditRole).toString();
        // Writing the same text back would move the caret to the end while the user types.
        if (line->text() != text) {
            line->setText(text);
        }
    }

    void paint(QPainter* painter, const QStyleOptionViewItem& option,
               const QModelIndex& index) const override {
        // Texts start a pixel further left than the style's default, so that the longest
        // key fits the 155-pixel name column whole.
        QStyleOptionViewItem narrower = option;
        narrower.rect.adjust(-1, 0, 0, 0);
        QStyledItemDelegate::paint(painter, narrower, index);
    }

    void setModelData(QWidget* editor, QAbstractItemModel* model,
                      const QModelIndex& index) const override {
        model->setData(index, static_cast<QLineEdit*>(editor)->text(), Qt::EditRole);
    }
};

}  // namespace

ReadoutView::ReadoutView(QWidget* parent) : QTableView(parent) {
    setItemDelegate(new LiveDelegate(this));
    setSelectionMode(QAbstractItemView::SingleSelection);
    setSelectionBehavior(QAbstractItemView::SelectItems);
    setEditTriggers(QAbstractItemView::AllEditTriggers);
    setTabKeyNavigation(false);
    setShowGrid(true);
    setWordWrap(false);
    // A text too long for its cell is cut at the cell's edge, not shortened with an ellipsis.
    setTextElideMode(Qt::ElideNone);
    setCornerButtonEnabled(false);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);

    QHeaderView* rows = verticalHeader();
    rows->hide();
    rows->setMinimumSectionSize(1);
    rows->setDefaultSectionSize(kRowHeight);
    rows->setSectionResizeMode(QHeaderView::Fixed);

    QHeaderView* columns = horizontalHeader();
    columns->setMinimumSectionSize(1);
    columns->setFixedHeight(kRowHeight);
    columns->setHighlightSections(false);
    columns->setSectionsClickable(false);
    // The value column takes what the name column leaves, however far the divider is
    // dragged (a stretched last section would keep a width of its own as its least).
    connect(columns, &QHeaderView::sectionResized, this, [this](int column) {
        if (column == ReadoutModel::kKeyColumn) {
            FitValueColumn();
        }
    });
}

void ReadoutView::resizeEvent(QResizeEvent* event) {
    QTableView::resizeEvent(event);
    FitValueColumn();
}

void ReadoutView::FitValueColumn() {
    if (model() != nullptr) {
        horizontalHeader()->resizeSection(
            ReadoutModel::kValueColumn,
            std::max(1, viewport()->width() - columnWidth(ReadoutModel::kKeyColumn)));
    }
}

void ReadoutView::setModel(QAbstractItemModel* model) {
    QTableView::setModel(model);
    horizontalHeader()->setSectionResizeMode(ReadoutModel::kKeyColumn, QHeaderView::Interactive);
    horizontalHeader()->setSectionResizeMode(ReadoutModel::kValueColumn, QHeaderView::Fixed);
    horizontalHeader()->resizeSection(ReadoutModel::kValueColumn, kValueWidth);
    horizontalHeader()->resizeSection(ReadoutModel::kKeyColumn, kNameWidth);
    setCurrentIndex(ValueCell(0));
}

QModelIndex ReadoutView::ValueCell(int row) const {
    return model() == nullptr ? QModelIndex() : model()->index(row, ReadoutModel::kValueColumn);
}

void ReadoutView::currentChanged(const QModelIndex& current, const QModelIndex& previous) {
    if (current.isValid() && current.column() != ReadoutModel::kValueColumn) {
        setCurrentIndex(ValueCell(current.row()));
        return;
    }
    QTableView::currentChanged(current, previous);
    if (hasFocus() && current.isValid()) {
        ShowEditor();
    }
}

QModelIndex ReadoutView::moveCursor(CursorAction action, Qt::KeyboardModifiers modifiers) {
    const QModelIndex target = QTableView::moveCursor(action, modifiers);
    return target.isValid() ? ValueCell(target.row()) : target;
}

void ReadoutView::focusInEvent(QFocusEvent* event) {
    QTableView::focusInEvent(event);
    ShowEditor();
}

bool ReadoutView::OnNameColumn(const QMouseEvent& event) const {
    const QModelIndex at = indexAt(event.position().toPoint());
    return at.isValid() && at.column() != ReadoutModel::kValueColumn;
}

void ReadoutView::mousePressEvent(QMouseEvent* event) {
    if (OnNameColumn(*event)) {
        // The names can be neither selected nor edited; a click there only takes the focus.
        setFocus(Qt::MouseFocusReason);
        event->accept();
        return;
    }
    QTableView::mousePressEvent(event);
}

void ReadoutView::mouseDoubleClickEvent(QMouseEvent* event) {
    if (OnNameColumn(*event)) {
        event->accept();
        return;
    }
    QTableView::mouseDoubleClickEvent(event);
}

void ReadoutView::closeEditor(QWidget* editor, QAbstractItemDelegate::EndEditHint hint) {
    const bool leaving = hint == QAbstractItemDelegate::EditNextItem ||
                         hint == QAbstractItemDelegate::EditPreviousItem;
    // Closing a focused editor gives the focus back to the table, which would open the
    // editor again; Tab and Shift+Tab go on to the neighbouring control instead.
    leaving_ = leaving;
    QTableView::closeEditor(editor, QAbstractItemDelegate::NoHint);
    leaving_ = false;
    if (hint == QAbstractItemDelegate::EditNextItem) {
        focusNextChild();
    } else if (hint == QAbstractItemDelegate::EditPreviousItem) {
        focusPreviousChild();
    } else if (hasFocus()) {
        ShowEditor();
    }
}

void ReadoutView::ShowEditor() {
    const QModelIndex current = currentIndex();
    if (!leaving_ && current.isValid() && state() != QAbstractItemView::EditingState) {
        edit(current);
    }
}

void ReadoutView::AnnounceValueChange(int row) {
    if (!QAccessible::isActive()) {
        return;
    }
    QAccessibleInterface* table = QAccessible::queryAccessibleInterface(this);
    if (table == nullptr || table->tableInterface() == nullptr) {
        return;
    }
    QAccessibleInterface* cell = table->tableInterface()->cellAt(row, ReadoutModel::kValueColumn);
    if (cell == nullptr) {
        return;
    }
    // A value cell is named by its row's key and its value, so a new value is a new name.
    // The desktop's accessibility bus passes a name change on to screen readers, which read
    // the new name; a value change it passes on only for objects that hold a number, and a
    // cell holds a text.
    QAccessibleEvent event(cell, QAccessible::NameChanged);
    QAccessible::updateAccessibility(&event);
}

}  // namespace velmora
