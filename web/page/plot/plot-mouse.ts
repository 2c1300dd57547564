// The mouse on the plot, as on the desktop; it changes only the shown ranges, never the scene.
// - A left drag from inside the data area shows a rubber band; released more than
//   DRAG_THRESHOLD px away both ways, it zooms to the band when it ended to the right of its
//   start, and restores the ranges saved before the first zoom, pan or wheel turn since the
//   last restore when it ended to the left. Smaller drags do nothing.
// - A right drag from inside the data area pans both axes with the mouse.
// - Each wheel notch moves the vertical range by 3 % of its span, a turn towards the student
//   to lower values; the horizontal range stays.
// The browser's context menu does not open over the plot.
import type { AxisRange } from './plot-axes.js';
import { contains } from './plot-frame.js';
import type { PlotView } from './plot-view.js';

export const DRAG_THRESHOLD = 16;
export const WHEEL_SHARE = 0.03;
/** One notch of a mouse wheel, in the eighths of a degree wheels report. */
const NOTCH = 120;
/** Pixels, lines and pages of a wheel event's delta, in eighths of a degree: a notch scrolls 100 px or 3 lines. */
const PER_PIXEL = NOTCH / 100;
const PER_LINE = NOTCH / 3;

const LEFT = 0;
const RIGHT = 2;
/** The `buttons` bit of each button. */
const HELD: Record<number, number> = { [LEFT]: 1, [RIGHT]: 2 };

interface Ranges {
    readonly x: AxisRange;
    readonly y: AxisRange;
}

interface Point {
    readonly x: number;
    readonly y: number;
}

/** A wheel event's turn in eighths of a degree, positive away from the student. */
function wheelTurn(event: WheelEvent): number {
    // Chromium and WebKit give the wheel's own count; Firefox gives lines (or pixels).
    const own = (event as WheelEvent & { wheelDeltaY?: number }).wheelDeltaY;
    if (typeof own === 'number' && own !== 0)
        return own;
    switch (event.deltaMode) {
        case WheelEvent.DOM_DELTA_LINE:
            return -event.deltaY * PER_LINE;
        case WheelEvent.DOM_DELTA_PAGE:
            return -event.deltaY * NOTCH;
        default:
            return -event.deltaY * PER_PIXEL;
    }
}

export class PlotMouse {
    readonly #view: PlotView;
    readonly #band: SVGRectElement;
    #drag: 'zoom' | 'pan' | null = null;
    #button = LEFT;
    #pointer = 0;
    #start: Point = { x: 0, y: 0 };
    #panStart: Ranges = { x: { min: 0, max: 0 }, y: { min: 0, max: 0 } };
    #panMoved = false;
    #saved: Ranges | null = null;
    #wheelRemainder = 0;

    constructor(view: PlotView, band: SVGRectElement) {
        this.#view = view;
        this.#band = band;
        const svg = view.picture;
        svg.addEventListener('pointerdown', (e) => this.#press(e));
        svg.addEventListener('pointermove', (e) => this.#move(e));
        svg.addEventListener('pointerup', (e) => this.#release(e));
        svg.addEventListener('pointercancel', () => this.cancel());
        svg.addEventListener('lostpointercapture', () => this.cancel());
        svg.addEventListener('wheel', (e) => this.#wheel(e), { passive: false });
        svg.parentElement!.addEventListener('contextmenu', (e) => e.preventDefault());
    }

    /** Drops the saved ranges: the scene has been reset to its fixed ranges. */
    forget(): void {
        this.#saved = null;
    }

    /** Ends a drag in progress without effect (an error box takes the mouse). */
    cancel(): void {
        this.#drag = null;
        this.#band.setAttribute('visibility', 'hidden');
    }

    /** Where the pointer is in the plot's pixels, rounded to a pixel. */
    #at(event: PointerEvent | WheelEvent): Point {
        const box = this.#view.picture.getBoundingClientRect();
        const scale = this.#view.picture.width.baseVal.value / box.width;
        return { x: Math.round((event.clientX - box.left) * scale), y: Math.round((event.clientY - box.top) * scale) };
    }

    #press(event: PointerEvent): void {
        const at = this.#at(event);
        if (this.#drag !== null) {
            if (event.buttons & HELD[this.#button]!)
                return; // the other button during a drag does nothing
            this.cancel(); // a drag that lost its release
        }
        if (!contains(this.#view.dataArea, at.x, at.y) || (event.button !== LEFT && event.button !== RIGHT))
            return;
        this.#drag = event.button === LEFT ? 'zoom' : 'pan';
        this.#button = event.button;
        this.#pointer = event.pointerId;
        this.#start = at;
        this.#view.picture.setPointerCapture(event.pointerId);
        if (this.#drag === 'zoom') {
            this.#showBand(at);
        } else {
            this.#panStart = this.#current();
            this.#panMoved = false;
        }
    }

    #move(event: PointerEvent): void {
        if (this.#drag === null || event.pointerId !== this.#pointer)
            return;
        if (!(event.buttons & HELD[this.#button]!)) {
            this.cancel(); // the release went elsewhere
            return;
        }
        const at = this.#at(event);
        if (this.#drag === 'zoom') {
            this.#showBand(this.#clamped(at));
            return;
        }
        if (at.x === this.#start.x && at.y === this.#start.y && !this.#panMoved)
            return;
        if (!this.#panMoved) {
            this.#saveForRestore();
            this.#panMoved = true;
        }
        const area = this.#view.dataArea;
        const { x, y } = this.#panStart;
        // The plane follows the mouse: a move to the right shows what lay to the left.
        const dx = ((at.x - this.#start.x) * (x.max - x.min)) / Math.max(area.width, 1);
        const dy = ((at.y - this.#start.y) * (y.max - y.min)) / Math.max(area.height, 1);
        this.#view.setRanges({ min: x.min - dx, max: x.max - dx }, { min: y.min + dy, max: y.max + dy });
    }

    #release(event: PointerEvent): void {
        if (this.#drag === null || event.pointerId !== this.#pointer || event.button !== this.#button)
            return;
        const drag = this.#drag;
        this.cancel();
        if (drag !== 'zoom')
            return;
        const at = this.#at(event);
        const dx = at.x - this.#start.x;
        const dy = at.y - this.#start.y;
        if (Math.abs(dx) > DRAG_THRESHOLD && Math.abs(dy) > DRAG_THRESHOLD) {
            if (dx > 0)
                this.#zoomTo(this.#start, at);
            else
                this.#restore();
        }
    }

    #wheel(event: WheelEvent): void {
        event.preventDefault();
        this.#wheelRemainder += wheelTurn(event);
        const notches = Math.trunc(this.#wheelRemainder / NOTCH);
        this.#wheelRemainder -= notches * NOTCH;
        if (notches === 0)
            return;
        this.#saveForRestore();
        const y = this.#view.yRange;
        const shift = (y.max - y.min) * WHEEL_SHARE * notches;
        this.#view.setRanges(this.#view.xRange, { min: y.min + shift, max: y.max + shift });
    }

    /** `at` moved into the data area. */
    #clamped(at: Point): Point {
        const area = this.#view.dataArea;
        const clamp = (value: number, low: number, size: number) => Math.min(Math.max(value, low), low + size - 1);
        return { x: clamp(at.x, area.left, area.width), y: clamp(at.y, area.top, area.height) };
    }

    #showBand(end: Point): void {
        const s = this.#start;
        this.#band.setAttribute('x', String(Math.min(s.x, end.x)));
        this.#band.setAttribute('y', String(Math.min(s.y, end.y)));
        this.#band.setAttribute('width', String(Math.abs(end.x - s.x)));
        this.#band.setAttribute('height', String(Math.abs(end.y - s.y)));
        this.#band.setAttribute('visibility', 'visible');
    }

    #zoomTo(start: Point, end: Point): void {
        const from = this.#clamped({ x: Math.min(start.x, end.x), y: Math.min(start.y, end.y) });
        const to = this.#clamped({ x: Math.max(start.x, end.x), y: Math.max(start.y, end.y) });
        if (from.x === to.x || from.y === to.y)
            return;
        this.#saveForRestore();
        const mapping = this.#view.mapping;
        this.#view.setRanges(
            { min: mapping.pixelToX(from.x), max: mapping.pixelToX(to.x) },
            { min: mapping.pixelToY(to.y), max: mapping.pixelToY(from.y) });
    }

    #saveForRestore(): void {
        this.#saved ??= this.#current();
    }

    #restore(): void {
        if (this.#saved !== null) {
            this.#view.setRanges(this.#saved.x, this.#saved.y);
            this.#saved = null;
        }
    }

    #current(): Ranges {
        return { x: this.#view.xRange, y: this.#view.yRange };
    }
}
