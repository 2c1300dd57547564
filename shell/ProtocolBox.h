#pragma once

#include <QPlainTextEdit>
#include <QStringList>
#include <optional>

#include "EditHistory.h"

namespace velmora {

/// The protocol box (`Memo1`): plain text the student may edit freely, to which the bench
/// appends its entries. Undo and redo (Ctrl+Z, Ctrl+Y or Ctrl+Shift+Z, the context menu)
/// cover the student's own edits only: an appended entry is not an undo step, so no undo
/// or redo ever takes one away, and appending keeps the redo history.
class ProtocolBox : public QPlainTextEdit {
    Q_OBJECT

  public:
    explicit ProtocolBox(QWidget* parent = nullptr);

    /// Appends `lines` after whatever the box holds, starting on a line of their own, and
    /// scrolls to the end.
    void AppendLines(const QStringList& lines);

    /// Empties the box at once, however long the protocol is, and forgets its undo history.
    /// Every line of the box keeps its own laid-out text, and releasing tens of thousands of
    /// them takes longer than a frame: the box gets a fresh, empty text straight away and
    /// releases the old one just after it has been drawn empty.
    void Empty();

    /// Takes back or makes again the student's last edit; nothing when there is none.
    void UndoEdit();
    void RedoEdit();
    bool CanUndoEdit() const { return history_.CanUndo(); }
    bool CanRedoEdit() const { return history_.CanRedo(); }

  protected:
    void keyPressEvent(QKeyEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;

  private:
    void FollowDocument();
    void NoteChange(int position, int removed, int added);
    /// Makes an undo or redo step, if there is one and it fits the text.
    void Replay(const std::optional<TextEdit>& step);
    void Replace(const TextEdit& edit);
    QString TextAt(int position, int length) const;

    /// The box's text as it was after the last change, line breaks as U+2029: where the
    /// text an edit removes is read from, since the document tells only where it changed.
    QString known_;
    EditHistory history_;
    /// What the change under way is: the bench's or an undo's (not recorded), or a
    /// keystroke of typing (which may join the step before).
    bool programChange_ = false;
    bool typing_ = false;
};

}  // namespace velmora
