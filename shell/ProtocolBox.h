#pragma once

class QPlainTextEdit;

namespace velmora {

/// Empties the protocol box at once, however long the protocol is. Every line of the box
/// keeps its own laid-out text, and releasing tens of thousands of them takes longer than a
/// frame: the box gets a fresh, empty text straight away (with the font, wrapping and undo
/// setting it had) and releases the old one just after it has been drawn empty, so the
/// student sees the empty box without waiting for the release.
void EmptyProtocolBox(QPlainTextEdit& box);

}  // namespace velmora
