// The mouse, the pen and the fingers on the plot, as the desktop's mouse; they change only the
// shown ranges, never the scene.
// - A left drag (a pen's tip, one finger) from inside the data area shows a rubber band;
//   released more than DRAG_THRESHOLD px away both ways, it zooms to the band when it ended to
//   the right of its start, and restores the ranges saved before the first zoom, pan or wheel
//   turn since the last restore when it ended to the left. Smaller drags do nothing.
// - A right drag (a pen's barrel button) from inside the data area pans both axes with the
//   pointer; so does a drag of two fingers, by their middle, wherever on the plot they start.
//   A second finger ends a one-finger drag without effect.
// - Each wheel notch moves the vertical range by 3 % of its span, a turn towards the student
//   to lower values; the horizontal range stays.
// The browser's context menu does not open over the plot, and the page does not scroll or
// zoom under a gesture on it (its picture takes every touch itself).
import { contains } from './plot-frame.js';
import type { PlotNavigation, Ranges } from './plot-navigation.js';

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
/** The pointer id of the two-finger pan, which follows no single pointer. */
const FINGERS = -1;

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

export class PlotPointer {
    readonly #navigation: PlotNavigation;
    readonly #band: SVGRectElement;
    #drag: 'zoom' | 'pan' | null = null;
    #button = LEFT;
    #pointer = 0;
    #start: Point = { x: 0, y: 0 };
    #panStart: Ranges = { x: { min: 0, max: 0 }, y: { min: 0, max: 0 } };
    #panMoved = false;
    /** The fingers on the plot and where each is; a gesture follows only those it saw go down. */
    readonly #fingers = new Map<number, Point>();
    #wheelRemainder = 0;

    constructor(navigation: PlotNavigation, band: SVGRectElement) {
        this.#navigation = navigation;
        this.#band = band;
        const svg = navigation.view.picture;
        svg.addEventListener('pointerdown', (e) => this.#press(e));
        svg.addEventListener('pointermove', (e) => this.#move(e));
        svg.addEventListener('pointerup', (e) => this.#release(e));
        svg.addEventListener('pointercancel', () => this.cancel());
        svg.addEventListener('lostpointercapture', () => this.cancel());
        svg.addEventListener('wheel', (e) => this.#wheel(e), { passive: false });
        svg.parentElement!.addEventListener('contextmenu', (e) => e.preventDefault());
    }

    /** Ends a gesture in progress without effect (an error box takes the pointer). */
    cancel(): void {
        this.#endDrag();
        this.#fingers.clear();
    }

    #endDrag(): void {
        this.#drag = null;
        this.#band.setAttribute('visibility', 'hidden');
    }

    get #view() {
        return this.#navigation.view;
    }

    /** Where the pointer is in the plot's pixels, rounded to a pixel. */
    #at(event: PointerEvent | WheelEvent): Point {
        const box = this.#view.picture.getBoundingClientRect();
        const scale = this.#view.picture.width.baseVal.value / box.width;
        return { x: Math.round((event.clientX - box.left) * scale), y: Math.round((event.clientY - box.top) * scale) };
    }

    /** The middle of the first two fingers. */
    #fingersMiddle(): Point {
        const [a, b] = [...this.#fingers.values()];
        return { x: Math.round((a!.x + b!.x) / 2), y: Math.round((a!.y + b!.y) / 2) };
    }

    #press(event: PointerEvent): void {
        const at = this.#at(event);
        if (event.pointerType === 'touch') {
            this.#fingers.set(event.pointerId, at);
            if (this.#fingers.size === 2) {
                this.#startPan(FINGERS, this.#fingersMiddle());
                this.#view.picture.setPointerCapture(event.pointerId);
            }
            if (this.#fingers.size !== 1)
                return;
        }
        if (this.#drag !== null) {
            if (event.buttons & HELD[this.#button]!)
                return; // the other button during a drag does nothing
            this.#endDrag(); // a drag that lost its release
        }
        if (!contains(this.#view.dataArea, at.x, at.y) || (event.button !== LEFT && event.button !== RIGHT))
            return;
        this.#view.picture.setPointerCapture(event.pointerId);
        this.#button = event.button;
        if (event.button === LEFT) {
            this.#drag = 'zoom';
            this.#pointer = event.pointerId;
            this.#start = at;
            this.#showBand(at);
        } else {
            this.#startPan(event.pointerId, at);
        }
    }

    #startPan(pointer: number, at: Point): void {
        this.#band.setAttribute('visibility', 'hidden');
        this.#drag = 'pan';
        this.#pointer = pointer;
        this.#start = at;
        this.#panStart = this.#navigation.current();
        this.#panMoved = false;
    }

    #move(event: PointerEvent): void {
        if (this.#drag === null)
            return;
        if (this.#pointer === FINGERS) {
            if (!this.#fingers.has(event.pointerId))
                return;
            this.#fingers.set(event.pointerId, this.#at(event));
            this.#panTo(this.#fingersMiddle());
            return;
        }
        if (event.pointerId !== this.#pointer)
            return;
        if (!(event.buttons & HELD[this.#button]!)) {
            this.#endDrag(); // the release went elsewhere
            return;
        }
        const at = this.#at(event);
        if (this.#drag === 'zoom')
            this.#showBand(this.#clamped(at));
        else
            this.#panTo(at);
    }

    #panTo(at: Point): void {
        if (at.x === this.#start.x && at.y === this.#start.y && !this.#panMoved)
            return;
        this.#panMoved = true;
        this.#navigation.show(this.#navigation.panned(this.#panStart, at.x - this.#start.x, at.y - this.#start.y));
    }

    #release(event: PointerEvent): void {
        if (event.pointerType === 'touch' && this.#pointer === FINGERS) {
            // Lifting either finger ends the pan; the other one starts nothing.
            this.#fingers.delete(event.pointerId);
            this.#drag = null;
            return;
        }
        this.#fingers.delete(event.pointerId);
        if (this.#drag === null || event.pointerId !== this.#pointer || event.button !== this.#button)
            return;
        const drag = this.#drag;
        this.#endDrag();
        if (drag !== 'zoom')
            return;
        const at = this.#at(event);
        const dx = at.x - this.#start.x;
        const dy = at.y - this.#start.y;
        if (Math.abs(dx) > DRAG_THRESHOLD && Math.abs(dy) > DRAG_THRESHOLD) {
            if (dx > 0)
                this.#zoomTo(this.#start, at);
            else
                this.#navigation.restore();
        }
    }

    #wheel(event: WheelEvent): void {
        event.preventDefault();
        this.#wheelRemainder += wheelTurn(event);
        const notches = Math.trunc(this.#wheelRemainder / NOTCH);
        this.#wheelRemainder -= notches * NOTCH;
        if (notches !== 0)
            this.#navigation.show(this.#navigation.moved(0, WHEEL_SHARE * notches));
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
        const mapping = this.#view.mapping;
        this.#navigation.show({
            x: { min: mapping.pixelToX(from.x), max: mapping.pixelToX(to.x) },
            y: { min: mapping.pixelToY(to.y), max: mapping.pixelToY(from.y) },
        });
    }
}
