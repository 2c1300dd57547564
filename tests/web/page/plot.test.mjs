// The plot in the page: the gestures as on the desktop (zoom, restore, pan, wheel, the edge
// cases of the drags), Reset's fixed ranges, the tick labels' separator, a trace longer than
// one of its paths, and CopyPicture read back from the clipboard, refused where the browser
// refuses it.
import assert from 'node:assert/strict';
import { after, before, describe, test } from 'node:test';

import { BenchPage, layer, startBrowser } from './bench-page.mjs';

/** The data area at the fixed ranges, in the plot's pixels: columns 51 to 678, rows 28 to 646. */
const AREA = { left: 51, top: 28, width: 628, height: 619 };
const FIXED = { x: { min: -21, max: 29 }, y: { min: -25, max: 25 } };
const CENTRE = { x: AREA.left + 314, y: AREA.top + 309 };
const xAt = (px) => FIXED.x.min + ((px - AREA.left) / AREA.width) * 50;
const yAt = (px) => FIXED.y.min + ((AREA.top + AREA.height - 1 - px) / AREA.height) * 50;

function assertRanges(actual, expected, tolerance = 1e-9) {
    for (const axis of ['x', 'y']) {
        for (const end of ['min', 'max']) {
            assert.ok(Math.abs(actual[axis][end] - expected[axis][end]) < tolerance,
                `${axis}.${end} is ${actual[axis][end]}, not ${expected[axis][end]}`);
        }
    }
}

/** Where the plot's pixel (x, y) is on the page. */
async function onPage(bench, x, y) {
    const box = await bench.page.locator('#Chart1-picture').boundingBox();
    return { x: box.x + x, y: box.y + y };
}

/** A drag with `button` from the plot's pixel `from` by `by` pixels. */
async function drag(bench, button, from, by) {
    const start = await onPage(bench, from.x, from.y);
    const mouse = bench.page.mouse;
    await mouse.move(start.x, start.y);
    await mouse.down({ button });
    await mouse.move(start.x + by.x, start.y + by.y, { steps: 4 });
    await mouse.up({ button });
}

let started;
before(async () => (started = await startBrowser()));
after(async () => started.close());

describe('gestures', () => {
    let bench;
    before(async () => (bench = await BenchPage.open(started)));
    after(async () => bench.close());

    const drags = [
        { name: '10 px right and down does nothing', by: { x: 10, y: 10 }, zooms: false },
        { name: '16 px both ways is not more than 16', by: { x: 16, y: 16 }, zooms: false },
        { name: '100 px right and 10 px down does nothing', by: { x: 100, y: 10 }, zooms: false },
        { name: '17 px right and down zooms', by: { x: 17, y: 17 }, zooms: true },
        { name: '100 px right and down zooms', by: { x: 100, y: 100 }, zooms: true },
        { name: '100 px right and up zooms', by: { x: 100, y: -100 }, zooms: true },
        { name: '100 px left and down with nothing to restore does nothing', by: { x: -100, y: 100 }, zooms: false },
    ];
    for (const { name, by, zooms } of drags) {
        test(`a left drag of ${name}`, async () => {
            await bench.press('reset');
            await drag(bench, 'left', CENTRE, by);
            const end = { x: CENTRE.x + by.x, y: CENTRE.y + by.y };
            const expected = zooms
                ? { x: { min: xAt(Math.min(CENTRE.x, end.x)), max: xAt(Math.max(CENTRE.x, end.x)) },
                    y: { min: yAt(Math.max(CENTRE.y, end.y)), max: yAt(Math.min(CENTRE.y, end.y)) } }
                : FIXED;
            assertRanges(await bench.ranges(), expected);
        });
    }

    test('a left drag to the left restores the ranges from before the first zoom, pan and wheel', async () => {
        await bench.press('reset');
        await drag(bench, 'left', CENTRE, { x: 100, y: 100 });
        await drag(bench, 'right', CENTRE, { x: 30, y: 0 });
        await bench.page.mouse.wheel(0, 100);
        await drag(bench, 'left', CENTRE, { x: -100, y: 100 });
        assertRanges(await bench.ranges(), FIXED);
        // A second restore with nothing changed since changes nothing; a zoom after it returns to it.
        await drag(bench, 'left', CENTRE, { x: 50, y: 50 });
        await drag(bench, 'left', CENTRE, { x: -50, y: -50 });
        assertRanges(await bench.ranges(), FIXED);
    });

    test('a right drag pans with the mouse, a drag from outside the data area does nothing', async () => {
        await bench.press('reset');
        await drag(bench, 'right', CENTRE, { x: 40, y: -20 });
        const dx = (40 * 50) / AREA.width;
        const dy = (20 * 50) / AREA.height;
        assertRanges(await bench.ranges(), { x: { min: -21 - dx, max: 29 - dx }, y: { min: -25 - dy, max: 25 - dy } });
        await bench.press('reset');
        await drag(bench, 'left', { x: 20, y: 20 }, { x: 100, y: 100 });
        assertRanges(await bench.ranges(), FIXED);
    });

    const notches = [
        { name: 'towards the student', deltaY: 100, y: { min: -26.5, max: 23.5 } },
        { name: 'away from the student', deltaY: -100, y: { min: -23.5, max: 26.5 } },
    ];
    for (const { name, deltaY, y } of notches) {
        test(`one wheel notch ${name} moves only the vertical range, and the page does not scroll`, async () => {
            await bench.press('reset');
            const at = await onPage(bench, CENTRE.x, CENTRE.y);
            await bench.page.mouse.move(at.x, at.y);
            await bench.page.mouse.wheel(0, deltaY);
            assertRanges(await bench.ranges(), { x: FIXED.x, y });
            assert.equal(await bench.page.evaluate(() => window.scrollY), 0);
        });
    }

    test('Reset shows the fixed ranges again; the context menu does not open over the plot', async () => {
        await drag(bench, 'left', CENTRE, { x: 100, y: 100 });
        await bench.press('reset');
        assertRanges(await bench.ranges(), FIXED);
        const prevented = await bench.page.evaluate(() => {
            const menu = new MouseEvent('contextmenu', { bubbles: true, cancelable: true, button: 2 });
            return !document.querySelector('#Chart1-picture').dispatchEvent(menu);
        });
        assert.equal(prevented, true);
    });
});

test('the tick labels follow the browser language\'s decimal separator', async () => {
    const bench = await BenchPage.open(started, { locale: 'de-DE' });
    await drag(bench, 'left', CENTRE, { x: 40, y: 40 });
    const labels = () => bench.page.$$eval('#Chart1-picture text', (texts) => texts.map((t) => t.textContent));
    const german = await labels();
    assert.ok(german.some((label) => label.includes(',')) && !german.some((label) => label.includes('.')), german.join(' '));
    await bench.useSeparator('.');
    assert.deepEqual(await labels(), german.map((label) => label.replace(',', '.')));
    await bench.close();
});

test('a trace of more dots than one path holds shows every dot in order', async () => {
    const bench = await BenchPage.open(started);
    const reference = await layer.Bench.load();
    reference.setDecimalSeparator('.');
    reference.run('reset');
    reference.setOption('writeProtocol', true);
    await bench.tick('protocol', true);
    await bench.type('Шаг (см)', '0.01');
    reference.type('Шаг (см)', '0.01');
    const presses = 1005;
    await bench.page.evaluate((count) => {
        const button = document.querySelector('#Button6');
        for (let i = 0; i < count; ++i)
            button.click();
    }, presses);
    for (let i = 0; i < presses; ++i)
        reference.run('stepx');
    const shown = new Map(await bench.scene());
    assert.deepEqual(shown.get('Trace'), [...reference.points('Trace')]);
    assert.deepEqual(shown.get('ProbeMarker'), [...reference.points('ProbeMarker')]);
    // The canvas paints the dots where the trace's path puts them, and nothing elsewhere.
    const [x, y] = shown.get('Trace').slice(-2);
    const painted = await bench.page.evaluate(([px, py]) => {
        const canvas = document.querySelector('#Chart1 .plot-trace');
        const scale = canvas.width / canvas.clientWidth;
        const at = (u, v) => [...canvas.getContext('2d').getImageData(Math.floor(u * scale), Math.floor(v * scale), 1, 1).data];
        return { dot: at(px + 0.5, py + 0.5), empty: at(px + 0.5, py + 40.5) };
    }, [AREA.left + ((x - FIXED.x.min) / 50) * AREA.width, AREA.top + AREA.height - 1 - ((y - FIXED.y.min) / 50) * AREA.height]);
    assert.deepEqual(painted, { dot: [255, 0, 0, 255], empty: [0, 0, 0, 0] });
    await bench.close();
});

describe('CopyPicture', () => {
    /** What the clipboard holds once the page's write has finished: the PNG's size and some pixels, and the SVG text. */
    async function readPicture(bench) {
        return bench.page.evaluate(async () => {
            for (let tries = 0; tries < 200; ++tries) {
                const [item] = await navigator.clipboard.read();
                if (item?.types.includes('image/png')) {
                    const image = await createImageBitmap(await item.getType('image/png'));
                    const canvas = new OffscreenCanvas(image.width, image.height);
                    const g = canvas.getContext('2d');
                    g.drawImage(image, 0, 0);
                    const pixel = (x, y) => [...g.getImageData(x, y, 1, 1).data.slice(0, 3)];
                    const svg = item.types.includes('image/svg+xml') ? await (await item.getType('image/svg+xml')).text() : null;
                    // The wire section at (13, 0) and the plot's top-left corner, at twice the plot's pixels.
                    return { width: image.width, height: image.height, wire: pixel(956, 673), corner: pixel(2, 2), svg };
                }
                await new Promise((resolve) => setTimeout(resolve, 50));
            }
            return null;
        });
    }

    test('puts the plot as it is shown on the clipboard: a PNG of 1400 × 1400 on white with the wires red, and an SVG', async () => {
        const bench = await BenchPage.open(started);
        await bench.button('Копировать рисунок').click();
        const picture = await readPicture(bench);
        assert.ok(picture, 'nothing came on the clipboard');
        assert.deepEqual([picture.width, picture.height], [1400, 1400]);
        assert.deepEqual(picture.wire, [255, 0, 0]);
        assert.deepEqual(picture.corner, [255, 255, 255]);
        const parsed = await bench.page.evaluate((svg) => {
            const doc = new DOMParser().parseFromString(svg, 'image/svg+xml');
            return { root: doc.documentElement.nodeName, width: doc.documentElement.getAttribute('width'),
                errors: doc.getElementsByTagName('parsererror').length, labels: [...doc.querySelectorAll('text')].map((t) => t.textContent),
                buttons: /Копировать|Информация|>X<|>Y</.test(svg) };
        }, picture.svg);
        const shown = await bench.page.$$eval('#Chart1-picture text', (texts) => texts.map((t) => t.textContent));
        assert.deepEqual(parsed, { root: 'svg', width: '700px', errors: 0, labels: shown, buttons: false });
        // After a zoom the picture shows the zoomed plot.
        await drag(bench, 'left', CENTRE, { x: 100, y: 100 });
        await bench.page.evaluate(() => navigator.clipboard.writeText(''));
        await bench.button('Копировать рисунок').click();
        const zoomed = await readPicture(bench);
        const labels = await bench.page.$$eval('#Chart1-picture text', (texts) => texts.map((t) => t.textContent));
        assert.notDeepEqual(labels, shown);
        assert.deepEqual(await bench.page.evaluate((svg) => [...new DOMParser().parseFromString(svg, 'image/svg+xml')
            .querySelectorAll('text')].map((t) => t.textContent), zoomed.svg), labels);
        await bench.close();
    });

    const refusals = [
        { name: 'a permissions policy that blocks the clipboard', query: '?clipboard-blocked',
          message: /^Cannot open clipboard: Failed to execute 'write' on 'Clipboard': The Clipboard API has been blocked because of a permissions policy applied to the current document\./,
          console: /Permissions policy violation/ },
        { name: 'a page of an insecure origin, which has no clipboard', before: () => Object.defineProperty(Navigator.prototype, 'clipboard', { get: () => undefined }),
          message: /^Cannot open clipboard: the browser gives the clipboard only to pages of a secure origin, one of https or of this computer\.$/ },
        { name: 'a browser that cannot put pictures on the clipboard', before: () => delete window.ClipboardItem,
          message: /^Cannot open clipboard: this browser cannot put pictures on the clipboard\.$/ },
    ];
    for (const refusal of refusals) {
        test(`is refused with the browser's reason and writes nothing: ${refusal.name}`, async () => {
            const bench = await BenchPage.open(started, { before: refusal.before ?? null, query: refusal.query ?? '' });
            // What was on the clipboard before, read through a page the browser lets use it.
            const witness = await BenchPage.open(started);
            await witness.page.evaluate(() => navigator.clipboard.writeText('kept'));
            await bench.button('Копировать рисунок').click();
            await bench.page.waitForSelector('#ErrorBox[open]');
            assert.match(await bench.dismissError(), refusal.message);
            assert.equal(await witness.page.evaluate(() => navigator.clipboard.readText()), 'kept');
            bench.problems = bench.problems.filter((problem) => !(refusal.console?.test(problem)));
            await bench.close();
            await witness.close();
        });
    }
});
