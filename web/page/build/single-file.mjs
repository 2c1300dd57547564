// The whole page in one HTML file (velmora.html) that works opened from a file, with no
// server and no network, say from a USB stick: the page's scripts bundled over the module
// that carries its .wasm inside (velmora-module-single.mjs) as one inline script, both style
// sheets as one inline style sheet, and the face and the pictures as data: URLs. Its
// Content-Security-Policy allows that one script and that one style sheet by their hashes
// (page-policy.mjs).
import { readFileSync, writeFileSync } from 'node:fs';
import { extname, join } from 'node:path';

import { build } from 'esbuild';

import { singleFilePolicy } from './page-policy.mjs';

const TYPES = { '.png': 'image/png', '.jpg': 'image/jpeg', '.bmp': 'image/bmp', '.svg': 'image/svg+xml', '.ttf': 'font/ttf' };

/** Replaces `pattern` in `text` (it must be there) by what `by` makes of each match. */
function replaceAll(text, pattern, by) {
    if (!pattern.test(text))
        throw new Error(`the page has nothing like ${pattern}`);
    return text.replace(new RegExp(pattern.source, 'g'), by);
}

/**
 * Writes the single file `target` from the built page folder `pageDir` and a bundle of the
 * page's scripts made with esbuild's `options` over the module file `moduleFile`.
 */
export async function writeSingleFile(target, { pageDir, moduleFile, options }) {
    const dataUrl = (file) => {
        const type = TYPES[extname(file).toLowerCase()];
        if (type === undefined)
            throw new Error(`no data: type for ${file}`);
        return `data:${type};base64,${readFileSync(join(pageDir, file)).toString('base64')}`;
    };
    const bundled = await build({ ...options, alias: { ...options.alias, 'velmora-module': moduleFile }, write: false });
    const script = bundled.outputFiles[0].text;
    if (/<\/script|<!--/i.test(script))
        throw new Error('the bundled script holds a text that would end an inline script');
    const style = replaceAll(['page.css', 'designed.css'].map((file) => readFileSync(join(pageDir, file), 'utf8')).join('\n'),
        /url\('([^':]+)'\)/, (_, file) => `url('${dataUrl(file)}')`);
    if (/<\/style/i.test(style))
        throw new Error('the style sheets hold a text that would end an inline style sheet');

    let html = readFileSync(join(pageDir, 'index.html'), 'utf8');
    html = replaceAll(html, /\n<link rel="(?:preload|manifest|stylesheet)"[^>]*>/, () => '');
    html = replaceAll(html, /(<meta http-equiv="Content-Security-Policy" content=")[^"]*"/, (_, start) => `${start}${singleFilePolicy(script, style)}"`);
    html = replaceAll(html, /\n<script type="module" src="velmora-page.js"><\/script>/,
        () => `\n<style>${style}</style>\n<script type="module">${script}</script>`);
    html = replaceAll(html, /(src|href)="(pictures\/[^"]+)"/, (_, attribute, file) => `${attribute}="${dataUrl(file)}"`);
    writeFileSync(target, html);
}
