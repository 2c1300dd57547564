// The web page's figures, printed (never a test), in headless Chromium on this computer:
//   - from navigation to a usable bench (Reset's texts shown, buttons live), cold and warm cache;
//   - the page's total transfer, gzip, file by file;
//   - every command, click to the next painted frame, fresh and with 10,000 trace dots and
//     50,000 protocol lines, as a 99th percentile;
//   - CopyPicture, click to the clipboard written, fresh and with 10,000 dots;
//   - the trace's drawing with 10,000 dots: paths of 1,000 dots (what the page does), one path,
//     and one canvas under the SVG, a new dot and a zoom each.
//
//   node benchmarks/web/page-figures.mjs [BUILD] [--quick]   (BUILD: the test preset's tree, build/)
//
// Needs the page built (tools/dev web --build). --quick takes a few samples only.
import { createRequire } from 'node:module';
import { dirname, join, resolve } from 'node:path';
import { fileURLToPath } from 'node:url';

const repo = resolve(dirname(fileURLToPath(import.meta.url)), '../..');
const args = process.argv.slice(2);
const quick = args.includes('--quick');
const build = resolve(args.find((a) => !a.startsWith('--')) ?? join(repo, 'build'));
const web = join(repo, 'web');
const { chromium } = createRequire(join(web, 'package.json'))('playwright-core');
const { staticServer } = await import(join(web, 'page', 'serve.mjs'));

const COMMANDS = [['reset', 'Начать/Сброс'], ['move', 'Сдвиг'], ['rotate+', 'Поворот +'], ['rotate-', 'Поворот -'],
    ['stepx', 'Шаг по X'], ['stepy', 'Шаг по Y'], ['start', 'В начало'], ['record', 'Записать'], ['erase', 'Стереть']];
/** Commands that take the long trace or protocol away: measured once per long session made anew. */
const CLEARING = new Set(['reset', 'erase']);
const LONG_STEPS = 10_000;
const SAMPLES = quick ? 3 : 40;
const NAVIGATIONS = quick ? 2 : 12;
const CLEARING_SAMPLES = quick ? 1 : 3;

const figure = (name, value, goal = '-', verdict = '-') => console.log(`FIGURE\t${name}\t${value}\t${goal}\t${verdict}`);
const sorted = (values) => [...values].sort((a, b) => a - b);
const median = (values) => sorted(values)[Math.floor(values.length / 2)];
const p99 = (values) => sorted(values)[Math.min(values.length - 1, Math.floor(values.length * 0.99))];
const ms = (value) => `${value.toFixed(1)} ms`;
const verdict = (value, goal) => (value <= goal ? 'met' : 'MISSED');

const requests = [];
const server = staticServer(join(build, 'web'), { onRequest: (r) => requests.push(r) });
await new Promise((done) => server.listen(0, '127.0.0.1', done));
const url = `http://localhost:${server.address().port}/`;
const browser = await chromium.launch({
    executablePath: '/usr/bin/chromium',
    args: ['--no-sandbox', '--disable-gpu', '--disable-background-networking', '--disable-component-update',
        '--disable-sync', '--no-first-run', '--disable-dev-shm-usage'],
});

/**
 * In the page, before its own scripts: for each click, the time to the next painted frame (the
 * frame's callbacks, then a task after them, when the frame has been handed on to be shown)
 * and the work in it (the click's handlers and the frame's rendering, without the wait for the
 * display's next frame); and each clipboard write's time from its click to the write done.
 */
function instrument() {
    window.velmoraFrames = [];
    window.velmoraWork = [];
    window.velmoraCopies = [];
    let clicked = 0;
    addEventListener('click', (event) => {
        clicked = event.timeStamp;
    }, true);
    addEventListener('click', (event) => {
        const handled = performance.now();
        requestAnimationFrame(() => {
            const frame = performance.now();
            const after = new MessageChannel();
            after.port1.onmessage = () => {
                const painted = performance.now();
                window.velmoraFrames.push(painted - event.timeStamp);
                window.velmoraWork.push(handled - event.timeStamp + (painted - frame));
            };
            after.port2.postMessage(0);
        });
    });
    const write = Clipboard.prototype.write;
    Clipboard.prototype.write = function (items) {
        const from = clicked;
        return write.call(this, items).then(() => window.velmoraCopies.push(performance.now() - from));
    };
}

async function openBench(context) {
    const page = await context.newPage();
    await page.goto(url);
    await page.waitForSelector('#TForm1:not([aria-busy])');
    return page;
}

async function newBench() {
    const context = await browser.newContext({ viewport: { width: 1366, height: 768 }, locale: 'en-US' });
    await context.grantPermissions(['clipboard-read', 'clipboard-write'], { origin: url });
    await context.addInitScript(instrument);
    return { context, page: await openBench(context) };
}

/** The time from navigation to the bench's "velmora-usable" mark. */
const usableAt = (page) => page.evaluate(() => performance.getEntriesByName('velmora-usable')[0].startTime);

// From navigation to a usable bench, and what a first visit transfers.
{
    const cold = [];
    const warm = [];
    for (let i = 0; i < NAVIGATIONS; ++i) {
        const context = await browser.newContext({ viewport: { width: 1366, height: 768 } });
        requests.length = 0;
        const page = await openBench(context);
        cold.push(await usableAt(page));
        // Once the service worker has kept every file (revalidating those just loaded), the
        // next navigation is answered from its cache.
        await page.evaluate(() => navigator.serviceWorker.ready);
        if (i === 0) {
            const total = requests.reduce((sum, r) => sum + r.bytes, 0);
            for (const r of requests)
                figure(`transfer of ${r.url} (${r.status})`, `${(r.bytes / 1000).toFixed(1)} KB`);
            figure('the page\'s total transfer, gzip (with the font, the pictures and the service worker keeping every file)',
                `${(total / 1000).toFixed(1)} KB in ${requests.length} requests`, '≤ 600 KB', verdict(total, 600_000));
        }
        await page.goto(url);
        await page.waitForSelector('#TForm1:not([aria-busy])');
        warm.push(await usableAt(page));
        await context.close();
    }
    figure('navigation to a usable bench, cold cache, median (max)', `${ms(median(cold))} (${ms(Math.max(...cold))})`, '≤ 300 ms', verdict(median(cold), 300));
    figure('navigation to a usable bench again, from the service worker\'s cache, median (max)', `${ms(median(warm))} (${ms(Math.max(...warm))})`);
}

/** Presses a button `count` times by real clicks; the times to the next frame, and the work in them. */
async function latencies(page, caption, count) {
    await page.evaluate(() => {
        window.velmoraFrames = [];
        window.velmoraWork = [];
    });
    const button = page.getByRole('button', { name: caption, exact: true });
    for (let i = 0; i < count; ++i) {
        await button.click();
        await page.waitForFunction((n) => window.velmoraFrames.length >= n, i + 1);
    }
    return page.evaluate(() => ({ frames: window.velmoraFrames, work: window.velmoraWork }));
}

/** Makes the long session: 10,000 recorded steps of 0.001 cm, so 10,000 dots and 50,000 protocol lines. */
async function lengthen(page) {
    await page.getByRole('checkbox', { name: 'Записывать протокол', exact: true }).check();
    await page.getByRole('textbox', { name: 'Шаг (см)', exact: true }).fill('0.001');
    await page.evaluate((steps) => {
        const button = document.querySelector('#Button6');
        for (let i = 0; i < steps; ++i)
            button.click();
    }, LONG_STEPS);
    await page.evaluate(() => new Promise((done) => requestAnimationFrame(() => setTimeout(done, 100))));
}

// Every command, click to the next painted frame.
for (const long of [false, true]) {
    const state = long ? `with ${LONG_STEPS.toLocaleString('en')} dots and ${(5 * LONG_STEPS).toLocaleString('en')} protocol lines` : 'fresh';
    let bench = await newBench();
    if (long)
        await lengthen(bench.page);
    const all = { frames: [], work: [] };
    for (const [word, caption] of COMMANDS) {
        const times = { frames: [], work: [] };
        const add = (more) => {
            for (const key of ['frames', 'work']) {
                times[key].push(...more[key]);
                all[key].push(...more[key]);
            }
        };
        if (long && CLEARING.has(word)) {
            for (let i = 0; i < CLEARING_SAMPLES; ++i) {
                add(await latencies(bench.page, caption, 1));
                await bench.context.close();
                bench = await newBench();
                await lengthen(bench.page);
            }
        } else {
            add(await latencies(bench.page, caption, SAMPLES));
        }
        figure(`"${caption}" (${word}) ${state}: to the next painted frame, p99 (median); the work in it, p99`,
            `${ms(p99(times.frames))} (${ms(median(times.frames))}); ${ms(p99(times.work))}`, '≤ 16 ms', verdict(p99(times.work), 16));
    }
    figure(`every command ${state}: to the next painted frame, p99; the work in it, p99`,
        `${ms(p99(all.frames))}; ${ms(p99(all.work))}`, '≤ 16 ms', verdict(p99(all.work), 16));
    // CopyPicture, click to the clipboard written.
    const copies = [];
    const copy = bench.page.getByRole('button', { name: 'Копировать рисунок', exact: true });
    for (let i = 0; i < (quick ? 2 : 10); ++i) {
        await copy.click();
        await bench.page.waitForFunction((n) => window.velmoraCopies.length >= n, i + 1, { timeout: 60_000 });
    }
    copies.push(...(await bench.page.evaluate(() => window.velmoraCopies)));
    figure(`CopyPicture ${state}, median (max)`, `${ms(median(copies))} (${ms(Math.max(...copies))})`, '≤ 150 ms', verdict(median(copies), 150));
    await bench.context.close();
}

// The trace's drawing: a new dot and a zoom with 10,000 dots, three ways.
{
    const page = await browser.newPage({ viewport: { width: 1366, height: 768 } });
    await page.setContent('<svg id="plot" width="700" height="700"></svg><canvas id="under" width="700" height="700"></canvas>');
    const times = await page.evaluate(async ({ dots, samples }) => {
        const frame = () => new Promise((done) => requestAnimationFrame(() => {
            const after = new MessageChannel();
            after.port1.onmessage = done;
            after.port2.postMessage(0);
        }));
        const points = Float64Array.from({ length: 2 * dots }, (_, i) => (i % 2 ? Math.sin(i) * 20 : Math.cos(i) * 20));
        const svg = document.getElementById('plot');
        const ns = 'http://www.w3.org/2000/svg';
        const d = (from, to) => {
            let text = '';
            for (let i = from; i < to; ++i)
                text += `M${points[2 * i]} ${points[2 * i + 1]}h0`;
            return text;
        };
        const transform = (scale) => `matrix(${12.56 * scale} 0 0 ${-12.38 * scale} 314.76 336.5)`;
        const measure = async (change) => {
            const out = [];
            for (let k = 0; k < samples; ++k) {
                const t0 = performance.now();
                change(k);
                await frame();
                out.push(performance.now() - t0);
            }
            out.sort((a, b) => a - b);
            return out[Math.floor(out.length / 2)];
        };
        const result = {};
        for (const chunk of [1000, dots]) {
            const group = document.createElementNS(ns, 'g');
            group.setAttribute('stroke', 'red');
            group.setAttribute('stroke-width', '5');
            group.setAttribute('stroke-linecap', 'round');
            group.setAttribute('transform', transform(1));
            svg.replaceChildren(group);
            const paths = [];
            for (let from = 0; from < dots; from += chunk) {
                const path = document.createElementNS(ns, 'path');
                path.setAttribute('vector-effect', 'non-scaling-stroke');
                path.setAttribute('d', d(from, Math.min(dots, from + chunk)));
                group.append(path);
                paths.push(path);
            }
            await frame();
            const last = paths.at(-1);
            result[chunk === dots ? 'one path' : 'paths of 1,000 dots'] = {
                dot: await measure(() => last.setAttribute('d', d(dots - (dots % chunk || chunk), dots))),
                zoom: await measure((k) => group.setAttribute('transform', transform(1 + (k % 2) * 0.1))),
            };
        }
        svg.replaceChildren();
        const g = document.getElementById('under').getContext('2d');
        const draw = (scale) => {
            g.clearRect(0, 0, 700, 700);
            g.beginPath();
            for (let i = 0; i < dots; ++i) {
                const x = 314.76 + 12.56 * scale * points[2 * i];
                const y = 336.5 - 12.38 * scale * points[2 * i + 1];
                g.moveTo(x + 2.5, y);
                g.arc(x, y, 2.5, 0, 2 * Math.PI);
            }
            g.fillStyle = 'red';
            g.fill();
        };
        draw(1);
        await frame();
        result['one canvas'] = { dot: await measure(() => draw(1)), zoom: await measure((k) => draw(1 + (k % 2) * 0.1)) };
        return result;
    }, { dots: LONG_STEPS, samples: quick ? 3 : 30 });
    for (const [way, { dot, zoom }] of Object.entries(times))
        figure(`trace of ${LONG_STEPS.toLocaleString('en')} dots drawn as ${way}: a new dot / a zoom, to the next frame, median`, `${ms(dot)} / ${ms(zoom)}`);
    await page.close();
}

await browser.close();
server.close();
