#include "Unit2.h"

#include <QTextBlockFormat>
#include <QTextCursor>
#include <QTextDocument>

#include "BenchFont.h"

namespace velmora {

namespace {

/// The information text at 14 pixels, its lines 16 pixels apart: all thirteen fit the
/// 217-pixel box without a scroll bar, and the letters of a line, 16 pixels high with their
/// accents and descenders, and so a selected line's highlight, stay within their line.
constexpr int kMemoFontPixels = 14;
constexpr int kMemoLineHeight = 16;
constexpr int kMemoMargin = 2;

}  // namespace

TForm2::TForm2(QWidget* mainWindow) : SideWindow(mainWindow) {
    ui.setupUi(Client());
    SetUpDone();
    // Character heights are pixels, which a window definition cannot hold.
    ui.Memo1->setFont(BenchFont(kMemoFontPixels));
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
