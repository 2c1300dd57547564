// The trace's dots painted on a canvas over the plot's lower layers: a browser strokes ten
// thousand round dots of an SVG path in 120 to 240 ms, a canvas fills them in 30 (BENCHMARKS.md),
// and a new dot adds one circle to what the canvas already shows.
import type { PlotMapping } from './plot-frame.js';

export class TraceCanvas {
    readonly #canvas: HTMLCanvasElement;
    readonly #colour: string;
    readonly #radius: number;
    #scale = 0;
    /** What the canvas shows: the mapping it was drawn with, and the dots drawn (x, y pairs in cm). */
    #mapping: string | null = null;
    #drawn: Float64Array = new Float64Array();

    /** Paints dots of `diameter` px in `colour` on `canvas`, which lies over the plot at its size. */
    constructor(canvas: HTMLCanvasElement, colour: string, diameter: number) {
        this.#canvas = canvas;
        this.#colour = colour;
        this.#radius = diameter / 2;
    }

    /**
     * Shows `points` where `mapping` puts them, clipped to its data area: only the new dots
     * when the points continue those shown under the same mapping, all of them otherwise.
     */
    show(points: Float64Array, mapping: PlotMapping): void {
        const scale = window.devicePixelRatio || 1;
        const key = `${mapping.transform()} ${JSON.stringify(mapping.area)}`;
        const drawn = this.#drawn;
        const continues = scale === this.#scale && key === this.#mapping && drawn.length <= points.length &&
            (drawn.length === 0 || (drawn[drawn.length - 2] === points[drawn.length - 2] && drawn[drawn.length - 1] === points[drawn.length - 1]));
        const g = this.#canvas.getContext('2d');
        if (g === null)
            return;
        let from = drawn.length / 2;
        if (!continues) {
            this.#fit(scale);
            g.setTransform(scale, 0, 0, scale, 0, 0);
            g.clearRect(0, 0, this.#canvas.width, this.#canvas.height);
            from = 0;
        }
        const { left, top, width, height } = mapping.area;
        g.save();
        g.beginPath();
        g.rect(left, top, width, height);
        g.clip();
        g.beginPath();
        // On pixel middles, as the plot's SVG draws.
        for (let i = from; i < points.length / 2; ++i) {
            const x = mapping.xToPixel(points[2 * i]!) + 0.5;
            const y = mapping.yToPixel(points[2 * i + 1]!) + 0.5;
            g.moveTo(x + this.#radius, y);
            g.arc(x, y, this.#radius, 0, 2 * Math.PI);
        }
        g.fillStyle = this.#colour;
        g.fill();
        g.restore();
        this.#mapping = key;
        this.#drawn = points;
    }

    /** Gives the canvas one pixel of its own per device pixel. */
    #fit(scale: number): void {
        const size = Math.round(this.#canvas.clientWidth * scale);
        if (this.#canvas.width !== size || this.#canvas.height !== size)
            this.#canvas.width = this.#canvas.height = size;
        this.#scale = scale;
    }
}
