// What lets the built page be installed and run without the network: its web manifest with
// the icons, and its service worker with the list of the files it keeps (service-worker.ts).
import { createHash } from 'node:crypto';
import { readdirSync, readFileSync, writeFileSync } from 'node:fs';
import { join, relative, sep } from 'node:path';

import { build } from 'esbuild';

import { appIcon } from './app-icon.mjs';

/** The worker's file in the page's folder; the browser keeps it itself, so it is not in its own list. */
const SERVICE_WORKER = 'service-worker.js';
/** The icon sizes an installed page needs: its window and launcher icon, and its splash screen. */
const ICON_SIZES = [192, 512];

/**
 * Writes into the page's folder `outDir` the manifest of the page called `caption` (short:
 * `shortName`) and its icons (pictures/icon-N.png, made from the PNG file `iconSource`);
 * returns the icons' files.
 */
export function writeManifest(outDir, { caption, shortName, iconSource }) {
    const source = readFileSync(iconSource);
    const icons = ICON_SIZES.map((size) => {
        const file = `pictures/icon-${size}.png`;
        writeFileSync(join(outDir, file), appIcon(source, size));
        return { src: file, sizes: `${size}x${size}`, type: 'image/png', purpose: 'any' };
    });
    const manifest = {
        id: './',
        name: caption,
        short_name: shortName,
        lang: 'ru',
        start_url: './',
        scope: './',
        display: 'standalone',
        background_color: '#ffffff',
        theme_color: '#ffffff',
        icons,
    };
    writeFileSync(join(outDir, 'manifest.webmanifest'), JSON.stringify(manifest, null, 2) + '\n');
    return icons.map((icon) => icon.src);
}

/** Every file under `folder`, as paths relative to it with "/", in a fixed order. */
function filesUnder(folder) {
    return readdirSync(folder, { recursive: true, withFileTypes: true })
        .filter((entry) => entry.isFile())
        .map((entry) => relative(folder, join(entry.parentPath ?? entry.path, entry.name)).split(sep).join('/'))
        .sort();
}

/**
 * Writes the service worker into `outDir`, once every other file of the page is there: the
 * list of those files and a version named by a hash of their names and contents are built
 * into the worker, so that any change to the page makes a new worker. The files `notKept`
 * are left out of the list but not of the version: the installed page's icons, which the
 * browser fetches and keeps itself when it installs the page, and which would otherwise be
 * a third of a first visit's transfer.
 * @param {string} workerSource   service-worker.ts
 * @param {string[]} target       esbuild's targets
 * @param {string[]} notKept      files of the page the worker does not keep
 */
export async function writeServiceWorker(outDir, workerSource, target, notKept) {
    const all = filesUnder(outDir).filter((file) => file !== SERVICE_WORKER);
    const files = all.filter((file) => !notKept.includes(file));
    const hash = createHash('sha256');
    for (const file of all)
        hash.update(`${file}\0`).update(readFileSync(join(outDir, file))).update('\0');
    await build({
        entryPoints: [workerSource],
        outfile: join(outDir, SERVICE_WORKER),
        bundle: true,
        format: 'iife',
        platform: 'browser',
        target,
        minify: true,
        legalComments: 'none',
        logLevel: 'warning',
        define: { PRECACHE_FILES: JSON.stringify(files), PRECACHE_VERSION: JSON.stringify(hash.digest('hex').slice(0, 16)) },
    });
}
