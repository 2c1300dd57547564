#include "ProtocolBox.h"

#include <QContextMenuEvent>
#include <QKeyEvent>
#include <QMenu>
#include <QScrollBar>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>

namespace velmora {
namespace {

/// A protocol of fewer lines than this is released at once: that takes well under a frame.
constexpr int kReleaseLaterLines = 1000;

/// Holds a text the box no longer shows and releases it once the box has painted itself.
class ReleaseAfterPaint : public QObject {
  public:
    ReleaseAfterPaint(QTextDocument* text, QPlainTextEdit& box) : QObject(&box), text_(text) {
        // Owned here, the text goes with the box should the box go first.
        text_->setParent(this);
        box.viewport()->installEventFilter(this);
    }

  protected:
    bool eventFilter(QObject*, QEvent* event) override {
        if (event->type() == QEvent::Paint && !done_) {
            done_ = true;
            // Once the window's update, and so the frame, is done.
            deleteLater();
        }
        return false;
    }

  private:
    QTextDocument* text_;
    bool done_ = false;
};

/// A keystroke that types or erases one character, which may join the step before it.
bool IsTyping(const QKeyEvent& key) {
    if (key.key() == Qt::Key_Backspace || key.key() == Qt::Key_Delete) {
        return key.modifiers() == Qt::NoModifier;
    }
    return !key.text().isEmpty() && key.text().front().isPrint();
}

}  // namespace

ProtocolBox::ProtocolBox(QWidget* parent) : QPlainTextEdit(parent) {
    FollowDocument();
}

void ProtocolBox::FollowDocument() {
    // The document's own undo would make every appended entry an undo step.
    document()->setUndoRedoEnabled(false);
    connect(document(), &QTextDocument::contentsChange, this, &ProtocolBox::NoteChange);
    known_ = TextAt(0, document()->characterCount() - 1);
    history_.Clear();
}

QString ProtocolBox::TextAt(int position, int length) const {
    QTextCursor cursor(document());
    cursor.setPosition(position);
    cursor.setPosition(position + length, QTextCursor::KeepAnchor);
    return cursor.selectedText();
}

void ProtocolBox::NoteChange(int position, int removed, int added) {
    // The document may count its closing line break, which no edit changes, on both sides.
    const int length = document()->characterCount() - 1;
    const int beyond = std::max(0, position + added - length);
    removed -= beyond;
    added -= beyond;
    if (position < 0 || removed < 0 || added < 0 || position + removed > known_.size() ||
        known_.size() - removed + added != length) {
        // A change this box cannot follow: start again from the text as it is now.
        known_ = TextAt(0, length);
        history_.Clear();
        return;
    }
    TextEdit edit{position, known_.mid(position, removed), TextAt(position, added)};
    known_.replace(position, removed, edit.Added);
    if (programChange_) {
        history_.Break();
    } else {
        history_.Record(std::move(edit), typing_, known_.size());
    }
}

void ProtocolBox::Replace(const TextEdit& edit) {
    // An edit made at the end of the text, made again after the bench has appended an entry
    // that starts a line there, puts its text on a line of its own before the entry, as the
    // entry would have been put after it: the entry's first line stays as it was written.
    const int after = edit.Position + int(edit.Removed.size());
    const bool beforeEntry = edit.AtEnd && after < known_.size() &&
                             known_[after] != QChar::ParagraphSeparator && !edit.Added.isEmpty() &&
                             !edit.Added.endsWith(QChar::ParagraphSeparator);
    programChange_ = true;
    QTextCursor cursor(document());
    cursor.setPosition(edit.Position);
    cursor.setPosition(after, QTextCursor::KeepAnchor);
    cursor.beginEditBlock();
    cursor.insertText(edit.Added);
    if (beforeEntry) {
        cursor.insertBlock();
        cursor.movePosition(QTextCursor::PreviousCharacter);
    }
    cursor.endEditBlock();
    programChange_ = false;
    setTextCursor(cursor);
}

void ProtocolBox::UndoEdit() {
    Replay(history_.Undo());
}

void ProtocolBox::RedoEdit() {
    Replay(history_.Redo());
}

void ProtocolBox::Replay(const std::optional<TextEdit>& step) {
    if (!step) {
        return;
    }
    // The text a step takes out must be the text that is there; anything else means the
    // history no longer fits the text, and then nothing is touched.
    if (known_.mid(step->Position, step->Removed.size()) != step->Removed) {
        history_.Clear();
        return;
    }
    Replace(*step);
}

void ProtocolBox::AppendLines(const QStringList& lines) {
    programChange_ = true;
    QTextCursor end(document());
    end.movePosition(QTextCursor::End);
    end.beginEditBlock();
    if (!end.block().text().isEmpty()) {
        end.insertBlock();
    }
    end.insertText(lines.join(QLatin1Char('\n')));
    end.endEditBlock();
    programChange_ = false;
    verticalScrollBar()->setValue(verticalScrollBar()->maximum());
}

void ProtocolBox::Empty() {
    QTextDocument* old = document();
    if (old->blockCount() < kReleaseLaterLines) {
        programChange_ = true;
        clear();
        programChange_ = false;
        known_.clear();
        history_.Clear();
        return;
    }
    disconnect(old, nullptr, this, nullptr);
    new ReleaseAfterPaint(old, *this);
    // The box makes its new text as it made its first one; the font is the box's own.
    setDocument(nullptr);
    document()->setDefaultFont(font());
    FollowDocument();
}

void ProtocolBox::keyPressEvent(QKeyEvent* event) {
    if (event->matches(QKeySequence::Undo)) {
        UndoEdit();
        return;
    }
    if (event->matches(QKeySequence::Redo)) {
        RedoEdit();
        return;
    }
    typing_ = IsTyping(*event);
    QPlainTextEdit::keyPressEvent(event);
    typing_ = false;
}

void ProtocolBox::contextMenuEvent(QContextMenuEvent* event) {
    // The box's standard menu, in the desktop's language, with its undo and redo entries
    // taking the student's edits back.
    QMenu* menu = createStandardContextMenu(event->pos());
    const std::pair<const char*, void (ProtocolBox::*)()> entries[] = {
        {"edit-undo", &ProtocolBox::UndoEdit}, {"edit-redo", &ProtocolBox::RedoEdit}};
    for (const auto& [name, handler] : entries) {
        if (auto* action = menu->findChild<QAction*>(QLatin1String(name))) {
            action->disconnect();
            action->setEnabled(handler == &ProtocolBox::UndoEdit ? CanUndoEdit() : CanRedoEdit());
            connect(action, &QAction::triggered, this, handler);
        }
    }
    menu->setAttribute(Qt::WA_DeleteOnClose);
    menu->popup(event->globalPos());
}

}  // namespace velmora
