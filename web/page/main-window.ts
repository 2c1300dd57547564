// The main window (`TForm1`) as a page: the plot on the left; the command buttons, the three
// option boxes, the readout grid and the protocol box on the right. Each of the bench's
// buttons runs the command whose caption it carries in the bench's command table; the three
// others are the window's own (CopyPicture, ShowInformation, ShowApparatus). After each
// command the views show what the bench's revision counters say changed.
import { ROW_KEYS, type Bench, type CommandWord, type OptionName } from '../src/bench.js';
import { followSeparator } from './decimal-separator.js';
import type { ErrorBox } from './error-box.js';
import { followPlotKeys } from './plot/plot-keys.js';
import { PlotNavigation } from './plot/plot-navigation.js';
import { PlotPointer } from './plot/plot-pointer.js';
import { pictureSvg, picturePng } from './plot/plot-picture.js';
import { PlotView } from './plot/plot-view.js';
import type { TextWidth } from './plot/plot-drawing.js';
import { ProtocolBox } from './protocol-box.js';
import { ReadoutGrid } from './readout-grid.js';
import { SideWindow } from './side-window.js';

/** The option each check box ticks. */
const CHECK_BOXES: Readonly<Record<string, OptionName>> = {
    CheckBox1: 'fixAngle',
    CheckBox2: 'sumCirculation',
    CheckBox3: 'writeProtocol',
};

/** The row whose value the leave question looks at. */
const CIRCULATION_ROW = ROW_KEYS.indexOf('Циркуляция (А)');

const byId = <T extends Element = HTMLElement>(id: string): T => {
    const found = document.querySelector<T>(`#${id}`);
    if (found === null)
        throw new Error(`the page has no element #${id}`);
    return found;
};

/** Whether a circulation as the table shows it ("-----", "0", "-1.9975E+0001") is other than zero. */
function nonZero(text: string): boolean {
    return /[1-9]/.test(text.split(/[eE]/)[0]!);
}

export class MainWindow {
    readonly #bench: Bench;
    readonly #errors: ErrorBox;
    readonly #grid: ReadoutGrid;
    readonly #protocol: ProtocolBox;
    readonly #plot: PlotView;
    readonly #pointer: PlotPointer;
    readonly #options = new Map<OptionName, HTMLInputElement>();
    readonly #announcer: HTMLElement;
    readonly #information: SideWindow;
    readonly #apparatus: SideWindow;
    /** The circulation as the bench last wrote it into its row. */
    #circulation = '';

    constructor(bench: Bench, errors: ErrorBox, textWidth: TextWidth) {
        this.#bench = bench;
        this.#errors = errors;
        const area = byId('TForm1');
        this.#grid = new ReadoutGrid(byId('ValueListEditor1'), bench);
        this.#grid.onRefused = (refusal) => void this.#showError(refusal.message);
        this.#protocol = new ProtocolBox(byId('Memo1'), 'Label13', bench);
        this.#plot = new PlotView(byId<SVGSVGElement>('Chart1-picture'), bench, textWidth);
        const navigation = new PlotNavigation(this.#plot);
        this.#pointer = new PlotPointer(navigation, this.#rubberBand());
        followPlotKeys(navigation);
        this.#plot.onReset = () => navigation.forget();
        this.#announcer = byId('Announcer');
        this.#information = new SideWindow(byId('TForm2'), area, byId('TForm2-Memo1'));
        this.#apparatus = new SideWindow(byId('TForm3'), area, byId('TForm3-client'));
        this.#connectControls(area);
        followSeparator((separator) => this.#setSeparator(separator));
        window.addEventListener('beforeunload', (event) => {
            if (this.#protocol.holdsText || nonZero(this.#circulation)) {
                event.preventDefault();
                event.returnValue = '';
            }
        });
    }

    /**
     * Runs Reset, as the desktop does when its window is first shown, and makes the bench
     * usable; the moment is marked "velmora-usable" on the page's performance timeline.
     */
    start(): void {
        this.#run('reset');
        // The start-up Reset's placeholders are no readings to announce.
        this.#announcer.replaceChildren();
        this.#plot.picture.focus({ preventScroll: true });
        byId('TForm1').removeAttribute('aria-busy');
        performance.mark('velmora-usable');
    }

    #connectControls(area: HTMLElement): void {
        const own: Record<string, () => void> = {
            Button8: () => this.#information.show(),
            Button9: () => this.#copyPicture(),
            Button11: () => this.#apparatus.show(),
        };
        for (const button of area.querySelectorAll<HTMLButtonElement>('button.push-button')) {
            const command = this.#bench.commands.find((c) => c.caption === button.textContent);
            const action = own[button.id] ?? (command && (() => this.#run(command.word)));
            if (action === undefined)
                throw new Error(`the button ${button.id} "${button.textContent}" runs nothing`);
            button.addEventListener('click', action);
            // Enter presses the button that has the keyboard once, however long it is held.
            button.addEventListener('keydown', (event) => {
                if (event.key === 'Enter' && event.repeat)
                    event.preventDefault();
            });
        }
        for (const [id, option] of Object.entries(CHECK_BOXES)) {
            const box = byId(id).querySelector('input')!;
            this.#options.set(option, box);
            // A box carries no action of its own: the next command reads it.
            box.addEventListener('change', () => this.#bench.setOption(option, box.checked));
        }
        this.#refreshOptions();
    }

    #run(command: CommandWord): void {
        const before = this.#bench.revisions().rows[CIRCULATION_ROW];
        const result = this.#bench.run(command);
        if (this.#bench.revisions().rows[CIRCULATION_ROW] !== before)
            this.#circulation = this.#bench.row('Циркуляция (А)');
        this.#refreshViews();
        if (!result.ok)
            void this.#showError(result.message);
    }

    #refreshViews(): void {
        const revisions = this.#bench.revisions();
        const changed = this.#grid.refresh(revisions);
        if (changed.length > 0)
            this.#announce(changed);
        this.#protocol.refresh(revisions);
        this.#refreshOptions();
        this.#plot.refresh(revisions);
    }

    #refreshOptions(): void {
        const options = this.#bench.options();
        for (const [option, box] of this.#options)
            box.checked = options[option];
    }

    /** Tells assistive technology the rows a command changed, "key: value" each. */
    #announce(rows: readonly number[]): void {
        const values = this.#grid.inputs;
        this.#announcer.replaceChildren(...rows.map((row) => {
            const line = document.createElement('p');
            line.textContent = `${ROW_KEYS[row]}: ${values[row]!.value}`;
            return line;
        }));
    }

    #setSeparator(separator: string): void {
        const result = this.#bench.setDecimalSeparator(separator);
        if (!result.ok) {
            void this.#showError(result.message);
            return;
        }
        this.#plot.setSeparator(separator);
    }

    #showError(message: string): Promise<void> {
        // A gesture on the plot must not go on behind the box, nor resume after it.
        this.#pointer.cancel();
        return this.#errors.show(message);
    }

    /**
     * CopyPicture: the plot as it is shown, as a PNG image of twice its size on white and,
     * where the browser takes one, as an SVG picture. The clipboard is asked within the click
     * (as browsers require) with the picture still being drawn; if the browser refuses, or the
     * picture cannot be made, nothing is written and the error box says why.
     */
    #copyPicture(): void {
        const clipboard = navigator.clipboard as Clipboard | undefined;
        if (clipboard === undefined || typeof clipboard.write !== 'function') {
            void this.#showError('Cannot open clipboard: the browser gives the clipboard only to pages of a secure origin, one of https or of this computer');
            return;
        }
        if (typeof ClipboardItem === 'undefined') {
            void this.#showError('Cannot open clipboard: this browser cannot put pictures on the clipboard');
            return;
        }
        const shown = this.#plot.shown;
        const formats: Record<string, Promise<Blob> | Blob> = { 'image/png': picturePng(shown) };
        const supports = (ClipboardItem as unknown as { supports?: (type: string) => boolean }).supports;
        if (supports?.('image/svg+xml'))
            formats['image/svg+xml'] = new Blob([pictureSvg(shown)], { type: 'image/svg+xml' });
        clipboard.write([new ClipboardItem(formats)]).catch((error: unknown) => {
            const reason = error instanceof Error && error.message !== '' ? error.message : String(error);
            void this.#showError(`Cannot open clipboard: ${reason}`);
        });
    }

    #rubberBand(): SVGRectElement {
        const band = document.createElementNS('http://www.w3.org/2000/svg', 'rect');
        band.setAttribute('class', 'rubber-band');
        band.setAttribute('visibility', 'hidden');
        this.#plot.overlay.append(band);
        return band;
    }
}
