// A small static web server for the built page, on this computer only:
//   node web/page/serve.mjs FOLDER [PORT]     (PORT 8080 unless given; 0 takes a free one)
// It serves the files of FOLDER as they are, with their types, compressed with gzip for a
// browser that takes it, and revalidated on every load (an unchanged file is answered "304
// Not Modified"). Nothing else: no other methods, no listings, no cookies. Stops on Ctrl+C.
import { createServer } from 'node:http';
import { readFile, stat } from 'node:fs/promises';
import { extname, join, normalize, resolve, sep } from 'node:path';
import { pathToFileURL } from 'node:url';
import { gzipSync } from 'node:zlib';

const TYPES = {
    '.html': 'text/html; charset=utf-8',
    '.css': 'text/css; charset=utf-8',
    '.js': 'text/javascript; charset=utf-8',
    '.mjs': 'text/javascript; charset=utf-8',
    '.json': 'application/json',
    '.webmanifest': 'application/manifest+json',
    '.wasm': 'application/wasm',
    '.svg': 'image/svg+xml',
    '.png': 'image/png',
    '.jpg': 'image/jpeg',
    '.bmp': 'image/bmp',
    '.ttf': 'font/ttf',
    '.woff2': 'font/woff2',
};
/** Types that gzip makes smaller; pictures already compressed are sent as they are. */
const COMPRESSED = new Set(['.png', '.jpg', '.woff2']);

/**
 * A server of the files under `root`. `headers` (given the request's URL) are added to every
 * answer; each answer is reported to `onRequest` (for tests and figures that count what a page
 * loads).
 */
export function staticServer(root, { headers: extra = () => ({}), onRequest = () => {} } = {}) {
    const base = resolve(root);
    const gzipped = new Map();
    return createServer(async (request, response) => {
        const reply = (status, headers = {}, body = undefined) => {
            response.writeHead(status, { 'X-Content-Type-Options': 'nosniff', ...extra(request.url), ...headers });
            response.end(request.method === 'HEAD' ? undefined : body);
            onRequest({ method: request.method, url: request.url, status, bytes: body?.length ?? 0 });
        };
        if (request.method !== 'GET' && request.method !== 'HEAD')
            return reply(405, { Allow: 'GET, HEAD' });
        let path;
        try {
            path = decodeURIComponent(new URL(request.url, 'http://localhost').pathname);
        } catch {
            return reply(400);
        }
        const file = normalize(join(base, path.endsWith('/') ? `${path}index.html` : path));
        if (file !== base && !file.startsWith(base + sep))
            return reply(404);
        let info;
        try {
            info = await stat(file);
        } catch {
            return reply(404);
        }
        if (!info.isFile())
            return reply(404);
        const type = extname(file).toLowerCase();
        const gzip = !COMPRESSED.has(type) && /\bgzip\b/.test(request.headers['accept-encoding'] ?? '');
        const tag = `"${info.size.toString(16)}-${Math.floor(info.mtimeMs).toString(16)}${gzip ? '-gz' : ''}"`;
        const headers = {
            'Content-Type': TYPES[type] ?? 'application/octet-stream',
            'Cache-Control': 'no-cache',
            ETag: tag,
            Vary: 'Accept-Encoding',
        };
        if (request.headers['if-none-match'] === tag)
            return reply(304, headers);
        let body = await readFile(file);
        if (gzip) {
            const key = `${file}\n${tag}`;
            if (!gzipped.has(key))
                gzipped.set(key, gzipSync(body, { level: 9 }));
            body = gzipped.get(key);
            headers['Content-Encoding'] = 'gzip';
        }
        reply(200, { ...headers, 'Content-Length': body.length }, body);
    });
}

if (import.meta.url === pathToFileURL(process.argv[1] ?? '').href) {
    const [folder, port = '8080'] = process.argv.slice(2);
    if (!folder) {
        console.error('usage: node serve.mjs FOLDER [PORT]');
        process.exit(2);
    }
    const server = staticServer(folder);
    server.on('error', (error) => {
        console.error(`velmora page server: ${error.message}`);
        process.exit(1);
    });
    server.listen(Number(port), '127.0.0.1', () => {
        console.log(`Velmora's page: http://localhost:${server.address().port}/ (Ctrl+C stops)`);
    });
    process.on('SIGINT', () => server.close(() => process.exit(0)));
}
