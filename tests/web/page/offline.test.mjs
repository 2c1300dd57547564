// The page without the network: served once, then kept by its service worker and run offline;
// opened from its single file (velmora.html) with no server; a new version waiting until the
// page is next opened; Chromium's verdict on installing it; and nothing kept in the browser
// but the worker's cache.
import assert from 'node:assert/strict';
import { cp, mkdtemp, readdir, readFile, rm, writeFile } from 'node:fs/promises';
import { tmpdir } from 'node:os';
import { join, relative } from 'node:path';
import { pathToFileURL } from 'node:url';
import { after, before, test } from 'node:test';

import { BenchPage, launchWithProfile, singleFile, startBrowser } from './bench-page.mjs';
import { assertPlaysAsCli } from './script-play.mjs';

const CACHE_NAME = /^velmora-[0-9a-f]{16}$/;
/** The page's files the worker leaves to the browser: itself, and the installed page's icons. */
const NOT_KEPT = /^(service-worker\.js|pictures\/icon-\d+\.png)$/;

/** Waits until the page's service worker is active, every file kept; the names of the caches. */
const kept = (page) => page.evaluate(async () => (await navigator.serviceWorker.ready, caches.keys()));

/** What the page keeps in the browser: cookies and every store a script can write. */
const stores = (page) => page.evaluate(async () => ({
    cookie: document.cookie,
    localStorage: localStorage.length,
    sessionStorage: sessionStorage.length,
    databases: (await indexedDB.databases()).length,
    caches: (await caches.keys()).length,
}));

let started;
before(async () => (started = await startBrowser()));
after(async () => started.close());

test('after its first visit the page starts and plays a session with the network gone, keeping nothing but its files', async () => {
    const bench = await BenchPage.open(started);
    assert.match((await kept(bench.page)).join(), CACHE_NAME);
    const keptFiles = await bench.page.evaluate(async () => {
        const cache = await caches.open((await caches.keys())[0]);
        return (await cache.keys()).map((request) => new URL(request.url).pathname.slice(1)).sort();
    });
    const files = (await readdir(started.folder, { recursive: true, withFileTypes: true })).filter((entry) => entry.isFile())
        .map((entry) => relative(started.folder, join(entry.parentPath, entry.name))).sort();
    assert.deepEqual(keptFiles, files.filter((file) => !NOT_KEPT.test(file)));
    await bench.context.setOffline(true);
    await bench.reload();
    assert.equal(await bench.page.evaluate(() => navigator.serviceWorker.controller?.state), 'activated');
    await assertPlaysAsCli(bench, 'scene');
    assert.deepEqual(await stores(bench.page), { cookie: '', localStorage: 0, sessionStorage: 0, databases: 0, caches: 1 });
    assert.deepEqual(await bench.context.cookies(), []);
    await bench.close();
});

test('velmora.html opened from a file plays a session with no server and no network, keeping nothing', async () => {
    const bench = await BenchPage.open({ browser: started.browser, url: pathToFileURL(singleFile).href }, { offline: true, clipboard: false });
    const loaded = await bench.page.evaluate(() => ({
        images: [...document.images].map((image) => image.complete && image.naturalWidth > 0),
        face: document.fonts.check('11px "Liberation Sans"') && [...document.fonts].every((face) => face.status === 'loaded'),
    }));
    assert.deepEqual(loaded, { images: [true, true, true, true], face: true });
    await assertPlaysAsCli(bench, 'bench_errors');
    assert.deepEqual(await stores(bench.page), { cookie: '', localStorage: 0, sessionStorage: 0, databases: 0, caches: 0 });
    assert.deepEqual(await bench.context.cookies(), []);
    await bench.close();
});

test('a new version of the page waits until the page is next opened, never taking over a running session', async () => {
    const folder = await mkdtemp(join(tmpdir(), 'velmora-page-'));
    await cp(started.folder, folder, { recursive: true });
    const served = await startBrowser({ folder });
    try {
        const bench = await BenchPage.open(served);
        const [first] = await kept(bench.page);
        await bench.reload();
        // The page built anew: a changed style sheet, and so a worker of another version.
        const sheet = join(folder, 'page.css');
        await writeFile(sheet, `${await readFile(sheet, 'utf8')}\n/* the next version */\n`);
        const worker = join(folder, 'service-worker.js');
        await writeFile(worker, (await readFile(worker, 'utf8')).replace(first.slice('velmora-'.length), 'feedfacefeedface'));
        const sheetShown = (page) => page.evaluate(async () => (await (await fetch('page.css')).text()).includes('the next version'));
        const during = await bench.page.evaluate(async () => {
            const registration = await navigator.serviceWorker.getRegistration();
            await registration.update();
            for (let i = 0; i < 200 && registration.waiting === null; ++i)
                await new Promise((resolve) => setTimeout(resolve, 50));
            return { waiting: registration.waiting?.state, controlledByActive: navigator.serviceWorker.controller === registration.active };
        });
        assert.deepEqual(during, { waiting: 'installed', controlledByActive: true });
        assert.equal(await sheetShown(bench.page), false, 'the running page gets the new version\'s files');
        assert.deepEqual((await kept(bench.page)).sort(), [first, 'velmora-feedfacefeedface'].sort());

        await bench.page.close();
        const next = await bench.context.newPage();
        await next.goto(served.url);
        await next.waitForSelector('#TForm1:not([aria-busy])');
        assert.equal(await sheetShown(next), true, 'the page opened again has the old version\'s files');
        assert.deepEqual(await kept(next), ['velmora-feedfacefeedface']);
        await bench.close();
    } finally {
        await served.close();
        await rm(folder, { recursive: true, force: true });
    }
});

test('Chromium finds the page installable, by its manifest and worker', async () => {
    // A browser context without a profile of its own is a private window, where nothing installs.
    const profile = await mkdtemp(join(tmpdir(), 'velmora-profile-'));
    const context = await launchWithProfile(profile);
    try {
        const bench = await BenchPage.openIn(context, started.url);
        await kept(bench.page);
        const devtools = await context.newCDPSession(bench.page);
        assert.deepEqual((await devtools.send('Page.getInstallabilityErrors')).installabilityErrors, []);
        const { errors, data } = await devtools.send('Page.getAppManifest');
        assert.deepEqual(errors, []);
        const manifest = JSON.parse(data);
        assert.deepEqual([manifest.short_name, manifest.display, manifest.icons.map((icon) => icon.sizes)],
            ['Velmora', 'standalone', ['192x192', '512x512']]);
        // Each icon as the browser decodes it: its size, and the desktop icon's round black
        // disc on a transparent ground (the opacity of a corner and of the middle).
        const icons = await bench.page.evaluate((files) => Promise.all(files.map(async (file) => {
            const picture = await createImageBitmap(await (await fetch(file)).blob());
            const g = new OffscreenCanvas(picture.width, picture.height).getContext('2d');
            g.drawImage(picture, 0, 0);
            const opacity = (x, y) => g.getImageData(x, y, 1, 1).data[3];
            return [`${picture.width}x${picture.height}`, opacity(0, 0), opacity(picture.width / 2, picture.height / 2)];
        })), manifest.icons.map((icon) => icon.src));
        assert.deepEqual(icons, [['192x192', 0, 255], ['512x512', 0, 255]]);
        await bench.close();
    } finally {
        await rm(profile, { recursive: true, force: true });
    }
});
