// The page for every student: the keyboard alone reaches and works every control in the
// designed tab order, the plot included (its keys pan, zoom and restore), and the control
// that has the keyboard is always marked; the error box is a modal alert dialog; axe-core
// finds no serious or critical fault with the main window alone, with each side window open
// and with the error box open, on the designed window and on a phone's one column.
import assert from 'node:assert/strict';
import { after, before, describe, test } from 'node:test';

import { AxeBuilder, BenchPage, focusedName, layer, startBrowser, TAB_ORDER } from './bench-page.mjs';

const SCREENS = [
    { name: '1366x768', viewport: { width: 1366, height: 768 }, device: {} },
    { name: '390x844-touch', viewport: { width: 390, height: 844 }, device: { hasTouch: true, isMobile: true } },
];
const FIXED = { x: { min: -21, max: 29 }, y: { min: -25, max: 25 } };

function assertRanges(actual, expected, what) {
    for (const axis of ['x', 'y']) {
        for (const end of ['min', 'max']) {
            assert.ok(Math.abs(actual[axis][end] - expected[axis][end]) < 1e-9,
                `${what}: ${axis}.${end} is ${actual[axis][end]}, not ${expected[axis][end]}`);
        }
    }
}

/** The picture of the page around what has the keyboard (its box and 6 px around it), and that box. */
async function aroundFocus(page) {
    const box = await page.evaluate(() => {
        const r = document.activeElement.getBoundingClientRect();
        const root = document.documentElement;
        const x = Math.max(0, r.left + scrollX - 6);
        const y = Math.max(0, r.top + scrollY - 6);
        return { x, y, width: Math.min(root.scrollWidth - x, r.width + 12), height: Math.min(root.scrollHeight - y, r.height + 12) };
    });
    return { box, picture: await page.screenshot({ fullPage: true, clip: box, animations: 'disabled', caret: 'hide' }) };
}

let started;
before(async () => (started = await startBrowser()));
after(async () => started.close());

for (const screen of SCREENS) {
    describe(`on a screen of ${screen.name}`, () => {
        const open = () => BenchPage.open(started, { viewport: screen.viewport, device: screen.device });

        test('Tab visits every control in the designed order, and each one shows it has the keyboard', async () => {
            const bench = await open();
            const visited = [];
            let shown = await aroundFocus(bench.page);
            for (let i = 0; i < TAB_ORDER.length; ++i) {
                visited.push(await focusedName(bench.page));
                await bench.page.keyboard.press('Tab');
                const left = await bench.page.screenshot({ fullPage: true, clip: shown.box, animations: 'disabled', caret: 'hide' });
                assert.ok(!left.equals(shown.picture), `${visited.at(-1)} looks the same with and without the keyboard`);
                shown = await aroundFocus(bench.page);
            }
            assert.deepEqual(visited, TAB_ORDER);
            await bench.close();
        });

        test('the keyboard alone works the controls: Space ticks and presses, Enter presses, typing fills a value', async () => {
            const bench = await open();
            const reference = await layer.Bench.load();
            reference.setDecimalSeparator('.');
            reference.run('reset');
            const tabTo = async (name) => {
                for (let i = 0; i < TAB_ORDER.length && (await focusedName(bench.page)) !== name; ++i)
                    await bench.page.keyboard.press('Tab');
                assert.equal(await focusedName(bench.page), name);
            };
            await tabTo('Рассчитывать циркуляцию');
            await bench.page.keyboard.press('Space');
            reference.setOption('sumCirculation', true);
            await tabTo('Угол поврота (град)');
            await bench.page.keyboard.press('ArrowDown');
            await bench.page.keyboard.press('Control+A');
            await bench.page.keyboard.type('2.5');
            reference.type('Шаг (см)', '2.5');
            await tabTo('Сдвиг');
            await bench.page.keyboard.press('Enter');
            reference.run('move');
            await tabTo('Поворот +');
            await bench.page.keyboard.press('Space');
            reference.run('rotate+');
            assert.deepEqual(await bench.rows(), reference.rows().map((row) => [row.key, row.text]));
            await bench.close();
        });

        test('the plot\'s keys: the arrows pan by a tenth, + and − zoom by 1.25, 0 restores; the page stays', async () => {
            const bench = await open();
            assert.equal(await focusedName(bench.page), 'Рисунок');
            const keys = [
                ['ArrowRight', { x: { min: -16, max: 34 }, y: FIXED.y }],
                ['ArrowUp', { x: { min: -16, max: 34 }, y: { min: -20, max: 30 } }],
                ['+', { x: { min: -11, max: 29 }, y: { min: -15, max: 25 } }],
                ['-', { x: { min: -16, max: 34 }, y: { min: -20, max: 30 } }],
                ['ArrowLeft', { x: FIXED.x, y: { min: -20, max: 30 } }],
                ['ArrowDown', FIXED],
                ['=', { x: { min: -16, max: 24 }, y: { min: -20, max: 20 } }],
                ['ArrowDown', { x: { min: -16, max: 24 }, y: { min: -24, max: 16 } }],
                ['0', FIXED],
                ['Control+0', FIXED],
            ];
            for (const [key, ranges] of keys) {
                await bench.page.keyboard.press(key);
                assertRanges(await bench.ranges(), ranges, key);
            }
            assert.equal(await bench.page.evaluate(() => window.scrollY), 0);
            await bench.close();
        });

        const windows = [
            { name: 'the main window alone', open: async () => {} },
            { name: 'the information window open', open: (bench) => bench.press('Информация') },
            { name: 'the apparatus window open', open: (bench) => bench.press('Параметры установки') },
            { name: 'the error box open', open: async (bench) => (await bench.type('Шаг (см)', 'abc'), await bench.press('move')) },
        ];
        for (const { name, open: show } of windows) {
            test(`axe finds no serious or critical fault with ${name}`, async (t) => {
                const bench = await open();
                await show(bench);
                const { violations } = await new AxeBuilder({ page: bench.page }).analyze();
                const grave = violations.filter((v) => v.impact === 'serious' || v.impact === 'critical');
                assert.deepEqual(grave.map((v) => `${v.id}: ${v.nodes.map((n) => n.target.join(' ')).join(', ')}`), []);
                t.diagnostic(`axe, minor: ${violations.map((v) => `${v.id} (${v.impact})`).join(', ') || 'none'}`);
                await bench.close();
            });
        }
    });
}

test('the error box is a modal alert dialog named by its caption and described by its message', async () => {
    const bench = await BenchPage.open(started);
    await bench.type('Угол поврота (град)', 'abc');
    await bench.press('rotate+');
    const box = bench.page.getByRole('alertdialog', { name: 'Velmora', exact: true });
    assert.equal(await box.getAttribute('aria-modal'), 'true');
    const described = await box.evaluate((dialog) => document.getElementById(dialog.getAttribute('aria-describedby')).textContent);
    assert.equal(described, "'abc' is not a valid floating point value.");
    await bench.dismissError();
    await bench.close();
});
