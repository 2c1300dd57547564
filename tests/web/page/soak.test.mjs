// The page under a long random session (soak-actions.mjs): clicks and taps, typed and pasted
// hostile texts, gestures, the clipboard, the side windows, screens changing size. At the end
// the page shows what velmora-cli prints for the same actions (every error box on the way,
// the table, the protocol, the plot's points), no console error or uncaught error came, and,
// with the protocol and the trace emptied, the page holds in its JavaScript heap, the module's
// memory and its document what it held after the first tenth of the run (by then the browser
// has compiled what it keeps compiled).
//
// VELMORA_SOAK_ACTIONS sets the number of actions (500 by default; BENCHMARKS.md gives a run
// of 5,000), VELMORA_SOAK_SEED the seed. The memory figures are printed every tenth of the run.
import assert from 'node:assert/strict';
import { spawnSync } from 'node:child_process';
import { writeFileSync } from 'node:fs';
import { tmpdir } from 'node:os';
import { join } from 'node:path';
import { after, before, test } from 'node:test';

import { BenchPage, startBrowser } from './bench-page.mjs';
import { ACTIONS, drawKind, randomSource } from './soak-actions.mjs';
import { sameLine } from './script-play.mjs';

const COUNT = Number(process.env.VELMORA_SOAK_ACTIONS ?? 500);
const SEED = Number(process.env.VELMORA_SOAK_SEED ?? 21);
/**
 * What the page may hold more at the end than after the first tenth of the run, both times with
 * its protocol and trace emptied: no listener and no byte of the module's memory; in the
 * document, at most 20 nodes (a few come and go with what the protocol box keeps drawn, while a
 * leak of a node an action is hundreds). The JavaScript heap takes in the browser's own bounded
 * keeping (the undo of the last 1,000 edits in the text boxes, the performance timeline's
 * buffers) and the code it compiles as functions grow hot: up to 1.7 MB in the 450 actions after
 * the first 50 here, 3.8 MB in the 4,500 after the first 500. A leak of 5 KiB an action (a copy
 * of the rows or of a long pasted text kept each time) exceeds the allowance.
 */
const STEADY = { listeners: 0, module: 0, documentNodes: 20, heap: (actions) => (2 << 20) + 1024 * actions };

/**
 * On the designed screen, erases the protocol and resets the bench (its trace and the plot's
 * ranges with it) by the buttons, as script actions: every measurement of an emptied page sees
 * the same layout.
 */
async function empty(soak) {
    await soak.bench.page.setViewportSize({ width: 1366, height: 768 });
    for (const word of ['erase', 'reset'])
        await ACTIONS.press(soak, word);
}

/** Runs before the page's scripts: keeps every memory a WebAssembly module is instantiated with, to be measured. */
function keepModuleMemories() {
    window.moduleMemories = [];
    const keep = (imports) => (result) => {
        const exports = (result.instance ?? result).exports;
        for (const value of [...Object.values(exports), ...Object.values(imports?.env ?? {})]) {
            if (value instanceof WebAssembly.Memory && !window.moduleMemories.includes(value))
                window.moduleMemories.push(value);
        }
        return result;
    };
    for (const name of ['instantiate', 'instantiateStreaming']) {
        const original = WebAssembly[name];
        WebAssembly[name] = (source, imports) => original.call(WebAssembly, source, imports).then(keep(imports));
    }
}

/**
 * The page's memory after a full garbage collection: the JavaScript heap and the module's
 * memory in bytes, the event listeners, the nodes in the document and all the nodes the page
 * holds (those the browser keeps for undo included).
 */
async function measure(bench, cdp) {
    await cdp.send('HeapProfiler.collectGarbage');
    const { usedSize } = await cdp.send('Runtime.getHeapUsage');
    const { nodes, jsEventListeners } = await cdp.send('Memory.getDOMCounters');
    const [module, documentNodes] = await bench.page.evaluate(() => {
        const walker = document.createTreeWalker(document, NodeFilter.SHOW_ALL);
        let count = 1;
        while (walker.nextNode())
            ++count;
        return [window.moduleMemories.reduce((sum, memory) => sum + memory.buffer.byteLength, 0), count];
    });
    return { heap: usedSize, module, listeners: jsEventListeners, documentNodes, nodes };
}

/** What velmora-cli prints for `script`, run under a locale that writes numbers with a point. */
function cliPrints(script) {
    const run = spawnSync(process.env.VELMORA_NATIVE_CLI, ['-'], {
        input: script, env: { ...process.env, LC_ALL: 'C.UTF-8' }, maxBuffer: 1 << 28,
    });
    assert.equal(run.status, 0, run.stderr.toString());
    return run.stdout.toString('utf8').split('\n').slice(0, -1);
}

/** The error box shows a message of over 1,000 characters by its first 699 and its last 300, joined by "…" (no pair halved). */
function boxShows(message) {
    if (message.length <= 1000)
        return message;
    return message.slice(0, 699).replace(/[\ud800-\udbff]$/, '') + '\u2026' + message.slice(-300).replace(/^[\udc00-\udfff]/, '');
}

let started;
before(async () => (started = await startBrowser()));
after(async () => started.close());

test(`${COUNT} random actions (seed ${SEED}) leave the page as velmora-cli leaves the bench, with steady memory`, async () => {
    const bench = await BenchPage.open(started, { device: { hasTouch: true }, before: keepModuleMemories });
    // A control that never becomes usable fails the action, rather than the whole run's time.
    bench.page.setDefaultTimeout(15_000);
    const cdp = await bench.context.newCDPSession(bench.page);
    const soak = { bench, random: randomSource(SEED), script: [], shown: [], separator: '.', refusals: 0 };
    const done = Object.fromEntries(Object.keys(ACTIONS).map((kind) => [kind, 0]));
    const begun = Date.now();
    const tenth = Math.max(1, Math.floor(COUNT / 10));
    let warm;
    for (let i = 1; i <= COUNT; ++i) {
        const kind = drawKind(soak.random);
        try {
            await ACTIONS[kind](soak);
        } catch (error) {
            error.message = `action ${i} (${kind}): ${error.message}`;
            throw error;
        }
        ++done[kind];
        if (i % tenth === 0 || i === COUNT)
            console.log(JSON.stringify({ after: i, seconds: (Date.now() - begun) / 1000, ...(await measure(bench, cdp)) }));
        if (i === tenth) {
            await empty(soak);
            warm = await measure(bench, cdp);
        }
    }
    console.log(JSON.stringify({ actions: done, errorBoxes: soak.shown.length, refusals: soak.refusals }));

    const rows = (await bench.rows()).map(([key, value]) => `${key}=${value}`);
    const protocol = await bench.protocol();
    const scene = (await bench.scene()).map(([name, numbers]) => [name, ...numbers].join(' '));
    const shown = [...soak.shown, ...rows, ...(protocol === '' ? [] : protocol.split('\n')), ...scene];
    const script = [...soak.script, 'table', 'log', 'scene'].join('\n') + '\n';
    const printed = cliPrints(script).map((line) => (line.startsWith('error: ') ? `error: ${boxShows(line.slice(7))}` : line));
    const kept = join(tmpdir(), `velmora-soak-${SEED}-${COUNT}.script`);
    const differs = shown.length !== printed.length || shown.some((line, i) => !sameLine(line, printed[i]));
    if (differs)
        writeFileSync(kept, script);
    assert.equal(shown.length, printed.length, `the page shows ${shown.length} lines, velmora-cli prints ${printed.length} for ${kept}`);
    shown.forEach((line, i) => assert.ok(sameLine(line, printed[i]), `line ${i + 1} of ${kept}: the page shows\n${line.slice(0, 300)}\nvelmora-cli prints\n${printed[i].slice(0, 300)}`));

    // Emptied of its protocol and trace, the page holds what it held after the first tenth.
    await empty(soak);
    const emptied = await measure(bench, cdp);
    console.log(JSON.stringify({ warm, emptied }));
    const allowed = { ...STEADY, heap: STEADY.heap(COUNT - tenth) };
    for (const [what, growth] of Object.entries(allowed))
        assert.ok(emptied[what] - warm[what] <= growth, `${what}: ${warm[what]} after the first tenth, ${emptied[what]} at the end`);
    await cdp.detach();
    await bench.close();
});
