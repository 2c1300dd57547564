// The readout table (`ValueListEditor1`): a grid with the title row "Название" / "Значение"
// and the nine rows of the bench, each a key that cannot be chosen or changed and a value in a
// text box the student types into. Every keystroke goes straight into the bench (Bench.type),
// so the next command reads exactly what the cell shows. The grid is one tab stop: Tab leaves
// it, the arrow keys Up and Down move between its rows.
import { ROW_KEYS, type Bench, type Result, type Revisions } from '../src/bench.js';

export class ReadoutGrid {
    readonly #bench: Bench;
    readonly #inputs: HTMLInputElement[] = [];
    /** Per row, the value last shown and the bench's row revision it was shown at. */
    readonly #shownValues: string[];
    readonly #shownRevisions: number[];
    #current = 0;
    /** Called with the refusal when the bench does not take a typed text. */
    onRefused: (result: Result & { ok: false }) => void = () => {};

    /** Builds the grid inside `element` and shows the bench's rows as they are. */
    constructor(element: HTMLElement, bench: Bench) {
        this.#bench = bench;
        const header = row(element);
        for (const title of ['Название', 'Значение'])
            cell(header, 'columnheader', 'title').textContent = title;
        ROW_KEYS.forEach((key, index) => {
            const line = row(element);
            const name = cell(line, 'rowheader', 'key');
            name.id = `${element.id}-key-${index}`;
            name.textContent = key;
            // A click on a key only takes the keyboard to the grid's current value.
            name.addEventListener('mousedown', (event) => {
                event.preventDefault();
                this.#inputs[this.#current]!.focus();
            });
            const input = document.createElement('input');
            input.type = 'text';
            // A touch screen's numeric keyboard with the decimal separator; a keyboard still
            // types any text (a minus sign, an exponent's "E", the other separator).
            input.inputMode = 'decimal';
            input.spellcheck = false;
            input.autocomplete = 'off';
            input.setAttribute('aria-labelledby', name.id);
            input.tabIndex = -1;
            input.addEventListener('input', () => this.#typed(index));
            input.addEventListener('focus', () => this.#makeCurrent(index));
            input.addEventListener('keydown', (event) => this.#key(event, index));
            cell(line, 'gridcell', 'value').append(input);
            this.#inputs.push(input);
        });
        this.#shownValues = bench.rows().map((r) => r.text);
        this.#shownRevisions = [...bench.revisions().rows];
        this.#inputs.forEach((input, i) => (input.value = this.#shownValues[i]!));
        this.#makeCurrent(0);
    }

    /** The value box of each row, top to bottom. */
    get inputs(): readonly HTMLInputElement[] {
        return this.#inputs;
    }

    /**
     * Shows the rows a command changed (found through the row revisions) and returns their
     * numbers: those whose text differs from what the grid showed.
     */
    refresh(revisions: Revisions): number[] {
        const changed: number[] = [];
        revisions.rows.forEach((revision, index) => {
            if (revision === this.#shownRevisions[index])
                return;
            this.#shownRevisions[index] = revision;
            const text = this.#bench.row(ROW_KEYS[index]!);
            if (text === this.#shownValues[index])
                return;
            this.#shownValues[index] = text;
            const input = this.#inputs[index]!;
            if (input.value !== text)
                input.value = text;
            changed.push(index);
        });
        return changed;
    }

    #typed(index: number): void {
        const input = this.#inputs[index]!;
        const result = this.#bench.type(ROW_KEYS[index]!, input.value);
        if (!result.ok) {
            // The bench kept its text: the cell shows it again, so that what the cell shows is
            // always what the next command reads.
            input.value = this.#bench.row(ROW_KEYS[index]!);
            this.onRefused(result);
            return;
        }
        // What the student typed is shown already: it is no change a command made.
        this.#shownValues[index] = input.value;
        this.#shownRevisions[index] = this.#bench.revisions().rows[index]!;
    }

    /** The row `index` becomes the grid's current one: its value is the grid's tab stop. */
    #makeCurrent(index: number): void {
        const before = this.#inputs[this.#current]!;
        before.tabIndex = -1;
        before.parentElement!.classList.remove('current');
        this.#current = index;
        const now = this.#inputs[index]!;
        now.tabIndex = 0;
        now.parentElement!.classList.add('current');
    }

    #key(event: KeyboardEvent, index: number): void {
        const step = event.key === 'ArrowDown' ? 1 : event.key === 'ArrowUp' ? -1 : 0;
        if (step === 0 || event.altKey || event.ctrlKey || event.metaKey || event.shiftKey)
            return;
        const next = index + step;
        event.preventDefault();
        if (next >= 0 && next < this.#inputs.length) {
            this.#inputs[next]!.focus();
            this.#inputs[next]!.select();
        }
    }
}

function row(grid: HTMLElement): HTMLElement {
    const line = document.createElement('div');
    line.setAttribute('role', 'row');
    line.className = 'row';
    grid.append(line);
    return line;
}

function cell(line: HTMLElement, role: string, className: string): HTMLElement {
    const made = document.createElement('div');
    made.setAttribute('role', role);
    made.className = className;
    line.append(made);
    return made;
}
