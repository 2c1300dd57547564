#include "EditHistory.h"

namespace velmora {
namespace {

/// `edit` without the characters its removed and added texts share at either end.
TextEdit Trimmed(TextEdit edit) {
    qsizetype head = 0;
    const qsizetype shorter = std::min(edit.Removed.size(), edit.Added.size());
    while (head < shorter && edit.Removed[head] == edit.Added[head]) {
        ++head;
    }
    qsizetype tail = 0;
    while (tail < shorter - head && edit.Removed[edit.Removed.size() - 1 - tail] ==
                                        edit.Added[edit.Added.size() - 1 - tail]) {
        ++tail;
    }
    edit.Position += int(head);
    edit.Removed = edit.Removed.mid(head, edit.Removed.size() - head - tail);
    edit.Added = edit.Added.mid(head, edit.Added.size() - head - tail);
    return edit;
}

}  // namespace

void EditHistory::Record(TextEdit edit, bool typed, qsizetype length) {
    edit = Trimmed(std::move(edit));
    if (edit.Removed.isEmpty() && edit.Added.isEmpty()) {
        return;
    }
    const bool joined = typed && joinable_ && JoinTyping(edit);
    if (!joined) {
        steps_.resize(done_);
        steps_.push_back(std::move(edit));
        ++done_;
    }
    TextEdit& step = steps_.back();
    step.AtEnd = step.Position + step.Added.size() == length;
    joinable_ = typed;
}

bool EditHistory::JoinTyping(const TextEdit& edit) {
    if (done_ == 0 || done_ != steps_.size()) {
        return false;
    }
    TextEdit& last = steps_.back();
    const bool insertion = edit.Removed.isEmpty() && !edit.Added.isEmpty();
    const bool removal = !edit.Removed.isEmpty() && edit.Added.isEmpty();
    if (insertion && !last.Added.isEmpty() && edit.Position == last.Position + last.Added.size()) {
        last.Added += edit.Added;  // typed on
        return true;
    }
    if (removal && last.Added.isEmpty()) {
        if (edit.Position + edit.Removed.size() == last.Position) {  // Backspace again
            last.Position = edit.Position;
            last.Removed.prepend(edit.Removed);
            return true;
        }
        if (edit.Position == last.Position) {  // Delete again
            last.Removed += edit.Removed;
            return true;
        }
    }
    return false;
}

void EditHistory::Clear() {
    steps_.clear();
    done_ = 0;
    joinable_ = false;
}

std::optional<TextEdit> EditHistory::Undo() {
    joinable_ = false;
    if (!CanUndo()) {
        return std::nullopt;
    }
    const TextEdit& step = steps_[--done_];
    return TextEdit{step.Position, step.Added, step.Removed, step.AtEnd};
}

std::optional<TextEdit> EditHistory::Redo() {
    joinable_ = false;
    if (!CanRedo()) {
        return std::nullopt;
    }
    return steps_[done_++];
}

}  // namespace velmora
