// Builds the page into one folder of static files that any web server serves as it is, and
// the same page as one file beside that folder:
//   node web/page/build/build-page.mjs MODULE_DIR OUT_DIR
// MODULE_DIR holds the emscripten module (velmora-module.mjs and its .wasm, and
// velmora-module-single.mjs with the .wasm inside). OUT_DIR is emptied and receives
//   index.html, designed.css   the three windows, written from resources/Unit1.ui … Unit3.ui
//   page.css                   their looks
//   velmora-page.js            the page's scripts with the TypeScript layer and the module's
//                              JavaScript, bundled by esbuild; velmora-module.wasm beside it
//   fonts/                     Liberation Sans from Debian's fonts-liberation2, with its licence
//   pictures/                  the desktop's pictures from resources/, the check mark, and the
//                              icons of the installed page
//   manifest.webmanifest       what a browser installs the page by
//   service-worker.js          what keeps the files above (but the icons) for use without
//                              the network
// and OUT_DIR/../velmora.html is the whole page in one file (single-file.mjs).
import { copyFileSync, mkdirSync, readFileSync, rmSync, writeFileSync } from 'node:fs';
import { dirname, join } from 'node:path';
import { fileURLToPath } from 'node:url';

import { build } from 'esbuild';

import { writeManifest, writeServiceWorker } from './offline-files.mjs';
import { mainWindowMarkup, sideWindowMarkup } from './page-markup.mjs';
import { servedPolicy } from './page-policy.mjs';
import { writeSingleFile } from './single-file.mjs';
import { readWindowDefinition } from './ui-file.mjs';

const [moduleDir, outDir] = process.argv.slice(2);
if (!moduleDir || !outDir) {
    console.error('usage: node build-page.mjs MODULE_DIR OUT_DIR');
    process.exit(2);
}
const page = join(dirname(fileURLToPath(import.meta.url)), '..');
const source = join(page, '..', '..');
const resources = join(source, 'resources');
/** Where Debian's fonts-liberation2 puts the face and its licence. */
const FONT = '/usr/share/fonts/truetype/liberation2/LiberationSans-Regular.ttf';
const FONT_LICENCE = '/usr/share/doc/fonts-liberation2/copyright';

const definition = (name) => readWindowDefinition(readFileSync(join(resources, `${name}.ui`), 'utf8'));
const mainWindow = definition('Unit1');
const mainMarkup = mainWindowMarkup(mainWindow);
const sides = ['Unit2', 'Unit3'].map((name) => sideWindowMarkup(definition(name), mainWindow.size.width));

rmSync(outDir, { recursive: true, force: true });
for (const folder of ['fonts', 'pictures'])
    mkdirSync(join(outDir, folder), { recursive: true });

writeFileSync(join(outDir, 'designed.css'), [mainMarkup.css, ...sides.map((s) => s.css)].join('\n') + '\n');
copyFileSync(join(page, 'page.css'), join(outDir, 'page.css'));

/** What Chromium, Firefox ESR 115 and Safari 16.4 all run. */
const target = ['chrome111', 'firefox115', 'safari16.4'];
const scripts = {
    entryPoints: [join(page, 'main.ts')],
    bundle: true,
    format: 'esm',
    platform: 'browser',
    target,
    minify: true,
    legalComments: 'none',
    logLevel: 'warning',
    // The module's branch for node, which a browser never takes, asks for these.
    external: ['fs', 'path'],
};
await build({ ...scripts, outfile: join(outDir, 'velmora-page.js'), alias: { 'velmora-module': join(moduleDir, 'velmora-module.mjs') } });

const fill = {
    '{{caption}}': mainWindow.caption,
    '{{policy}}': servedPolicy(readFileSync(join(outDir, 'velmora-page.js'))),
    '{{main window}}': mainMarkup.html,
    '{{side windows}}': sides.map((s) => s.html).join('\n'),
};
let html = readFileSync(join(page, 'index.html'), 'utf8');
for (const [slot, text] of Object.entries(fill)) {
    if (!html.includes(slot))
        throw new Error(`index.html has no ${slot}`);
    html = html.replace(slot, () => text);
}
writeFileSync(join(outDir, 'index.html'), html);
copyFileSync(join(moduleDir, 'velmora-module.wasm'), join(outDir, 'velmora-module.wasm'));

copyFileSync(FONT, join(outDir, 'fonts', 'LiberationSans-Regular.ttf'));
copyFileSync(FONT_LICENCE, join(outDir, 'fonts', 'LICENSE'));
for (const picture of ['formula.jpg', 'apparatus.bmp', 'velmora.png'])
    copyFileSync(join(resources, picture), join(outDir, 'pictures', picture));
copyFileSync(join(page, 'pictures', 'check-mark.svg'), join(outDir, 'pictures', 'check-mark.svg'));
const icons = writeManifest(outDir, {
    caption: mainWindow.caption,
    shortName: 'Velmora',
    iconSource: join(source, 'packaging', 'icons', 'hicolor', '256x256', 'apps', 'org.example.Velmora.png'),
});
await writeServiceWorker(outDir, join(page, 'service-worker.ts'), target, icons);

await writeSingleFile(join(outDir, '..', 'velmora.html'), {
    pageDir: outDir,
    moduleFile: join(moduleDir, 'velmora-module-single.mjs'),
    options: scripts,
});
