// Where the plot draws: the blank margins, the room the axes take, the data area inside
// them, and the mapping between the plane (cm) and the plot's pixels.
import type { AxisRange } from './plot-axes.js';

/** The plot is square: 700 × 700 px as designed, less on a screen narrower than that. */
export const PLOT_SIZE = 700;
/** Blank border between the plot's edge and everything it draws: 3 % of its width on the left and right, 4 % of its height at the top and bottom (px). */
const sideMargin = (size: number) => Math.trunc((size * 3) / 100);
const endMargin = (size: number) => Math.trunc((size * 4) / 100);
/** Tick marks point outwards from the data area: 4 px long, the minor ones 2 px. */
export const TICK_LENGTH = 4;
export const MINOR_TICK_LENGTH = 2;
/** Between a tick's outer end and its label, and between the labels and the margin (px). */
export const LABEL_GAP = 5;
const AXIS_PADDING = 5;
/** What the horizontal axis takes below the data area: its ticks, its labels and their gaps (px). */
const BOTTOM_AXIS_ROOM = 25;

/**
 * The data area in the plot's pixels. Like the desktop's rectangles, its last column is
 * left + width − 1 and its last row top + height − 1.
 */
export interface DataArea {
    readonly left: number;
    readonly top: number;
    readonly width: number;
    readonly height: number;
}

/** The data area of a plot of `size` × `size` px when the widest label of the vertical axis is `widestLabel` px wide. */
export function dataAreaFor(widestLabel: number, size: number): DataArea {
    const left = sideMargin(size) + TICK_LENGTH + LABEL_GAP + Math.ceil(widestLabel) + AXIS_PADDING;
    return {
        left,
        top: endMargin(size),
        width: size - sideMargin(size) - left,
        height: size - endMargin(size) - BOTTOM_AXIS_ROOM - endMargin(size),
    };
}

export function contains(area: DataArea, x: number, y: number): boolean {
    return x >= area.left && x < area.left + area.width && y >= area.top && y < area.top + area.height;
}

/** The plane's place on the plot: the data area showing the ranges `x` and `y`. */
export class PlotMapping {
    /** `size` is the plot's width and height (px), `area` its data area. */
    constructor(readonly size: number, readonly area: DataArea, readonly x: AxisRange, readonly y: AxisRange) {}

    /** The last pixel row of the data area, where y.min lies. */
    get bottom(): number {
        return this.area.top + this.area.height - 1;
    }

    /** The pixel column of the plane's `x` (cm). */
    xToPixel(x: number): number {
        return this.area.left + ((x - this.x.min) / (this.x.max - this.x.min)) * this.area.width;
    }

    /** The pixel row of the plane's `y` (cm): upwards on the plane is upwards on the plot. */
    yToPixel(y: number): number {
        return this.bottom - ((y - this.y.min) / (this.y.max - this.y.min)) * this.area.height;
    }

    pixelToX(pixel: number): number {
        return ((pixel - this.area.left) / this.area.width) * (this.x.max - this.x.min) + this.x.min;
    }

    pixelToY(pixel: number): number {
        return ((this.bottom - pixel) / this.area.height) * (this.y.max - this.y.min) + this.y.min;
    }

    /** The mapping as an SVG transform from the plane's centimetres to the plot's pixels. */
    transform(): string {
        const sx = this.area.width / (this.x.max - this.x.min);
        const sy = this.area.height / (this.y.max - this.y.min);
        return `matrix(${sx} 0 0 ${-sy} ${this.area.left - this.x.min * sx} ${this.bottom + this.y.min * sy})`;
    }
}
