// The page's icons for an installed page, in the sizes browsers ask a web manifest for, made
// from the desktop's icon theme (packaging/icons, drawn by tools/make-pictures) when the page
// is built: its largest picture, 256 × 256 RGBA, resampled to each size. Node's zlib is all
// it takes to read and write a PNG of that one kind, so the build needs no image tool.
import { crc32, deflateSync, inflateSync } from 'node:zlib';

const SIGNATURE = Buffer.from([0x89, 0x50, 0x4e, 0x47, 0x0d, 0x0a, 0x1a, 0x0a]);
const RGBA = 6;

/** The chunks of a PNG file: [type, data] pairs. */
function chunks(png) {
    if (!png.subarray(0, 8).equals(SIGNATURE))
        throw new Error('not a PNG file');
    const out = [];
    for (let at = 8; at < png.length; ) {
        const length = png.readUInt32BE(at);
        out.push([png.toString('latin1', at + 4, at + 8), png.subarray(at + 8, at + 8 + length)]);
        at += 12 + length;
    }
    return out;
}

const paeth = (a, b, c) => {
    const p = a + b - c, pa = Math.abs(p - a), pb = Math.abs(p - b), pc = Math.abs(p - c);
    return pa <= pb && pa <= pc ? a : pb <= pc ? b : c;
};

/** What each PNG row filter predicts a byte from: the bytes left (a), above (b) and above-left (c). */
const PREDICTORS = [() => 0, (a) => a, (a, b) => b, (a, b) => (a + b) >> 1, paeth];

/** The neighbours of byte `i` of row `y` in the pixels `rgba` of rows `stride` bytes long. */
function neighbours(rgba, stride, y, i) {
    return [i >= 4 ? rgba[y * stride + i - 4] : 0, y > 0 ? rgba[(y - 1) * stride + i] : 0,
        i >= 4 && y > 0 ? rgba[(y - 1) * stride + i - 4] : 0];
}

/** The pixels of an 8-bit RGBA, non-interlaced PNG: { width, height, rgba }. */
export function readRgbaPng(png) {
    const all = chunks(png);
    const header = all.find(([type]) => type === 'IHDR')[1];
    const width = header.readUInt32BE(0), height = header.readUInt32BE(4);
    if (header[8] !== 8 || header[9] !== RGBA || header[12] !== 0)
        throw new Error('only 8-bit RGBA PNG files without interlacing are read');
    const filtered = inflateSync(Buffer.concat(all.filter(([type]) => type === 'IDAT').map(([, data]) => data)));
    const stride = width * 4;
    const rgba = Buffer.alloc(stride * height);
    for (let y = 0; y < height; ++y) {
        const predict = PREDICTORS[filtered[y * (stride + 1)]];
        if (predict === undefined)
            throw new Error(`unknown PNG row filter ${filtered[y * (stride + 1)]}`);
        for (let i = 0; i < stride; ++i)
            rgba[y * stride + i] = (filtered[y * (stride + 1) + 1 + i] + predict(...neighbours(rgba, stride, y, i))) & 0xff;
    }
    return { width, height, rgba };
}

function chunk(type, data) {
    const body = Buffer.concat([Buffer.from(type, 'latin1'), data]);
    const framed = Buffer.alloc(body.length + 8);
    framed.writeUInt32BE(data.length, 0);
    body.copy(framed, 4);
    framed.writeUInt32BE(crc32(body), body.length + 4);
    return framed;
}

/**
 * An 8-bit RGBA PNG file of the pixels, each row filtered by the predictor that leaves the
 * smallest differences (the usual rule, which lets deflate do best); the same pixels always
 * give the same bytes.
 */
export function writeRgbaPng({ width, height, rgba }) {
    const header = Buffer.alloc(13);
    header.writeUInt32BE(width, 0);
    header.writeUInt32BE(height, 4);
    header.set([8, RGBA, 0, 0, 0], 8);
    const stride = width * 4;
    const rows = [];
    for (let y = 0; y < height; ++y) {
        const candidates = PREDICTORS.map((predict, filter) => {
            const row = Buffer.alloc(stride + 1);
            row[0] = filter;
            for (let i = 0; i < stride; ++i)
                row[i + 1] = (rgba[y * stride + i] - predict(...neighbours(rgba, stride, y, i))) & 0xff;
            return row;
        });
        const cost = (row) => row.subarray(1).reduce((sum, byte) => sum + (byte < 128 ? byte : 256 - byte), 0);
        rows.push(candidates.reduce((best, row) => (cost(row) < cost(best) ? row : best)));
    }
    return Buffer.concat([SIGNATURE, chunk('IHDR', header), chunk('IDAT', deflateSync(Buffer.concat(rows), { level: 9 })),
        chunk('IEND', Buffer.alloc(0))]);
}

/**
 * The picture resampled to `size` × `size` by a tent filter as wide as a source pixel or a
 * target pixel, whichever is larger (bilinear when enlarging, an area average when
 * reducing), with the colours weighted by their opacity so that no dark fringe appears
 * around transparent parts.
 */
export function resample({ width, height, rgba }, size) {
    const weightsAlong = (from) => {
        const scale = from / size, radius = Math.max(1, scale);
        return Array.from({ length: size }, (_, target) => {
            const centre = (target + 0.5) * scale - 0.5;
            const taps = [];
            for (let s = Math.ceil(centre - radius); s <= Math.floor(centre + radius); ++s) {
                const w = 1 - Math.abs(s - centre) / radius;
                if (w > 0)
                    taps.push([Math.min(from - 1, Math.max(0, s)), w]);
            }
            return taps;
        });
    };
    const across = weightsAlong(width), down = weightsAlong(height);
    const out = Buffer.alloc(size * size * 4);
    for (let y = 0; y < size; ++y) {
        for (let x = 0; x < size; ++x) {
            const sum = [0, 0, 0, 0];
            let total = 0;
            for (const [sy, wy] of down[y]) {
                for (const [sx, wx] of across[x]) {
                    const at = (sy * width + sx) * 4, w = wx * wy, alpha = rgba[at + 3] * w;
                    sum[0] += rgba[at] * alpha;
                    sum[1] += rgba[at + 1] * alpha;
                    sum[2] += rgba[at + 2] * alpha;
                    sum[3] += alpha;
                    total += w;
                }
            }
            const at = (y * size + x) * 4;
            for (let c = 0; c < 3; ++c)
                out[at + c] = sum[3] > 0 ? Math.round(sum[c] / sum[3]) : 0;
            out[at + 3] = Math.round(sum[3] / total);
        }
    }
    return { width: size, height: size, rgba: out };
}

/** The icon file of `size` × `size` pixels made from the PNG `source`. */
export function appIcon(source, size) {
    return writeRgbaPng(resample(readRgbaPng(source), size));
}
