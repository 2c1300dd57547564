// The page on the screens students bring: the designed window from 1023 px wide on (scrolled
// when the screen is lower than it), one column on narrower screens (the plot first, square
// and as wide as the screen allows, then the buttons, the check boxes, the readout grid and
// the protocol box). On each screen every button does its command, every control lies in the
// page's width and within reach by scrolling, nothing scrolls sideways, the side windows fit,
// and the plot's gestures (a mouse's, or fingers' on a touch screen) zoom, restore and pan
// where the plot shows the plane. With VELMORA_PAGE_SHOTS set, screenshots go into that folder.
import assert from 'node:assert/strict';
import { mkdirSync } from 'node:fs';
import { join } from 'node:path';
import { after, before, describe, test } from 'node:test';

import { BenchPage, layer, startBrowser } from './bench-page.mjs';

const SCREENS = [
    { name: '1366x768', viewport: { width: 1366, height: 768 }, device: {}, designed: true },
    { name: '1024x768', viewport: { width: 1024, height: 768 }, device: {}, designed: true },
    { name: '1280x600', viewport: { width: 1280, height: 600 }, device: {}, designed: true },
    { name: '768x1024-200%', viewport: { width: 768, height: 1024 }, device: { deviceScaleFactor: 2 }, designed: false },
    { name: '390x844-touch', viewport: { width: 390, height: 844 }, device: { hasTouch: true, isMobile: true }, designed: false },
];
/** Every control of the main window a student works. */
const CONTROLS = '#TForm1 button, #TForm1 .check-box, #ValueListEditor1 input, #Memo1, #Chart1-picture';
const FIXED = { x: { min: -21, max: 29 }, y: { min: -25, max: 25 } };
/** The commands in an order where each changes what the page shows. */
const COMMANDS = ['rotate+', 'move', 'rotate-', 'stepx', 'stepy', 'record', 'start', 'move', 'erase', 'reset'];
const shots = process.env.VELMORA_PAGE_SHOTS;
if (shots)
    mkdirSync(shots, { recursive: true });

async function shoot(bench, name, fullPage = false) {
    if (shots)
        await bench.page.screenshot({ path: join(shots, `${name}.png`), fullPage });
}

function assertRanges(actual, expected, what) {
    for (const axis of ['x', 'y']) {
        for (const end of ['min', 'max']) {
            assert.ok(Math.abs(actual[axis][end] - expected[axis][end]) < 1e-9,
                `${what}: ${axis}.${end} is ${actual[axis][end]}, not ${expected[axis][end]}`);
        }
    }
}

/** A drag by `by` px: of the fingers at `from` (one or two) on a touch screen, else of the mouse `button` from `from[0]`. */
async function drag(bench, from, by, button = 'left') {
    const steps = 4;
    if (bench.touch)
        return bench.fingerDrag(from, by, steps);
    const mouse = bench.page.mouse;
    await mouse.move(from[0].x, from[0].y);
    await mouse.down({ button });
    await mouse.move(from[0].x + by.x, from[0].y + by.y, { steps });
    await mouse.up({ button });
}

let started;
before(async () => (started = await startBrowser()));
after(async () => started.close());

for (const screen of SCREENS) {
    describe(`on a screen of ${screen.name}`, () => {
        const open = () => BenchPage.open(started, { viewport: screen.viewport, device: screen.device });

        test('the controls lie in the page\'s width, within reach, in the layout of the screen\'s width', async () => {
            const bench = await open();
            await shoot(bench, screen.name, true);
            const shown = await bench.page.evaluate((selector) => {
                const root = document.documentElement;
                const box = (element) => {
                    const r = element.getBoundingClientRect();
                    return { name: element.id || element.getAttribute('aria-labelledby'), left: r.left + scrollX, top: r.top + scrollY,
                        right: r.right + scrollX, bottom: r.bottom + scrollY, height: r.height, font: parseFloat(getComputedStyle(element).fontSize) };
                };
                const area = document.getElementById('TForm1').getBoundingClientRect();
                return { width: root.clientWidth, scrollWidth: root.scrollWidth, scrollHeight: root.scrollHeight,
                    area: [area.width, area.height], plotSize: Number(document.getElementById('Chart1-picture').getAttribute('width')),
                    controls: [...document.querySelectorAll(selector)].map(box) };
            }, CONTROLS);
            assert.equal(shown.controls.length, 12 + 3 + 9 + 2);
            assert.ok(shown.scrollWidth <= shown.width, `the page scrolls sideways: ${shown.scrollWidth} px in ${shown.width}`);
            for (const c of shown.controls) {
                assert.ok(c.left >= 0 && c.right <= shown.width && c.top >= 0 && c.bottom <= shown.scrollHeight,
                    `${c.name} at ${c.left}…${c.right} × ${c.top}…${c.bottom} lies outside the page of ${shown.width} × ${shown.scrollHeight}`);
                assert.ok(c.font >= 11, `${c.name}'s text is ${c.font} px`);
            }
            if (screen.designed) {
                assert.deepEqual([shown.area, shown.plotSize], [[1023, 737], 700]);
                assert.equal(shown.scrollHeight, Math.max(737, screen.viewport.height));
                return bench.close();
            }
            const plotSize = Math.min(screen.viewport.width - 16, 700);
            const [plot] = shown.controls.filter((c) => c.name === 'Chart1-picture');
            assert.deepEqual([plot.right - plot.left, plot.bottom - plot.top, shown.plotSize], [plotSize, plotSize, plotSize]);
            for (const c of shown.controls)
                assert.ok(c.height >= 32, `${c.name} is ${c.height} px tall`);
            // One column: each group lies below the one before it.
            const groups = [/^Chart1-picture$/, /^Button/, /^CheckBox/, /^ValueListEditor1-key/, /^Memo1$/]
                .map((name) => shown.controls.filter((c) => name.test(c.name)));
            for (let i = 1; i < groups.length; ++i) {
                const above = Math.max(...groups[i - 1].map((c) => c.bottom));
                assert.ok(groups[i].every((c) => c.top >= above), `${groups[i][0].name} lies above ${groups[i - 1][0].name}`);
            }
            await bench.close();
        });

        test('every bench button does its command as the bench of velmora-cli does', async () => {
            const bench = await open();
            const reference = await layer.Bench.load();
            reference.setDecimalSeparator('.');
            reference.run('reset');
            for (const [word, option] of [['circulation', 'sumCirculation'], ['protocol', 'writeProtocol']]) {
                await bench.tick(word, true);
                reference.setOption(option, true);
            }
            for (const word of COMMANDS) {
                const before = await bench.rows();
                await bench.press(word);
                reference.run(word);
                assert.deepEqual(await bench.rows(), reference.rows().map((row) => [row.key, row.text]), word);
                assert.equal(await bench.protocol(), reference.protocolLines(0).join('\n'), word);
                if (word === 'record')
                    await shoot(bench, `${screen.name}-commands`, true);
                else if (word !== 'erase')
                    assert.notDeepEqual(await bench.rows(), before, `${word} changed no row`);
            }
            await bench.close();
        });

        test('the side windows open inside the page\'s width and stay there when dragged away; the picture is copied at the plot\'s size', async () => {
            const bench = await open();
            for (const [caption, id] of [['Информация', 'TForm2'], ['Параметры установки', 'TForm3']]) {
                await bench.press(caption);
                await shoot(bench, `${screen.name}-${id}`);
                const frame = bench.page.locator(`#${id}`);
                const bar = await frame.locator('.title-bar').boundingBox();
                await drag(bench, [{ x: bar.x + 40, y: bar.y + 10 }], { x: 2000, y: 2000 });
                const shown = await bench.page.evaluate((name) => {
                    const r = document.getElementById(name).getBoundingClientRect();
                    return { left: r.left, top: r.top, right: r.right, bottom: r.bottom, width: document.documentElement.clientWidth, height: innerHeight };
                }, id);
                assert.ok(shown.left >= 0 && shown.top >= 0 && shown.right <= shown.width, `${id} lies beyond the page's width: ${JSON.stringify(shown)}`);
                if (!screen.designed)
                    assert.ok(shown.bottom <= shown.height, `${id} lies below the viewport: ${JSON.stringify(shown)}`);
                await frame.locator('.close-button').click();
            }
            // The clipboard is the browser's: emptied of an earlier test's picture first.
            await bench.page.evaluate(() => navigator.clipboard.writeText(''));
            await bench.press('Копировать рисунок');
            const size = await bench.page.evaluate(async () => {
                for (let tries = 0; tries < 200; ++tries) {
                    const [item] = await navigator.clipboard.read();
                    if (item?.types.includes('image/png')) {
                        const image = await createImageBitmap(await item.getType('image/png'));
                        return [image.width, image.height];
                    }
                    await new Promise((resolve) => setTimeout(resolve, 50));
                }
                return null;
            });
            const plot = Number(await bench.page.locator('#Chart1-picture').getAttribute('width'));
            assert.deepEqual(size, [2 * plot, 2 * plot]);
            await bench.close();
        });

        test(`${screen.device.hasTouch ? 'fingers' : 'the mouse'} on the plot zoom, restore and pan where the plot shows the plane, and the page does not scroll`, async () => {
            const bench = await open();
            const area = await bench.dataArea();
            const xAt = (x) => FIXED.x.min + ((x - area.left) / area.width) * 50;
            const yAt = (y) => FIXED.y.min + ((area.top + area.height - 1 - y) / area.height) * 50;
            const centre = { x: Math.round(area.left + area.width / 2), y: Math.round(area.top + area.height / 2) };
            const by = { x: 80, y: -80 };
            await drag(bench, [centre], by);
            assertRanges(await bench.ranges(), { x: { min: xAt(centre.x), max: xAt(centre.x + by.x) },
                y: { min: yAt(centre.y), max: yAt(centre.y + by.y) } }, 'a drag to the right');
            await drag(bench, [centre], { x: -80, y: 80 });
            assertRanges(await bench.ranges(), FIXED, 'a drag to the left');
            const pan = { x: 40, y: -20 };
            await drag(bench, [centre, { x: centre.x + 60, y: centre.y + 30 }], pan, 'right');
            const dx = (pan.x * 50) / area.width;
            const dy = (-pan.y * 50) / area.height;
            assertRanges(await bench.ranges(), { x: { min: -21 - dx, max: 29 - dx }, y: { min: -25 - dy, max: 25 - dy } }, 'a pan');
            assert.equal(await bench.page.evaluate(() => window.scrollY), 0);
            await bench.close();
        });
    });
}

test('a side window closed low on a wide screen opens inside the viewport once the screen has turned narrow', async () => {
    const bench = await BenchPage.open(started, { viewport: { width: 1024, height: 768 } });
    await bench.press('Информация');
    const bar = await bench.page.locator('#TForm2 .title-bar').boundingBox();
    await drag(bench, [{ x: bar.x + 40, y: bar.y + 10 }], { x: 0, y: 600 });
    await bench.page.locator('#TForm2 .close-button').click();
    await bench.page.setViewportSize({ width: 768, height: 1024 });
    await bench.press('Информация');
    const bottom = await bench.page.evaluate(() => document.getElementById('TForm2').getBoundingClientRect().bottom);
    assert.ok(bottom <= 1024, `the window's bottom edge lies at ${bottom}, below the viewport`);
    await bench.page.locator('#TForm2 .close-button').click();
    await bench.close();
});

test('the value cells ask a touch screen for its numeric keyboard; a keyboard types a minus sign and an exponent into them', async () => {
    const bench = await BenchPage.open(started, { viewport: { width: 390, height: 844 }, device: { hasTouch: true, isMobile: true } });
    assert.deepEqual(await bench.page.$$eval('#ValueListEditor1 input', (inputs) => [...new Set(inputs.map((i) => i.inputMode))]), ['decimal']);
    const reference = await layer.Bench.load();
    reference.setDecimalSeparator('.');
    reference.run('reset');
    for (const [key, text, word] of [['Угол поврота (град)', '-5', 'rotate+'], ['Шаг (см)', '1E-3', 'move'], ['Начальная координата x (см)', '-2.5e1', 'start']]) {
        await bench.type(key, text);
        assert.equal(await bench.cell(key).inputValue(), text);
        await bench.press(word);
        reference.type(key, text);
        reference.run(word);
    }
    assert.deepEqual(await bench.rows(), reference.rows().map((row) => [row.key, row.text]));
    await bench.close();
});

test('turning the screen narrower and back lays the plot out again with its ranges, layers and designed places kept', async () => {
    const bench = await BenchPage.open(started);
    await bench.tick('protocol', true);
    for (const word of ['rotate+', 'move', 'move'])
        await bench.press(word);
    const area = await bench.dataArea();
    await drag(bench, [{ x: area.left + 100, y: area.top + 100 }], { x: 200, y: 200 });
    const shown = { ranges: await bench.ranges(), scene: await bench.scene() };
    const plot = () => bench.page.evaluate(() => {
        const svg = document.getElementById('Chart1-picture');
        const box = svg.getBoundingClientRect();
        const area = document.getElementById('TForm1').getBoundingClientRect();
        return [Number(svg.getAttribute('width')), box.width, box.left - area.left, box.top - area.top];
    });
    await bench.page.setViewportSize({ width: 390, height: 844 });
    await bench.page.waitForFunction(() => document.getElementById('Chart1-picture').getAttribute('width') === '374');
    assert.deepEqual(await plot(), [374, 374, 8, 8]);
    assertRanges(await bench.ranges(), shown.ranges, 'narrow');
    assert.deepEqual(await bench.scene(), shown.scene);
    await bench.page.setViewportSize({ width: 1366, height: 768 });
    await bench.page.waitForFunction(() => document.getElementById('Chart1-picture').getAttribute('width') === '700');
    assert.deepEqual(await plot(), [700, 700, 8, 8]);
    assertRanges(await bench.ranges(), shown.ranges, 'wide again');
    await bench.close();
});

test('a pen\'s tip dragged over the plot zooms as the left button does', async () => {
    const bench = await BenchPage.open(started, { viewport: { width: 768, height: 1024 }, device: { hasTouch: true } });
    const area = await bench.dataArea();
    const from = { x: Math.round(area.left + 100), y: Math.round(area.top + 100) };
    const cdp = await bench.context.newCDPSession(bench.page);
    const pen = (type, at, buttons) => cdp.send('Input.dispatchMouseEvent',
        { type, x: at.x, y: at.y, button: 'left', buttons, clickCount: 1, pointerType: 'pen' });
    await pen('mousePressed', from, 1);
    for (let step = 1; step <= 4; ++step)
        await pen('mouseMoved', { x: from.x + 30 * step, y: from.y + 20 * step }, 1);
    await pen('mouseReleased', { x: from.x + 120, y: from.y + 80 }, 0);
    const xAt = (x) => FIXED.x.min + ((x - area.left) / area.width) * 50;
    const yAt = (y) => FIXED.y.min + ((area.top + area.height - 1 - y) / area.height) * 50;
    assertRanges(await bench.ranges(), { x: { min: xAt(from.x), max: xAt(from.x + 120) }, y: { min: yAt(from.y + 80), max: yAt(from.y) } }, 'a pen drag');
    await bench.close();
});
