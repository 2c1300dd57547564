#pragma once

#include <QString>
#include <optional>
#include <vector>

namespace velmora {

/// One change of a text: at Position, Removed was replaced by Added. Positions count
/// characters as a text document does, a line break being one character.
struct TextEdit {
    int Position = 0;
    QString Removed;
    QString Added;
    /// The changed part reached the end of the text when the edit was made.
    bool AtEnd = false;
};

/// The undo and redo history of the student's own edits of a text to which the program also
/// appends. Appended text is never an undo step and never clears the redo history: it always
/// goes after the end of the text, where it moves no position that an edit recorded before
/// it refers to, so undoing and redoing the student's edits works around it and never
/// removes it. An edit made at the end of the text and made again after something was
/// appended lands just before the appended text (see TextEdit::AtEnd).
///
/// Keystrokes of typing that continue one another (letters typed on, Backspace or Delete
/// pressed again) make one step, as in every editor; any other edit is a step of its own.
class EditHistory {
  public:
    /// Records an edit of the student's, after which the text is `length` characters long.
    /// `typed` says it is one keystroke of typing, which may join the step before it. The
    /// edit is trimmed to the part that really changed; one that changed nothing is not
    /// recorded. A new step clears the redo history.
    void Record(TextEdit edit, bool typed, qsizetype length);
    /// The next typed keystroke starts a step of its own (after appending, undo or redo).
    void Break() { joinable_ = false; }
    /// Forgets every step.
    void Clear();

    bool CanUndo() const { return done_ > 0; }
    bool CanRedo() const { return done_ < steps_.size(); }

    /// The edit that takes the last step back (its Removed is what it takes out), moving the
    /// step to the redo history; nothing when there is none.
    std::optional<TextEdit> Undo();
    /// The edit that makes the last undone step again; nothing when there is none.
    std::optional<TextEdit> Redo();

  private:
    bool JoinTyping(const TextEdit& edit);

    std::vector<TextEdit> steps_;
    std::size_t done_ = 0;
    bool joinable_ = false;
};

}  // namespace velmora
