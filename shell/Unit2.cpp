#include "Unit2.h"

#include <QTextBlockFormat>
#include <QTextCursor>
#include <QTextDocument>

namespace velmora {

namespace {

/// Lines of the information text lie this many pixels apart, so that all thirteen fit the
/// box without a scroll bar whatever the stand-in font's own spacing is.
constexpr int kMemoLineHeight = 16;
constexpr int kMemoMargin = 3;

}  // namespace

TForm2::TForm2(QWidget* mainWindow) : SideWindow(mainWindow) {
    ui.setupUi(this);
    // Character heights are pixels, which a window definition cannot hold.
    ui.Memo1->setFont(WindowFont(15));
    QTextDocument* text = ui.Memo1->document();
    text->setDocumentMargin(kMemoMargin);
    QTextCursor all(text);
    all.select(QTextCursor::Document);
    QTextBlockFormat spacing;
    spacing.setLineHeight(kMemoLineHeight, QTextBlockFormat::FixedHeight);
    all.mergeBlockFormat(spacing);
    text->setModified(false);
}

}  // namespace velmora
