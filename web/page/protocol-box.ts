// The protocol box (`Memo1`): plain text the student may edit freely, word-wrapped, scrolled
// vertically only and of any length, to which the bench appends its entries. Undo and redo
// (Ctrl+Z, Ctrl+Y or Ctrl+Shift+Z) take back and make again the student's own edits only: an
// appended entry is not an undo step, and undoing or redoing an edit made before it moves
// around it, so no sequence of typing, recording, undoing and redoing ever takes it away.
//
// The box is a CodeMirror editor: it lays out and draws only the lines in view, so that a
// protocol of fifty thousand lines takes an entry in well under a frame (a text area lays
// the whole text out again each time).
import { EditorState, Transaction, type Extension } from '@codemirror/state';
import { EditorView, keymap } from '@codemirror/view';
import { defaultKeymap, history, insertNewline, isolateHistory, redo, undo } from '@codemirror/commands';

import type { Bench, Revisions } from '../src/bench.js';

/**
 * The nonce the page's Content-Security-Policy gives the one style element the editor
 * writes its looks into; without it the policy refuses that element.
 */
function styleNonce(): string {
    const policy = document.querySelector<HTMLMetaElement>('meta[http-equiv="Content-Security-Policy"]')?.content ?? '';
    return /style-src[^;]*'nonce-([^']+)'/.exec(policy)?.[1] ?? '';
}

function extensions(labelledBy: string): Extension {
    return [
        EditorView.cspNonce.of(styleNonce()),
        history(),
        keymap.of([
            { key: 'Mod-z', run: undo, preventDefault: true },
            { key: 'Mod-y', run: redo, preventDefault: true },
            { key: 'Mod-Shift-z', run: redo, preventDefault: true },
            // A new line starts empty: the blank line closing an entry is not carried on.
            { key: 'Enter', run: insertNewline },
            ...defaultKeymap,
        ]),
        EditorView.lineWrapping,
        EditorView.contentAttributes.of({
            'aria-labelledby': labelledBy, spellcheck: 'false', autocorrect: 'off', autocapitalize: 'off',
        }),
        EditorView.theme({
            '&': { height: '100%', fontSize: 'inherit', color: 'inherit', backgroundColor: 'transparent' },
            '&.cm-focused': { outline: 'none' },
            '.cm-scroller': { fontFamily: 'inherit', lineHeight: 'inherit', overflowX: 'hidden', overflowY: 'scroll' },
            '.cm-content': { padding: '3px 0' },
            '.cm-line': { padding: '0 4px' },
        }),
    ];
}

export class ProtocolBox {
    readonly #view: EditorView;
    readonly #extensions: Extension;
    readonly #bench: Bench;
    #shownLines = 0;
    #shownClears = 0;

    /** Makes the box inside `parent`, named by the element `labelledBy`, showing the protocol of `bench`. */
    constructor(parent: HTMLElement, labelledBy: string, bench: Bench) {
        this.#bench = bench;
        this.#extensions = extensions(labelledBy);
        this.#view = new EditorView({ state: EditorState.create({ extensions: this.#extensions }), parent });
        this.#shownClears = bench.revisions().protocolClears;
    }

    /** The element that takes the keyboard. */
    get content(): HTMLElement {
        return this.#view.contentDOM;
    }

    /** Whether the box holds any text, the student's or the bench's. */
    get holdsText(): boolean {
        return this.#view.state.doc.length > 0;
    }

    /** Shows the protocol's new lines, or empties the box after the protocol was erased. */
    refresh(revisions: Revisions): void {
        if (revisions.protocolClears !== this.#shownClears || revisions.protocolLines < this.#shownLines) {
            this.empty();
            this.#shownClears = revisions.protocolClears;
            this.#shownLines = 0;
        }
        if (revisions.protocolLines === this.#shownLines)
            return;
        this.appendLines(this.#bench.protocolLines(this.#shownLines));
        this.#shownLines = revisions.protocolLines;
    }

    /**
     * Appends `lines` after whatever the box holds, starting on a line of their own, and
     * scrolls to the end; where the student's cursor is stays as it is.
     */
    appendLines(lines: readonly string[]): void {
        const { doc } = this.#view.state;
        const insert = (doc.line(doc.lines).length === 0 ? '' : '\n') + lines.join('\n');
        this.#view.dispatch({
            changes: { from: doc.length, insert },
            annotations: [Transaction.addToHistory.of(false), isolateHistory.of('full')],
        });
        // To the end once the new lines are laid out (the editor's own scrolling into view
        // goes by the heights it estimates for lines not yet drawn, and stops short).
        this.#view.requestMeasure({
            key: this,
            read: (view) => view.scrollDOM.scrollHeight,
            write: (height, view) => {
                view.scrollDOM.scrollTop = height;
            },
        });
    }

    /** Empties the box at once, however long the protocol is, and forgets its undo history. */
    empty(): void {
        const focused = this.#view.hasFocus;
        this.#view.setState(EditorState.create({ extensions: this.#extensions }));
        if (focused)
            this.#view.focus();
    }
}
