// What the page tests share: the built page (VELMORA_WEB_PAGE) served on this computer by the
// page's own server, Debian's Chromium driven headless by playwright-core (which starts it
// with a fresh profile of its own), and a bench page used as a student uses it (real clicks
// and typing) and read as a student reads it (the grid's texts, the protocol copied out of its
// box, the plot's SVG). Every page keeps account of console errors, uncaught errors and
// requests to any origin but the page's own.
import assert from 'node:assert/strict';
import { createRequire } from 'node:module';
import { join } from 'node:path';

const pageDir = process.env.VELMORA_WEB_PAGE;
const source = process.env.VELMORA_WEB_SOURCE;
const packages = createRequire(join(source, 'package.json'));
const { chromium } = packages('playwright-core');
/** axe-core's checks of a page (`new AxeBuilder({ page }).analyze()`). */
export const { AxeBuilder } = packages('@axe-core/playwright');
const { staticServer } = await import(join(source, 'page', 'serve.mjs'));
/** The TypeScript layer, for the bench's own tables: the commands, the row keys, the layers. */
export const layer = await import(join(process.env.VELMORA_WEB_CLI, 'bench.mjs'));

/** The three check boxes by the words a script uses for them. */
export const OPTION_CAPTIONS = {
    fix: 'Фиксировать угол',
    circulation: 'Рассчитывать циркуляцию',
    protocol: 'Записывать протокол',
};
/** The accessible names of the main window's tab stops, in the designed order from the plot on. */
export const TAB_ORDER = ['Рисунок', 'Копировать рисунок', 'Информация', 'Параметры установки', 'Начать/Сброс', 'Сдвиг',
    'Фиксировать угол', 'Протокол', 'Рассчитывать циркуляцию', 'Записывать протокол', 'Стереть', 'Шаг по X',
    'Шаг по Y', 'Поворот -', 'Поворот +', 'В начало', 'Угол поврота (град)', 'Записать'];

/** The accessible name of what has the keyboard: its label, its caption or the text naming it. */
export const focusedName = (page) => page.evaluate(() => {
    const e = document.activeElement;
    const by = e.getAttribute('aria-labelledby');
    return e.getAttribute('aria-label') ?? (by ? document.getElementById(by).textContent : e.labels?.[0]?.textContent ?? e.textContent);
});

const UNPAIRED_SURROGATE = /[\ud800-\udbff](?![\udc00-\udfff])|(?<![\ud800-\udbff])[\udc00-\udfff]/;

/** A language whose numbers are written with each decimal separator. */
const LANGUAGE_OF_SEPARATOR = { '.': 'en-US', ',': 'de-DE' };

const CHROMIUM_FLAGS = ['--no-sandbox', '--disable-gpu', '--disable-background-networking',
    '--disable-component-update', '--disable-sync', '--no-first-run', '--disable-dev-shm-usage'];

/** A Chromium with a profile of its own in the folder `profile`, as a student's browser keeps one. */
export function launchWithProfile(profile) {
    return chromium.launchPersistentContext(profile, { executablePath: '/usr/bin/chromium', headless: true, args: CHROMIUM_FLAGS });
}

/** The whole page in one file, which the build writes beside the page's folder. */
export const singleFile = join(pageDir, '..', 'velmora.html');

/**
 * The page (or the page's files in `folder`) served on a free port and a headless Chromium to
 * open it in. A page opened with the query "?clipboard-blocked" comes with a permissions
 * policy that blocks the clipboard.
 */
export async function startBrowser({ folder = pageDir } = {}) {
    const blocked = { 'Permissions-Policy': 'clipboard-read=(), clipboard-write=()' };
    const server = staticServer(folder, { headers: (url) => (url.endsWith('?clipboard-blocked') ? blocked : {}) });
    await new Promise((resolve) => server.listen(0, '127.0.0.1', resolve));
    const browser = await chromium.launch({ executablePath: '/usr/bin/chromium', headless: true, args: CHROMIUM_FLAGS });
    return {
        browser,
        folder,
        url: `http://localhost:${server.address().port}/`,
        async close() {
            await browser.close();
            await new Promise((resolve) => server.close(resolve));
        },
    };
}

/** The caption of the button that runs a command, from the bench's command table. */
const captions = new Map((await layer.Bench.load()).commands.map((c) => [c.word, c.caption]));
export const captionOf = (word) => captions.get(word);

export class BenchPage {
    /** What went wrong on the page: console errors, uncaught errors, foreign requests. */
    problems = [];
    /** Whether the page is on a touch screen, where the buttons are tapped. */
    touch = false;

    constructor(context, page) {
        this.context = context;
        this.page = page;
    }

    /**
     * Opens the bench (the page's address with `query`) in a context of its own, in the
     * browser language `locale`, with the clipboard permissions when `clipboard`, on a screen
     * of `viewport` with the `device`'s other traits (deviceScaleFactor, hasTouch, isMobile),
     * with the network gone when `offline`, and waits until Reset has run. On a touch screen
     * the buttons are tapped.
     */
    static async open(started, { locale = 'en-US', clipboard = true, viewport = { width: 1366, height: 768 }, device = {}, before = null, query = '', offline = false } = {}) {
        const context = await started.browser.newContext({ locale, viewport, offline, ...device });
        if (clipboard)
            await context.grantPermissions(['clipboard-read', 'clipboard-write'], { origin: started.url });
        // `before` runs in the page before its own scripts (to take a browser feature away).
        if (before !== null)
            await context.addInitScript(before);
        return BenchPage.openIn(context, started.url + query, device.hasTouch === true);
    }

    /**
     * Opens the bench at `url` in a new page of `context` and waits until Reset has run; its
     * buttons are tapped when `touch`.
     */
    static async openIn(context, url, touch = false) {
        const page = await context.newPage();
        const opened = new BenchPage(context, page);
        opened.touch = touch;
        const origin = new URL(url).origin;
        page.on('console', (message) => {
            if (message.type() === 'error')
                opened.problems.push(`console: ${message.text()}`);
        });
        page.on('pageerror', (error) => opened.problems.push(`uncaught: ${error.message}`));
        page.on('request', (request) => {
            if (new URL(request.url()).origin !== origin)
                opened.problems.push(`request to another origin: ${request.url()}`);
        });
        await page.goto(url);
        await opened.#started();
        return opened;
    }

    /** Waits until the page has run its start-up Reset. */
    async #started() {
        await this.page.waitForSelector('#TForm1:not([aria-busy])');
    }

    /** Loads the page again, as the student does, and waits until Reset has run. */
    async reload() {
        await this.page.reload();
        await this.#started();
    }

    /** Closes the page; it must have had no problem. */
    async close() {
        await this.context.close();
        assert.deepEqual(this.problems, []);
    }

    button(caption) {
        return this.page.getByRole('button', { name: caption, exact: true });
    }

    /** Presses the button of the command `word` ("move"), or the button captioned `word`. */
    async press(word) {
        const button = this.button(captionOf(word) ?? word);
        await (this.touch ? button.tap() : button.click());
    }

    /** The value box of the row `key`. */
    cell(key) {
        return this.page.getByRole('textbox', { name: key, exact: true });
    }

    /**
     * Types `value` over the value of the row `key`, as the student types it; a text with a tab
     * or another control character, which no key types into a box, or a long one, is pasted. A
     * text with an unpaired surrogate, which the browser's protocol cannot carry, is inserted
     * by the page's editing command, as a paste inserts it.
     */
    async type(key, value) {
        await this.cell(key).click();
        await this.page.keyboard.press('Control+A');
        if (value === '')
            await this.page.keyboard.press('Delete');
        else if (UNPAIRED_SURROGATE.test(value))
            await this.page.evaluate((codes) => document.execCommand('insertText', false, String.fromCharCode(...codes)),
                Array.from({ length: value.length }, (_, i) => value.charCodeAt(i)));
        else if (/[\u0000-\u001f]/.test(value) || value.length > 100)
            await this.page.keyboard.insertText(value);
        else
            await this.page.keyboard.type(value);
    }

    /** Ticks (`on`) or clears the check box a script calls `word`. */
    async tick(word, on) {
        const box = this.page.getByRole('checkbox', { name: OPTION_CAPTIONS[word], exact: true });
        if ((await box.isChecked()) !== on)
            await box.click();
    }

    /** Makes the browser's language one that writes numbers with `separator`. */
    async useSeparator(separator) {
        const language = LANGUAGE_OF_SEPARATOR[separator];
        assert.ok(language, `no language of the separator ${separator}`);
        await this.page.evaluate((tag) => {
            Object.defineProperty(navigator, 'language', { get: () => tag, configurable: true });
            Object.defineProperty(navigator, 'languages', { get: () => [tag], configurable: true });
            window.dispatchEvent(new Event('languagechange'));
        }, language);
    }

    /** The grid's rows as shown: [key, value] pairs. */
    async rows() {
        return this.page.$$eval('#ValueListEditor1 [role=row]:not(:first-child)', (rows) =>
            rows.map((row) => [row.querySelector('[role=rowheader]').textContent, row.querySelector('input').value]));
    }

    /**
     * The protocol box's text, copied out of it as the student copies it (Ctrl+A, Ctrl+C): what
     * the box puts on the clipboard, read from the copy event (which needs no permission, so
     * that a page opened from a file is read the same way).
     */
    async protocol() {
        const focused = await this.page.evaluate(() => document.activeElement?.id ?? '');
        await this.page.locator('#Memo1 .cm-content').focus();
        await this.page.keyboard.press('Control+A');
        await this.page.evaluate(() => {
            window.copiedText = '';
            document.addEventListener('copy', (event) => (window.copiedText = event.clipboardData.getData('text/plain')), { once: true });
        });
        await this.page.keyboard.press('Control+C');
        const text = await this.page.evaluate(() => window.copiedText);
        if (focused !== '')
            await this.page.locator(`#${focused}`).focus();
        return text;
    }

    /** Each layer's points as the plot's SVG holds them: name → [x0, y0, x1, y1, …] in cm. */
    async scene() {
        return this.page.$$eval('#Chart1 [data-layer]', (groups) => groups.map((group) => {
            const d = [...group.querySelectorAll('path')].map((path) => path.getAttribute('d')).join('');
            return [group.dataset.layer, (d.replace(/h0/g, '').match(/-?[0-9.]+(?:e[-+]?[0-9]+)?/g) ?? []).map(Number)];
        }));
    }

    /** The ranges the plot shows, from its SVG: the layers' transform over the clipped data area. */
    async ranges() {
        return this.page.evaluate(() => {
            const svg = document.querySelector('#Chart1-picture');
            const [a, , , d, e, f] = svg.querySelector('[data-layer=Trace]').getAttribute('transform')
                .match(/matrix\(([^)]*)\)/)[1].split(/[ ,]+/).map(Number);
            const clip = svg.querySelector('clipPath rect');
            const [left, top, width, height] = ['x', 'y', 'width', 'height'].map((k) => Number(clip.getAttribute(k)));
            // The clip lies half a pixel before the data area's first pixels.
            const x0 = left + 0.5, y0 = top + 0.5, bottom = y0 + height - 1;
            return { x: { min: (x0 - e) / a, max: (x0 + width - e) / a }, y: { min: (bottom - f) / d, max: (bottom - height - f) / d } };
        });
    }

    /** The data area of the plot in the page's coordinates: where a gesture must start. */
    async dataArea() {
        return this.page.evaluate(() => {
            const svg = document.querySelector('#Chart1-picture');
            const box = svg.getBoundingClientRect();
            const clip = svg.querySelector('clipPath rect');
            const [x, y, width, height] = ['x', 'y', 'width', 'height'].map((k) => Number(clip.getAttribute(k)));
            return { left: box.left + x + 0.5, top: box.top + y + 0.5, width, height };
        });
    }

    /** The error box's caption and text while it is open, or null. */
    async errorBox() {
        return this.page.evaluate(() => {
            const box = document.querySelector('#ErrorBox');
            return box.open ? { caption: box.querySelector('.caption').textContent, text: box.querySelector('.text').textContent } : null;
        });
    }

    /** Closes the open error box with `key` (or by clicking "OK" when `key` is "OK") and returns its text. */
    async dismissError(key = 'Enter') {
        const shown = await this.errorBox();
        assert.ok(shown, 'no error box is open');
        assert.equal(shown.caption, 'Velmora');
        await (key === 'OK' ? this.button('OK').click() : this.page.keyboard.press(key));
        assert.equal(await this.errorBox(), null, `${key} leaves the error box open`);
        return shown.text;
    }

    /**
     * Drags the fingers at `from` (one or two points) by `by` px in `steps` moves on a touch
     * screen. Each touch comes 50 ms after the one before, as a finger moves (touches of one
     * instant leave Chromium's gesture recognition taking the next tap for part of them).
     */
    async fingerDrag(from, by, steps = 4) {
        const cdp = await this.context.newCDPSession(this.page);
        const points = (step) => from.map((p, id) => ({ x: p.x + (by.x * step) / steps, y: p.y + (by.y * step) / steps, id }));
        let time = Date.now() / 1000;
        const touch = (type, touchPoints) => cdp.send('Input.dispatchTouchEvent', { type, touchPoints, timestamp: (time += 0.05) });
        await touch('touchStart', points(0));
        for (let step = 1; step <= steps; ++step)
            await touch('touchMove', points(step));
        await touch('touchEnd', []);
        await cdp.detach();
    }
}
