// The plot (`Chart1`): the axes in the plot's pixels, and the five layers of the bench's scene
// as SVG paths in the plane's own centimetres, each placed by one transform, so a zoom, a pan
// or a wheel turn only changes the transforms and the axes, and a command rewrites only the
// layers whose revision changed (and of the trace only its last part). The plot is laid out
// for the size the page gives its picture (700 × 700 px as designed, as wide as a narrower
// screen allows otherwise): margins, axes and layers are drawn in that many pixels, so the
// labels keep their size and a gesture's pixel is the plane's point under it. Three sheets lie on one
// another, in the layers' drawing order: the SVG picture with the axes, the probe's arrowhead
// and the wire sections; a canvas painting the trace's dots (the picture keeps the trace's path
// but does not paint it); an SVG with the two axis lines and the zoom's rubber band.
import { LAYER_NAMES, type Bench, type LayerName, type Revisions } from '../../src/bench.js';
import { FIXED_X_RANGE, FIXED_Y_RANGE, type AxisRange } from './plot-axes.js';
import { DOT_PATTERN, drawAxes, LABEL_FONT_FAMILY, LABEL_FONT_SIZE, LAYER_LOOKS, type AxesDrawing, type TextWidth } from './plot-drawing.js';
import { PLOT_SIZE, type DataArea, type PlotMapping } from './plot-frame.js';
import { TraceCanvas } from './trace-canvas.js';

const SVG = 'http://www.w3.org/2000/svg';

/** The trace is held as paths of this many dots each: a new dot rewrites only the last one. */
const TRACE_CHUNK = 1000;
/** The smallest plot laid out (px): below it, the picture is scaled down. */
const MIN_SIZE = 200;
/** The layers drawn over the trace's canvas. */
const OVER_TRACE: readonly LayerName[] = ['AxisLineX', 'AxisLineY'];

function element<K extends keyof SVGElementTagNameMap>(name: K, attributes: Record<string, string | number>, parent?: Element): SVGElementTagNameMap[K] {
    const made = document.createElementNS(SVG, name);
    for (const [key, value] of Object.entries(attributes))
        made.setAttribute(key, String(value));
    parent?.append(made);
    return made;
}

/** Path data for `points` (x, y pairs): a line through them, or a dot on each. */
function pathData(points: Float64Array, from: number, to: number, dots: boolean): string {
    const parts: string[] = [];
    for (let i = from; i < to; ++i)
        parts.push(`${dots || i === from ? 'M' : 'L'}${points[2 * i]} ${points[2 * i + 1]}${dots ? 'h0' : ''}`);
    return parts.join('');
}

interface ShownLayer {
    readonly group: SVGGElement;
    readonly paths: SVGPathElement[];
    points: Float64Array;
}

/** A sheet of SVG: drawn on pixel middles, and its layers clipped to the data area. */
interface Sheet {
    readonly shifted: SVGGElement;
    readonly clip: SVGRectElement;
    readonly layers: SVGGElement;
}

function sheet(svg: SVGSVGElement, clipId: string): Sheet {
    // On pixel middles, as the desktop draws on screen, so that lines one pixel wide on whole
    // coordinates come out crisp.
    const shifted = element('g', { transform: 'translate(0.5 0.5)' }, svg);
    const clip = element('rect', {}, element('clipPath', { id: clipId }, shifted));
    const layers = element('g', { 'clip-path': `url(#${clipId})` });
    return { shifted, clip, layers };
}

export class PlotView {
    readonly #svg: SVGSVGElement;
    readonly #over: SVGSVGElement;
    readonly #bench: Bench;
    readonly #textWidth: TextWidth;
    readonly #line: SVGPathElement;
    readonly #ticks: SVGPathElement;
    readonly #minorTicks: SVGPathElement;
    readonly #labels: SVGGElement;
    readonly #clips: SVGRectElement[];
    readonly #layers = new Map<LayerName, ShownLayer>();
    readonly #trace: TraceCanvas;
    #x: AxisRange = FIXED_X_RANGE;
    #y: AxisRange = FIXED_Y_RANGE;
    #size = PLOT_SIZE;
    #separator = '.';
    #axes: AxesDrawing;
    #shownRevisions: number[] | null = null;
    #shownResets = -1;
    /** Called when a Reset has put the fixed ranges back (the gestures forget their saved ranges). */
    onReset: () => void = () => {};

    /** Draws into `svg` (and the two sheets it lays over it) the scene of `bench`; `textWidth` measures a tick label. */
    constructor(svg: SVGSVGElement, bench: Bench, textWidth: TextWidth) {
        this.#svg = svg;
        this.#bench = bench;
        this.#textWidth = textWidth;
        const canvas = document.createElement('canvas');
        canvas.className = 'plot-trace';
        svg.after(canvas);
        this.#over = element('svg', {
            class: 'plot-over', width: PLOT_SIZE, height: PLOT_SIZE, viewBox: `0 0 ${PLOT_SIZE} ${PLOT_SIZE}`, 'aria-hidden': 'true',
        });
        canvas.after(this.#over);
        const lower = sheet(svg, `${svg.id}-data-area`);
        const upper = sheet(this.#over, `${svg.id}-data-area-over`);
        this.#clips = [lower.clip, upper.clip];
        const axes = element('g', { fill: 'none', stroke: '#000000', 'stroke-width': 1, 'stroke-linecap': 'square' }, lower.shifted);
        this.#line = element('path', {}, axes);
        this.#ticks = element('path', {}, axes);
        this.#minorTicks = element('path', {}, axes);
        this.#labels = element('g', { 'font-family': LABEL_FONT_FAMILY, 'font-size': LABEL_FONT_SIZE, fill: '#000000' }, lower.shifted);
        lower.shifted.append(lower.layers);
        upper.shifted.append(upper.layers);
        for (const name of LAYER_NAMES) {
            const look = LAYER_LOOKS[name];
            const group = element('g', {
                'data-layer': name, fill: 'none', stroke: look.colour,
                'stroke-width': look.kind === 'line' ? look.width : look.diameter,
                'stroke-linecap': look.kind === 'dots' || !look.dotted ? 'round' : 'butt',
                'stroke-linejoin': 'round',
                ...(look.kind === 'line' && look.dotted ? { 'stroke-dasharray': DOT_PATTERN } : {}),
                ...(name === 'Trace' ? { visibility: 'hidden' } : {}),
            }, OVER_TRACE.includes(name) ? upper.layers : lower.layers);
            this.#layers.set(name, { group, paths: [], points: new Float64Array() });
        }
        const trace = LAYER_LOOKS.Trace;
        this.#trace = new TraceCanvas(canvas, trace.colour, trace.kind === 'dots' ? trace.diameter : 1);
        this.#axes = this.#drawAxes();
        new ResizeObserver(() => this.#fitToBox()).observe(svg);
    }

    get xRange(): AxisRange {
        return this.#x;
    }

    get yRange(): AxisRange {
        return this.#y;
    }

    /** The mapping between the plane and the plot's pixels as shown now. */
    get mapping(): PlotMapping {
        return this.#axes.mapping;
    }

    get dataArea(): DataArea {
        return this.#axes.mapping.area;
    }

    /** The SVG element the plot draws into: it takes the gestures. */
    get picture(): SVGSVGElement {
        return this.#svg;
    }

    /** The sheet over everything the plot draws, for what a gesture shows (the rubber band). */
    get overlay(): SVGSVGElement {
        return this.#over;
    }

    /** What the plot shows now: the axes and each layer's points (x, y pairs in cm). */
    get shown(): { axes: AxesDrawing; layers: ReadonlyMap<LayerName, Float64Array> } {
        return { axes: this.#axes, layers: new Map([...this.#layers].map(([name, layer]) => [name, layer.points])) };
    }

    /** Shows the plane over the ranges `x` and `y`. */
    setRanges(x: AxisRange, y: AxisRange): void {
        this.#x = x;
        this.#y = y;
        this.#axes = this.#drawAxes();
    }

    /** Labels the ticks with `separator` from now on. */
    setSeparator(separator: string): void {
        this.#separator = separator;
        this.#axes = this.#drawAxes();
    }

    /**
     * Brings the plot up to date with the bench: the fixed ranges after a Reset of the scene,
     * and the layers whose revision changed. Returns whether anything changed.
     */
    refresh(revisions: Revisions): boolean {
        let changed = false;
        if (revisions.sceneResets !== this.#shownResets) {
            this.#shownResets = revisions.sceneResets;
            this.setRanges(FIXED_X_RANGE, FIXED_Y_RANGE);
            this.onReset();
            changed = true;
        }
        LAYER_NAMES.forEach((name, i) => {
            if (this.#shownRevisions === null || revisions.layers[i] !== this.#shownRevisions[i]) {
                this.#showLayer(name, this.#bench.points(name));
                changed = true;
            }
        });
        this.#shownRevisions = [...revisions.layers];
        if (changed)
            this.#placeLayers();
        return changed;
    }

    #showLayer(name: LayerName, points: Float64Array): void {
        const layer = this.#layers.get(name)!;
        const look = LAYER_LOOKS[name];
        const count = points.length / 2;
        const chunk = look.kind === 'dots' ? TRACE_CHUNK : Math.max(count, 1);
        const old = layer.points;
        // Dots only added after the ones shown leave the full paths before them as they are.
        const kept = look.kind === 'dots' && old.length <= points.length && old.length > 0 &&
            old[old.length - 2] === points[old.length - 2] && old[old.length - 1] === points[old.length - 1]
            ? Math.floor(old.length / 2 / chunk) : 0;
        const needed = Math.ceil(count / chunk);
        while (layer.paths.length > needed)
            layer.paths.pop()!.remove();
        for (let i = kept; i < needed; ++i) {
            const path = layer.paths[i] ?? element('path', { 'vector-effect': 'non-scaling-stroke' }, layer.group);
            layer.paths[i] = path;
            path.setAttribute('d', pathData(points, i * chunk, Math.min(count, (i + 1) * chunk), look.kind === 'dots'));
        }
        layer.points = points;
    }

    /** Puts every layer where the current ranges show it. */
    #placeLayers(): void {
        const mapping = this.#axes.mapping;
        const transform = mapping.transform();
        for (const [name, layer] of this.#layers) {
            const look = LAYER_LOOKS[name];
            const dotted = look.kind === 'line' && look.dotted;
            layer.group.setAttribute('transform', dotted ? `${this.#pixelMiddle(layer.points)} ${transform}` : transform);
            if (dotted)
                layer.group.setAttribute('stroke-dashoffset', String(this.#dotPhase(layer.points)));
        }
        this.#trace.show(this.#layers.get('Trace')!.points, mapping);
    }

    /**
     * The move (in px) that puts an axis line, upright or level, on the middle of the pixel
     * column or row it falls in, so that each of them comes out one pixel wide and in its full
     * colour (between two columns it would be smeared over both in a paler one).
     */
    #pixelMiddle(points: Float64Array): string {
        if (points.length < 4)
            return 'translate(0 0)';
        const mapping = this.#axes.mapping;
        const last = points.length - 2;
        // The drawing is already shifted by half a pixel: a whole coordinate is a pixel middle.
        const toMiddle = (at: number) => Math.round(at) - at;
        if (points[0] === points[last])
            return `translate(${toMiddle(mapping.xToPixel(points[0]!))} 0)`;
        if (points[1] === points[last + 1])
            return `translate(0 ${toMiddle(mapping.yToPixel(points[1]!))})`;
        return 'translate(0 0)';
    }

    /** Where the dots of an axis line start, so that each dot covers one whole pixel. */
    #dotPhase(points: Float64Array): number {
        if (points.length < 4)
            return 0;
        const mapping = this.#axes.mapping;
        const level = points[1] === points[points.length - 1];
        const start = level ? mapping.xToPixel(points[0]!) : mapping.yToPixel(points[1]!);
        const end = level ? mapping.xToPixel(points[points.length - 2]!) : mapping.yToPixel(points[points.length - 1]!);
        // The line's first pixel is the one its start lies in (the start is shifted half a pixel).
        const from = start + 0.5;
        return end >= start ? from - Math.floor(from) : Math.ceil(from) - from;
    }

    /** Lays the plot out again when the page has given its picture another size. */
    #fitToBox(): void {
        const size = Math.max(MIN_SIZE, Math.round(this.#svg.getBoundingClientRect().width));
        if (size === this.#size)
            return;
        this.#size = size;
        for (const svg of [this.#svg, this.#over]) {
            svg.setAttribute('width', String(size));
            svg.setAttribute('height', String(size));
            svg.setAttribute('viewBox', `0 0 ${size} ${size}`);
        }
        this.#axes = this.#drawAxes();
    }

    #drawAxes(): AxesDrawing {
        const axes = drawAxes(this.#x, this.#y, this.#separator, this.#textWidth, this.#size);
        this.#line.setAttribute('d', axes.line);
        this.#ticks.setAttribute('d', axes.ticks);
        this.#minorTicks.setAttribute('d', axes.minorTicks);
        const labels = axes.labels.map((mark) => {
            const text = element('text', { x: mark.x, y: mark.y, 'text-anchor': mark.anchor });
            text.textContent = mark.text;
            return text;
        });
        this.#labels.replaceChildren(...labels);
        // The layers are clipped to the data area's pixels themselves, not shifted by half a pixel.
        const { left, top, width, height } = axes.mapping.area;
        for (const clip of this.#clips) {
            for (const [key, value] of Object.entries({ x: left - 0.5, y: top - 0.5, width, height }))
                clip.setAttribute(key, String(value));
        }
        this.#axes = axes;
        this.#placeLayers();
        return axes;
    }
}
