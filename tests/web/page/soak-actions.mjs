// The random actions of the page's soak, each done as a student does it (clicks and taps,
// typing and pasting, gestures on the plot, the side windows, the clipboard, a turned or
// resized screen) and written down as the velmora-cli script line that does the same to the
// bench, where it does anything to the bench. What the page shows on the way (the error
// box's messages) is written down as velmora-cli prints it.
import assert from 'node:assert/strict';

import { captionOf, layer } from './bench-page.mjs';

/** A seeded random source (mulberry32): the same seed gives the same actions. */
export function randomSource(seed) {
    let state = seed >>> 0;
    const next = () => {
        state = (state + 0x6d2b79f5) >>> 0;
        let t = Math.imul(state ^ (state >>> 15), 1 | state);
        t ^= t + Math.imul(t ^ (t >>> 7), 61 | t);
        return ((t ^ (t >>> 14)) >>> 0) / 2 ** 32;
    };
    return {
        next,
        below: (n) => Math.floor(next() * n),
        pick: (list) => list[Math.floor(next() * list.length)],
        between: (low, high) => low + next() * (high - low),
    };
}

/** Texts no number is made of: blanks, markup, format strings, other scripts' digits, huge pastes. */
const HOSTILE_TEXTS = ['', ' ', 'abc', '1e400', '-1e-400', 'NaN', 'Inf', '0x1A', '+', '-', '.', ',', '1,2.3',
    ' 7 ', '\t1', '1\u0000', '\u0000', '１２', '٣', '1\u00a0000', '\u202e12', '😀', '<img src=x onerror=alert(1)>',
    '%s%n%d', "'; --", '\\', 'E', '1E', '5e-324', '1.7976931348623157e308', '9'.repeat(400),
    'x'.repeat(100_000), '1' + ' '.repeat(40_000), '12\ud800', '\udc00'];

/** A text for the row `key`: mostly a number the bench takes (in the page's separator), at times a hostile one. */
function textFor(random, key, separator) {
    if (random.next() < 0.25)
        return random.pick(HOSTILE_TEXTS);
    const [low, high] = key === 'Угол поврота (град)' ? [-360, 360] : key === 'Шаг (см)' ? [-30, 30] : [-40, 40];
    const digits = random.pick([0, 0, 1, 3, 17]);
    const number = random.between(low, high).toFixed(digits);
    return separator === '.' ? number : number.replace('.', separator);
}

/** Closes the error box, if one is open, by a random key or by "OK"; returns its text or null. */
async function answerErrorBox(bench, random) {
    if (await bench.errorBox() === null)
        return null;
    return bench.dismissError(random.pick(['Enter', 'Escape', 'OK']));
}

/** A point in the plot's picture, anywhere in it (a gesture may start beside the data area). */
async function pointOnPlot(bench, random) {
    await bench.page.locator('#Chart1-picture').scrollIntoViewIfNeeded();
    const box = await bench.page.locator('#Chart1-picture').boundingBox();
    return { x: Math.round(box.x + random.between(2, box.width - 2)), y: Math.round(box.y + random.between(2, box.height - 2)) };
}

/** The screens a session moves between: the designed window, a low one, a tablet turned both ways, phones both ways. */
const VIEWPORTS = [{ width: 1366, height: 768 }, { width: 1280, height: 600 }, { width: 1024, height: 768 },
    { width: 768, height: 1024 }, { width: 390, height: 844 }, { width: 844, height: 390 }];

/**
 * The actions by kind, each with its weight. `soak` holds the page (`bench`), the random
 * source, the script written so far (`script`), what the page showed as velmora-cli prints
 * it (`shown`), the decimal separator in use and the number of typed texts the bench refused.
 */
export const ACTIONS = {
    async press(soak, word = soak.random.pick(layer.COMMAND_WORDS)) {
        soak.bench.touch = soak.random.next() < 0.3;
        await soak.bench.press(word);
        soak.bench.touch = false;
        soak.script.push(word);
        const message = await answerErrorBox(soak.bench, soak.random);
        if (message !== null)
            soak.shown.push(`error: ${message}`);
    },
    async type(soak) {
        const key = soak.random.pick(layer.ROW_KEYS);
        await soak.bench.type(key, textFor(soak.random, key, soak.separator));
        // A text the bench refuses (an unpaired surrogate) changes nothing: the cell shows the bench's text again.
        const refusal = await answerErrorBox(soak.bench, soak.random);
        if (refusal !== null) {
            assert.match(refusal, /^The text is not valid UTF-16: an unpaired surrogate U\+D[89A-F][0-9A-F]{2} at character \d+\.$/);
            ++soak.refusals;
            return;
        }
        const value = await soak.bench.cell(key).inputValue();
        assert.doesNotMatch(value, /[\r\n]/, 'a value cell holds a line break');
        soak.script.push(`set ${key}=${value}`);
    },
    async tick(soak) {
        const word = soak.random.pick(['fix', 'circulation', 'protocol']);
        const on = soak.random.next() < 0.5;
        await soak.bench.tick(word, on);
        soak.script.push(`${word} ${on ? 'on' : 'off'}`);
    },
    async separator(soak) {
        soak.separator = soak.separator === '.' ? ',' : '.';
        await soak.bench.useSeparator(soak.separator);
        soak.script.push(`separator ${soak.separator}`);
    },
    async mouseGesture({ bench, random }) {
        const from = await pointOnPlot(bench, random);
        const mouse = bench.page.mouse;
        await mouse.move(from.x, from.y);
        if (random.next() < 0.3) {
            await mouse.wheel(0, random.pick([-100, 100, -300]));
            return;
        }
        const button = random.pick(['left', 'left', 'right']);
        await mouse.down({ button });
        await mouse.move(from.x + random.between(-200, 200), from.y + random.between(-200, 200), { steps: 4 });
        await mouse.up({ button });
    },
    async touchGesture({ bench, random }) {
        const from = await pointOnPlot(bench, random);
        const fingers = random.next() < 0.5 ? [from] : [from, { x: from.x + 40, y: from.y + 10 }];
        await bench.fingerDrag(fingers, { x: random.between(-150, 150), y: random.between(-150, 150) });
    },
    async plotKeys({ bench, random }) {
        await bench.page.locator('#Chart1-picture').focus();
        for (let i = random.below(4); i >= 0; --i)
            await bench.page.keyboard.press(random.pick(['ArrowLeft', 'ArrowRight', 'ArrowUp', 'ArrowDown', '+', '=', '-', '0']));
    },
    async copyPicture({ bench, random }) {
        await bench.press('Копировать рисунок');
        assert.equal(await answerErrorBox(bench, random), null, 'CopyPicture was refused');
    },
    async sideWindow({ bench, random }) {
        const [caption, id] = random.pick([['Информация', 'TForm2'], ['Параметры установки', 'TForm3']]);
        await bench.press(caption);
        const title = bench.page.locator(`#${id} .title-bar`);
        const box = await title.boundingBox();
        await bench.page.mouse.move(box.x + 40, box.y + box.height / 2);
        await bench.page.mouse.down();
        await bench.page.mouse.move(box.x + 40 + random.between(-300, 300), box.y + random.between(-200, 400), { steps: 3 });
        await bench.page.mouse.up();
        await bench.page.locator(`#${id} .close-button`).click();
    },
    async viewport({ bench, random }) {
        await bench.page.setViewportSize(random.pick(VIEWPORTS));
    },
    /** Types into the protocol box and takes it back with Ctrl+Z: the box then holds the bench's protocol again. */
    async protocolEdit({ bench, random }) {
        const box = bench.page.locator('#Memo1 .cm-content');
        await box.focus();
        await bench.page.keyboard.press(random.pick(['Control+Home', 'Control+End', 'ArrowDown', 'End']));
        await bench.page.keyboard.insertText(random.pick(['x', '\n', 'запись 1\n', ' \t ', 'x'.repeat(100_000), '12\ud800', '😀\u202e']));
        assert.equal(await bench.page.evaluate(() => document.activeElement.closest('#Memo1') !== null), true, 'the protocol box lost the keyboard');
        await bench.page.keyboard.press('Control+Z');
    },
};

/** How often each kind of action comes, out of their sum. */
export const WEIGHTS = { press: 30, type: 28, tick: 6, separator: 3, mouseGesture: 10, touchGesture: 5, plotKeys: 4,
    copyPicture: 2, sideWindow: 4, viewport: 3, protocolEdit: 5 };
assert.deepEqual(Object.keys(WEIGHTS).sort(), Object.keys(ACTIONS).sort());

/** A kind of action drawn by its weight. */
export function drawKind(random) {
    let left = random.next() * Object.values(WEIGHTS).reduce((a, b) => a + b);
    for (const [kind, weight] of Object.entries(WEIGHTS)) {
        if ((left -= weight) < 0)
            return kind;
    }
    return 'press';
}

assert.ok(layer.COMMAND_WORDS.every((word) => captionOf(word) !== undefined));
