// The main window as a page: the designed places, sizes, captions and face; the tab order;
// the readout grid; the error box; the protocol box's undo rule; the side windows; the
// leave-page question; the accessible names and the announced readings.
import assert from 'node:assert/strict';
import { after, before, test } from 'node:test';

import { BenchPage, focusedName, startBrowser, TAB_ORDER } from './bench-page.mjs';

// Places in the parent's client area: the plot's buttons and letters lie on the plot.
const CONTROLS = [
    ['Chart1', 'TForm1', [8, 8, 700, 700], null],
    ['Button9', 'Chart1', [0, 672, 137, 25], 'Копировать рисунок'],
    ['Button8', 'Chart1', [88, 0, 81, 25], 'Информация'],
    ['Button11', 'Chart1', [176, 0, 129, 25], 'Параметры установки'],
    ['Label2', 'Chart1', [656, 312, 14, 25], 'X'],
    ['Label3', 'Chart1', [320, 32, 13, 25], 'Y'],
    ['Button1', 'TForm1', [8, 8, 81, 25], 'Начать/Сброс'],
    ['Button2', 'TForm1', [720, 48, 73, 25], 'Сдвиг'],
    ['CheckBox1', 'TForm1', [720, 112, 129, 17], 'Фиксировать угол'],
    ['Memo1', 'TForm1', [720, 400, 249, 281], null],
    ['CheckBox2', 'TForm1', [720, 136, 169, 17], 'Рассчитывать циркуляцию'],
    ['CheckBox3', 'TForm1', [720, 160, 137, 17], 'Записывать протокол'],
    ['Button5', 'TForm1', [896, 688, 75, 25], 'Стереть'],
    ['Button6', 'TForm1', [800, 48, 73, 25], 'Шаг по X'],
    ['Button7', 'TForm1', [880, 48, 73, 25], 'Шаг по Y'],
    ['Button3', 'TForm1', [800, 8, 75, 25], 'Поворот -'],
    ['Button4', 'TForm1', [720, 8, 75, 25], 'Поворот +'],
    ['Button10', 'TForm1', [720, 80, 73, 25], 'В начало'],
    ['ValueListEditor1', 'TForm1', [720, 184, 249, 193], null],
    ['Button12', 'TForm1', [808, 688, 75, 25], 'Записать'],
    ['Label13', 'TForm1', [720, 384, 49, 13], 'Протокол'],
];
const KEYS = ['Угол поврота (град)', 'Шаг (см)', 'Текущая координата x (см)', 'Текущая координата y (см)',
    'Начальная координата x (см)', 'Начальная координата y (см)', 'Угол датчика (град)', 'Индукция B (Тл)', 'Циркуляция (А)'];

let started;
let bench;
before(async () => (started = await startBrowser()));
after(async () => started.close());

test('every control lies at its designed place and size, in the bench face, the window centred', async () => {
    bench = await BenchPage.open(started);
    const placed = await bench.page.evaluate((controls) => controls.map(([name, parent]) => {
        const box = document.getElementById(name).getBoundingClientRect();
        const origin = document.getElementById(parent).getBoundingClientRect();
        return [box.left - origin.left, box.top - origin.top, box.width, box.height];
    }), CONTROLS);
    CONTROLS.forEach(([name, , rect, caption], i) => {
        assert.deepEqual(placed[i], rect, name);
    });
    for (const [name, , , caption] of CONTROLS.filter(([, , , caption]) => caption !== null))
        assert.equal(await bench.page.locator(`#${name}`).textContent(), caption, name);
    const looks = await bench.page.evaluate(() => {
        const font = (id) => getComputedStyle(document.getElementById(id));
        const area = document.getElementById('TForm1').getBoundingClientRect();
        return {
            area: [area.left, area.top, area.width, area.height],
            face: document.fonts.check('11px "Liberation Sans"') && font('Button2').fontFamily.startsWith('"Liberation Sans"'),
            sizes: ['Button2', 'CheckBox1', 'ValueListEditor1', 'Label13', 'Label2', 'Label3'].map((id) => font(id).fontSize),
            ground: getComputedStyle(document.documentElement).backgroundColor,
            title: document.title,
        };
    });
    assert.deepEqual(looks, {
        area: [Math.floor((1366 - 1023) / 2), 0, 1023, 737], face: true, sizes: ['11px', '11px', '11px', '11px', '21px', '21px'],
        ground: 'rgb(255, 255, 255)', title: 'Velmora - Исследование магнитного поля кругового тока',
    });
    await bench.close();
});

test('the keyboard starts on the plot and Tab visits the controls in the designed order', async () => {
    bench = await BenchPage.open(started);
    const order = TAB_ORDER;
    const visited = [await focusedName(bench.page)];
    for (let i = 1; i < order.length; ++i) {
        await bench.page.keyboard.press('Tab');
        visited.push(await focusedName(bench.page));
    }
    assert.deepEqual(visited, order);
    const back = [];
    for (let i = 0; i < 2; ++i) {
        await bench.page.keyboard.press('Shift+Tab');
        back.push(await focusedName(bench.page));
    }
    assert.deepEqual(back, ['Угол поврота (град)', 'В начало']);
    await bench.close();
});

test('the readout grid: its rows, keys that cannot be chosen, arrows between rows, typed texts read by the next command', async () => {
    bench = await BenchPage.open(started);
    assert.deepEqual(await bench.rows(), KEYS.map((key, i) => [key, ['5', '1', '-----', '-----', '0', '0', '-----', '-----', '-----'][i]]));
    const heights = await bench.page.$$eval('#ValueListEditor1 [role=row]', (rows) => rows.map((row) => row.firstChild.getBoundingClientRect().height));
    assert.deepEqual(heights, Array(10).fill(19));
    // A click on a key takes the keyboard to the current value and chooses nothing.
    await bench.page.getByRole('rowheader', { name: KEYS[3] }).click();
    assert.equal(await focusedName(bench.page), KEYS[0]);
    assert.equal(await bench.page.evaluate(() => String(window.getSelection())), '');
    await bench.page.keyboard.press('ArrowDown');
    assert.equal(await focusedName(bench.page), KEYS[1]);
    await bench.page.keyboard.press('ArrowUp');
    assert.equal(await focusedName(bench.page), KEYS[0]);
    // A typed step is what the next command reads; a text typed over a reading stays until a command writes it.
    await bench.type('Шаг (см)', '2');
    await bench.type('Индукция B (Тл)', 'abc');
    await bench.press('move');
    const rows = new Map(await bench.rows());
    assert.equal(rows.get('Текущая координата x (см)'), '2');
    assert.notEqual(rows.get('Индукция B (Тл)'), 'abc');
    await bench.type('Индукция B (Тл)', 'abc');
    await bench.press('record');
    assert.equal(new Map(await bench.rows()).get('Индукция B (Тл)'), 'abc');
    await bench.close();
});

for (const key of ['Enter', 'Escape']) {
    test(`a bad number shows the error box, which ${key} closes, and the bench goes on`, async () => {
        bench = await BenchPage.open(started);
        await bench.type('Угол поврота (град)', 'abc');
        await bench.press('rotate+');
        assert.equal(await focusedName(bench.page), 'OK');
        assert.equal(await bench.dismissError(key), "'abc' is not a valid floating point value.");
        assert.equal(await focusedName(bench.page), 'Поворот +');
        await bench.type('Угол поврота (град)', '90');
        await bench.press('rotate+');
        assert.equal(await bench.errorBox(), null);
        assert.equal(new Map(await bench.rows()).get('Угол датчика (град)'), '90');
        await bench.close();
    });
}

test('a pasted text the bench refuses is shown as refused, and the cell shows the bench\'s text again', async () => {
    bench = await BenchPage.open(started);
    await bench.type('Шаг (см)', '3');
    await bench.type('Шаг (см)', '12\ud800\t');
    assert.equal(await bench.dismissError(), 'The text is not valid UTF-16: an unpaired surrogate U+D800 at character 3.');
    assert.equal(new Map(await bench.rows()).get('Шаг (см)'), '3');
    await bench.press('move');
    assert.equal(new Map(await bench.rows()).get('Текущая координата x (см)'), '3');
    await bench.close();
});

test('the error box shows a message of a pasted megabyte by its start and its end', async () => {
    bench = await BenchPage.open(started);
    const typed = 'x'.repeat(1 << 20);
    await bench.type('Шаг (см)', typed);
    await bench.press('move');
    const message = `'${typed}' is not a valid floating point value.`;
    assert.equal(await bench.dismissError(), `${message.slice(0, 699)}\u2026${message.slice(-300)}`);
    await bench.close();
});

test('Ctrl+Z and Ctrl+Y take back and make again the student\'s edits, never a recorded entry', async () => {
    bench = await BenchPage.open(started);
    const entry = 'x (см):0\ny (см):0\nУгол датчика:0\nB (Тл):0\n ';
    const box = bench.page.locator('#Memo1 .cm-content');
    await box.click();
    await bench.page.keyboard.type('Замечание');
    await bench.press('record');
    assert.equal(await bench.protocol(), `Замечание\n${entry}`);
    await box.press('Control+End');
    await bench.page.keyboard.type(' 2');
    await box.press('Control+z');
    await box.press('Control+z');
    assert.equal(await bench.protocol(), `\n${entry}`);
    await box.press('Control+y');
    assert.equal(await bench.protocol(), `Замечание\n${entry}`);
    for (let i = 0; i < 5; ++i)
        await box.press('Control+z');
    await bench.press('record');
    await box.press('Control+Shift+z');
    assert.equal(await bench.protocol(), `Замечание\n${entry}\n${entry}`);
    await bench.press('erase');
    await box.press('Control+z');
    assert.equal(await bench.protocol(), '');
    await bench.close();
});

test('the side windows: shown centred over the bench, one of each, in front, moved by their title bars, hidden by their close buttons', async () => {
    bench = await BenchPage.open(started);
    const frame = (id) => bench.page.evaluate((name) => {
        const element = document.getElementById(name);
        const box = element.getBoundingClientRect();
        return { shown: !element.hidden, left: box.left, top: box.top, width: box.width, height: box.height, z: Number(element.style.zIndex) };
    }, id);
    await bench.button('Информация').click();
    const information = await frame('TForm2');
    const area = await bench.page.locator('#TForm1').boundingBox();
    assert.equal(information.left, area.x + Math.trunc((1023 - information.width) / 2));
    assert.equal(information.top, area.y + Math.trunc((737 - information.height) / 2));
    assert.equal(await bench.page.locator('#TForm2-caption').textContent(), 'Информация');
    assert.deepEqual(await bench.page.locator('#TForm2-client').boundingBox().then((b) => [b.width, b.height]), [653, 338]);
    const text = bench.page.locator('#TForm2-Memo1');
    assert.equal(await bench.page.evaluate(() => document.activeElement.id), 'TForm2-Memo1');
    assert.deepEqual((await text.inputValue()).split('\n'), [
        'Данная программа предназначена для проведения лабораторных ', 'работ по магнетизму:', '',
        '12 Исследование основных свойств магнитного поля (закон полного тока)',
        '13 Исследование магнитного поля кругового тока (закон Био-Савара-Лапласа)',
        '14 Исследование динамических характеристик магнитного поля (магнитный ',
        'поток,самоиндукция, индуктивность)', '', 'Замечание по поводу работы программы можно направить на почту',
        'velmora@example.org', '', 'Работа с программой описана в видео', 'https://example.org/velmora/video']);
    await bench.page.keyboard.type('abc');
    assert.ok(!(await text.inputValue()).includes('abc'));
    // Moved by its title bar, closed, and shown again where it was.
    const bar = await bench.page.locator('#TForm2 .title-bar').boundingBox();
    await bench.page.mouse.move(bar.x + 200, bar.y + 10);
    await bench.page.mouse.down();
    await bench.page.mouse.move(bar.x + 140, bar.y + 40, { steps: 3 });
    await bench.page.mouse.up();
    const moved = await frame('TForm2');
    assert.deepEqual([moved.left, moved.top], [information.left - 60, information.top + 30]);
    await bench.page.locator('#TForm2 .close-button').click();
    assert.equal((await frame('TForm2')).shown, false);
    // The bench stays usable with a side window open.
    await bench.button('Параметры установки').click();
    await bench.press('move');
    assert.equal(new Map(await bench.rows()).get('Текущая координата x (см)'), '1');
    await bench.button('Информация').click();
    const again = await frame('TForm2');
    assert.deepEqual([again.shown, again.left, again.top], [true, moved.left, moved.top]);
    assert.ok(again.z > (await frame('TForm3')).z, 'the window shown last lies in front');
    await bench.button('Параметры установки').click();
    assert.ok((await frame('TForm3')).z > (await frame('TForm2')).z);
    assert.equal(await bench.page.locator('section.side-window').count(), 2);
    assert.deepEqual(await bench.page.$$eval('#TForm3-client .label', (labels) => labels.map((l) => l.textContent)),
        ['Количество витков катушки N= 400', 'Ток I = 50 mA', 'Радиус катушки R=13 см']);
    const pictures = await bench.page.$$eval('.side-window img:not(.title-icon)', (images) =>
        images.map((image) => [image.getAttribute('src'), image.naturalWidth, image.naturalHeight]));
    assert.deepEqual(pictures, [['pictures/formula.jpg', 100, 100], ['pictures/apparatus.bmp', 469, 323]]);
    await bench.close();
});

const leaving = [
    { name: 'a fresh bench', asks: false, actions: async () => {} },
    { name: 'a recorded entry', asks: true, actions: async () => bench.press('record') },
    { name: 'a circulation other than zero', asks: true,
      actions: async () => (await bench.tick('circulation', true), await bench.press('rotate+'), await bench.press('move')) },
    { name: 'a circulation of zero', asks: false, actions: async () => (await bench.tick('circulation', true), await bench.press('move')) },
    { name: 'an erased protocol', asks: false, actions: async () => (await bench.press('record'), await bench.press('erase')) },
    { name: 'a student\'s note', asks: true, actions: async () => (await bench.page.locator('#Memo1 .cm-content').click(), await bench.page.keyboard.type('x')) },
];
for (const { name, asks, actions } of leaving) {
    test(`closing the tab ${asks ? 'asks first' : 'asks nothing'} with ${name}`, async () => {
        bench = await BenchPage.open(started);
        // A click first: browsers ask only on pages the student has used.
        await bench.page.getByRole('rowheader', { name: KEYS[0] }).click();
        await actions();
        let asked = false;
        bench.page.on('dialog', async (dialog) => {
            asked = dialog.type() === 'beforeunload';
            await dialog.accept();
        });
        await bench.page.close({ runBeforeUnload: true });
        await bench.page.waitForEvent('close');
        assert.equal(asked, asks);
        await bench.close();
    });
}

test('accessible names: captions, the grid of keys and values, the protocol box, and the readings announced', async () => {
    bench = await BenchPage.open(started);
    for (const [, , , caption] of CONTROLS.filter(([name]) => name.startsWith('Button')))
        assert.equal(await bench.button(caption).count(), 1, caption);
    for (const caption of ['Фиксировать угол', 'Рассчитывать циркуляцию', 'Записывать протокол'])
        assert.equal(await bench.page.getByRole('checkbox', { name: caption, exact: true }).count(), 1, caption);
    const grid = bench.page.getByRole('grid', { name: 'Показания' });
    assert.deepEqual(await grid.getByRole('rowheader').allTextContents(), KEYS);
    for (const key of KEYS)
        assert.equal(await grid.getByRole('textbox', { name: key, exact: true }).count(), 1, key);
    assert.equal(await bench.page.getByRole('textbox', { name: 'Протокол', exact: true }).count(), 1);
    await bench.press('rotate+');
    await bench.press('move');
    const announcer = bench.page.locator('#Announcer');
    assert.equal(await announcer.getAttribute('aria-live'), 'polite');
    assert.deepEqual(await announcer.locator('p').allTextContents(), ['Текущая координата x (см): 0.99619',
        'Текущая координата y (см): 0.087156', 'Индукция B (Тл): 8.5366E-0006']);
    await bench.close();
});
