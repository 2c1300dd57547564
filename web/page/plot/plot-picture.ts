// "Копировать рисунок": the plot alone, as it is shown (a zoom included), without the
// buttons and letters over it, as a vector picture (SVG) of the plot's size and as a raster
// image of twice that size on white, drawn from the same description in the page's own face.
import type { LayerName } from '../../src/bench.js';
import { DOT_PATTERN, LABEL_FONT_FAMILY, LABEL_FONT_SIZE, LAYER_LOOKS, type AxesDrawing, type LayerLook } from './plot-drawing.js';
import type { PlotMapping } from './plot-frame.js';

/** The raster image is drawn at twice the plot's size: 1400 × 1400 px for the designed plot. */
export const RASTER_SCALE = 2;

/** What the picture shows: the axes and each layer's points (x, y pairs in cm). */
export interface ShownPlot {
    readonly axes: AxesDrawing;
    readonly layers: ReadonlyMap<LayerName, Float64Array>;
}

/** A layer's points in the plot's pixels; an axis line, upright or level, on a pixel middle. */
function pixels(mapping: PlotMapping, points: Float64Array, look: LayerLook): number[] {
    const out: number[] = [];
    for (let i = 0; i < points.length; i += 2)
        out.push(mapping.xToPixel(points[i]!), mapping.yToPixel(points[i + 1]!));
    if (look.kind === 'line' && look.dotted && out.length >= 4) {
        const middle = (at: number) => Math.floor(at) + 0.5;
        const last = out.length - 2;
        const upright = out[0] === out[last];
        const level = out[1] === out[last + 1];
        for (let i = 0; i < out.length; i += 2) {
            if (upright)
                out[i] = middle(out[i]!);
            if (level)
                out[i + 1] = middle(out[i + 1]!);
        }
    }
    return out;
}

const number = (value: number) => String(Math.round(value * 1000) / 1000);
const ESCAPES: Record<string, string> = { '&': '&amp;', '<': '&lt;', '>': '&gt;' };

/** The plot as an SVG document of its size on screen (700 × 700 px as designed). */
export function pictureSvg(plot: ShownPlot): string {
    const { axes } = plot;
    const { size, area: { left, top, width, height } } = axes.mapping;
    const out: string[] = [
        `<svg xmlns="http://www.w3.org/2000/svg" width="${size}px" height="${size}px" viewBox="0 0 ${size} ${size}">`,
        `<rect width="${size}" height="${size}" fill="#ffffff"/>`,
        `<g fill="none" stroke="#000000" stroke-width="1" stroke-linecap="square"><path d="${axes.line}"/><path d="${axes.ticks}"/><path d="${axes.minorTicks}"/></g>`,
        `<g font-family="${LABEL_FONT_FAMILY.replace(/'/g, '&apos;')}" font-size="${LABEL_FONT_SIZE}" fill="#000000">`,
        ...axes.labels.map((mark) =>
            `<text x="${number(mark.x)}" y="${number(mark.y)}" text-anchor="${mark.anchor}">${mark.text.replace(/[&<>]/g, (c) => ESCAPES[c]!)}</text>`),
        '</g>',
        `<clipPath id="data-area"><rect x="${left}" y="${top}" width="${width}" height="${height}"/></clipPath>`,
        '<g clip-path="url(#data-area)">',
    ];
    for (const [name, points] of plot.layers) {
        const look = LAYER_LOOKS[name];
        const at = pixels(axes.mapping, points, look);
        if (look.kind === 'dots') {
            out.push(`<g fill="${look.colour}">`);
            for (let i = 0; i < at.length; i += 2)
                out.push(`<circle cx="${number(at[i]!)}" cy="${number(at[i + 1]!)}" r="${look.diameter / 2}"/>`);
            out.push('</g>');
        } else if (at.length > 0) {
            const d = at.map((v, i) => `${i === 0 ? 'M' : i % 2 === 0 ? 'L' : ' '}${number(v)}`).join('');
            const dash = look.dotted ? ` stroke-dasharray="${DOT_PATTERN}"` : ' stroke-linecap="round" stroke-linejoin="round"';
            out.push(`<path d="${d}" fill="none" stroke="${look.colour}" stroke-width="${look.width}"${dash}/>`);
        }
    }
    out.push('</g></svg>');
    return out.join('\n');
}

/** The plot drawn on a canvas of twice its size, on white, as a PNG image. */
export function picturePng(plot: ShownPlot): Promise<Blob> {
    const canvas = document.createElement('canvas');
    canvas.width = canvas.height = plot.axes.mapping.size * RASTER_SCALE;
    const g = canvas.getContext('2d');
    if (g === null)
        return Promise.reject(new Error('the browser gives no canvas to draw the picture on'));
    g.fillStyle = '#ffffff';
    g.fillRect(0, 0, canvas.width, canvas.height);
    g.scale(RASTER_SCALE, RASTER_SCALE);
    const { axes } = plot;
    g.strokeStyle = g.fillStyle = '#000000';
    g.lineWidth = 1;
    g.lineCap = 'square';
    for (const d of [axes.line, axes.ticks, axes.minorTicks])
        g.stroke(new Path2D(d));
    g.font = `${LABEL_FONT_SIZE}px ${LABEL_FONT_FAMILY}`;
    for (const mark of axes.labels) {
        g.textAlign = mark.anchor === 'middle' ? 'center' : 'right';
        g.fillText(mark.text, mark.x, mark.y);
    }
    const { left, top, width, height } = axes.mapping.area;
    g.save();
    g.beginPath();
    g.rect(left, top, width, height);
    g.clip();
    for (const [name, points] of plot.layers) {
        const look = LAYER_LOOKS[name];
        const at = pixels(axes.mapping, points, look);
        if (at.length === 0)
            continue;
        g.beginPath();
        if (look.kind === 'dots') {
            const r = look.diameter / 2;
            for (let i = 0; i < at.length; i += 2) {
                g.moveTo(at[i]! + r, at[i + 1]!);
                g.arc(at[i]!, at[i + 1]!, r, 0, 2 * Math.PI);
            }
            g.fillStyle = look.colour;
            g.fill();
            continue;
        }
        g.moveTo(at[0]!, at[1]!);
        for (let i = 2; i < at.length; i += 2)
            g.lineTo(at[i]!, at[i + 1]!);
        g.strokeStyle = look.colour;
        g.lineWidth = look.width;
        g.setLineDash(look.dotted ? DOT_PATTERN.split(' ').map(Number) : []);
        g.lineCap = look.dotted ? 'butt' : 'round';
        g.lineJoin = 'round';
        g.stroke();
    }
    g.restore();
    return new Promise((resolve, reject) =>
        canvas.toBlob((blob) => (blob ? resolve(blob) : reject(new Error('the browser could not make the image'))), 'image/png'));
}
