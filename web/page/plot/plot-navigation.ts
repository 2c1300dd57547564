// The ranges the plot shows, as the gestures and the keys change them: each change first keeps
// the ranges shown before the first zoom, pan or wheel turn since the last restore, which a
// restore then brings back. Nothing here touches the bench's scene.
import type { AxisRange } from './plot-axes.js';
import type { PlotView } from './plot-view.js';

export interface Ranges {
    readonly x: AxisRange;
    readonly y: AxisRange;
}

/** A span moved by `by` (in its own units). */
const shifted = (range: AxisRange, by: number): AxisRange => ({ min: range.min + by, max: range.max + by });

export class PlotNavigation {
    readonly #view: PlotView;
    #saved: Ranges | null = null;

    constructor(view: PlotView) {
        this.#view = view;
    }

    get view(): PlotView {
        return this.#view;
    }

    current(): Ranges {
        return { x: this.#view.xRange, y: this.#view.yRange };
    }

    /** Drops the saved ranges: the scene has been reset to its fixed ranges. */
    forget(): void {
        this.#saved = null;
    }

    /** Shows `ranges`, keeping those shown now for a restore unless some are kept already. */
    show(ranges: Ranges): void {
        this.#saved ??= this.current();
        this.#view.setRanges(ranges.x, ranges.y);
    }

    /** Shows the kept ranges again, if a change has kept any since the last restore. */
    restore(): void {
        if (this.#saved !== null) {
            this.#view.setRanges(this.#saved.x, this.#saved.y);
            this.#saved = null;
        }
    }

    /**
     * `from` with the plane moved by (dx, dy) px of the data area, as it follows a pointer: a
     * move to the right shows what lay to the left, a move down what lay above.
     */
    panned(from: Ranges, dx: number, dy: number): Ranges {
        const area = this.#view.dataArea;
        return {
            x: shifted(from.x, -(dx * (from.x.max - from.x.min)) / Math.max(area.width, 1)),
            y: shifted(from.y, (dy * (from.y.max - from.y.min)) / Math.max(area.height, 1)),
        };
    }

    /** The shown ranges moved by the shares `sx` and `sy` of their spans. */
    moved(sx: number, sy: number): Ranges {
        const { x, y } = this.current();
        return { x: shifted(x, sx * (x.max - x.min)), y: shifted(y, sy * (y.max - y.min)) };
    }

    /** The shown ranges with both spans multiplied by `factor` around their middles. */
    scaled(factor: number): Ranges {
        const scale = (range: AxisRange): AxisRange => {
            const middle = (range.min + range.max) / 2;
            const half = ((range.max - range.min) / 2) * factor;
            return { min: middle - half, max: middle + half };
        };
        const { x, y } = this.current();
        return { x: scale(x), y: scale(y) };
    }
}
