// What the plot draws, described once for the screen and for the copied picture: the axes
// (line, ticks, labels) for the shown ranges, and the looks of the five layers.
import type { LayerName } from '../../src/bench.js';
import { axisTicks, type AxisRange } from './plot-axes.js';
import { dataAreaFor, LABEL_GAP, MINOR_TICK_LENGTH, PlotMapping, TICK_LENGTH } from './plot-frame.js';

/** The face and size of the tick labels: the bench's face at 11 px. */
export const LABEL_FONT_FAMILY = "'Liberation Sans', Arial, Helvetica, sans-serif";
export const LABEL_FONT_SIZE = 11;
/** From a label's top (below the ticks' gap) to its baseline, and from a tick to the baseline of its label on the left (px). */
const LABEL_ASCENT = 8.5;
const LABEL_HALF_HEIGHT = 4;

export interface TextMark {
    readonly x: number;
    readonly y: number;
    readonly text: string;
    readonly anchor: 'middle' | 'end';
}

/** The axes, in the plot's pixels: path data for the line and the ticks, and the labels. */
export interface AxesDrawing {
    readonly mapping: PlotMapping;
    readonly line: string;
    readonly ticks: string;
    readonly minorTicks: string;
    readonly labels: readonly TextMark[];
}

/** Measures a label's width in px in the label font. */
export type TextWidth = (text: string) => number;

/**
 * The axes for the ranges `x` and `y` on a plot of `size` × `size` px: the data area leaves
 * room for the widest label of the vertical axis; the horizontal axis has its line, the
 * vertical one none.
 */
export function drawAxes(x: AxisRange, y: AxisRange, separator: string, width: TextWidth, size: number): AxesDrawing {
    const xTicks = axisTicks(x, separator);
    const yTicks = axisTicks(y, separator);
    const mapping = new PlotMapping(size, dataAreaFor(Math.max(0, ...yTicks.labels.map(width)), size), x, y);
    const { area, bottom } = mapping;
    const ticks: string[] = [];
    const minorTicks: string[] = [];
    const labels: TextMark[] = [];
    xTicks.major.forEach((tick, i) => {
        const at = mapping.xToPixel(tick);
        ticks.push(`M${at} ${bottom}v${TICK_LENGTH}`);
        labels.push({ x: at, y: bottom + TICK_LENGTH + LABEL_GAP + LABEL_ASCENT, text: xTicks.labels[i]!, anchor: 'middle' });
    });
    for (const tick of xTicks.minor)
        minorTicks.push(`M${mapping.xToPixel(tick)} ${bottom}v${MINOR_TICK_LENGTH}`);
    yTicks.major.forEach((tick, i) => {
        const at = mapping.yToPixel(tick);
        ticks.push(`M${area.left} ${at}h${-TICK_LENGTH}`);
        labels.push({ x: area.left - TICK_LENGTH - LABEL_GAP, y: at + LABEL_HALF_HEIGHT, text: yTicks.labels[i]!, anchor: 'end' });
    });
    for (const tick of yTicks.minor)
        minorTicks.push(`M${area.left} ${mapping.yToPixel(tick)}h${-MINOR_TICK_LENGTH}`);
    return {
        mapping,
        line: `M${area.left} ${bottom}H${area.left + area.width}`,
        ticks: ticks.join(''),
        minorTicks: minorTicks.join(''),
        labels,
    };
}

/** How a layer looks: a line through its points, or a round dot on each point. */
export type LayerLook =
    | { readonly kind: 'line'; readonly colour: string; readonly width: number; readonly dotted: boolean }
    | { readonly kind: 'dots'; readonly colour: string; readonly diameter: number };

/**
 * The layers' looks: the probe's arrowhead a blue line 4 px wide; the wire sections red discs
 * 36 px across and the trace red dots 4 px across, each with its 1 px red outline; the axis
 * lines dotted green, 1 px.
 */
export const LAYER_LOOKS: Readonly<Record<LayerName, LayerLook>> = {
    ProbeMarker: { kind: 'line', colour: '#0000ff', width: 4, dotted: false },
    WireSections: { kind: 'dots', colour: '#ff0000', diameter: 37 },
    Trace: { kind: 'dots', colour: '#ff0000', diameter: 5 },
    AxisLineX: { kind: 'line', colour: '#008000', width: 1, dotted: true },
    AxisLineY: { kind: 'line', colour: '#008000', width: 1, dotted: true },
};

/** A dotted line: one pixel on, two off. */
export const DOT_PATTERN = '1 2';
