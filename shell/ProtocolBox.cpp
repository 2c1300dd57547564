#include "ProtocolBox.h"

#include <QEvent>
#include <QPlainTextEdit>
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

}  // namespace

void EmptyProtocolBox(QPlainTextEdit& box) {
    QTextDocument* old = box.document();
    if (old->blockCount() < kReleaseLaterLines) {
        box.clear();
        return;
    }
    const bool undo = old->isUndoRedoEnabled();
    new ReleaseAfterPaint(old, box);
    // The box makes its new text as it made its first one; the font is the box's own.
    box.setDocument(nullptr);
    box.document()->setDefaultFont(box.font());
    box.document()->setUndoRedoEnabled(undo);
}

}  // namespace velmora
