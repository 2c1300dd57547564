// Running out of the module's memory: the module with a 32 MiB memory says "Out of memory."
// for the call that needed more, changes nothing, and goes on; the full module holds a
// protocol of a million lines.
import assert from 'node:assert/strict';
import { readFileSync } from 'node:fs';
import { join } from 'node:path';
import { test } from 'node:test';

const dir = process.env.VELMORA_WEB_CLI;
const { Bench: SmallBench } = await import(join(dir, 'bench-small.mjs'));
const { Bench } = await import(join(dir, 'bench.mjs'));
const smallWasm = readFileSync(join(dir, 'velmora-module-small.wasm'));
const OUT_OF_MEMORY = { ok: false, message: 'Out of memory.' };

async function smallBench() {
    const bench = await SmallBench.load({ wasm: smallWasm });
    bench.setDecimalSeparator('.');
    assert.equal(bench.run('reset').ok, true);
    return bench;
}

test('a text larger than the memory is refused, and the bench goes on', async () => {
    const bench = await smallBench();
    const rows = bench.rows();
    assert.deepEqual(bench.type('Шаг (см)', '7'.repeat(20 << 20)), OUT_OF_MEMORY);
    assert.deepEqual(bench.rows(), rows);
    assert.deepEqual(bench.type('Шаг (см)', '2'), { ok: true });
    assert.equal(bench.run('move').ok, true);
    assert.equal(bench.row('Текущая координата x (см)'), '2');
});

test('a protocol that fills the memory stops at a whole entry, and erasing frees it', async () => {
    const bench = await smallBench();
    let refused = null;
    for (let i = 0; i < 2_000_000 && refused === null; ++i) {
        const done = bench.run('record');
        if (!done.ok)
            refused = done;
    }
    assert.deepEqual(refused, OUT_OF_MEMORY);
    const lines = bench.revisions().protocolLines;
    assert.equal(lines % 5, 0);
    assert.deepEqual(bench.protocolLines(lines - 5), ['x (см):0', 'y (см):0', 'Угол датчика:0', 'B (Тл):0', ' ']);
    assert.equal(bench.run('erase').ok, true);
    assert.equal(bench.run('record').ok, true);
    assert.equal(bench.revisions().protocolLines, 5);
});

test('the full module holds a protocol of a million lines', async () => {
    const bench = await Bench.load();
    bench.run('reset');
    for (let i = 0; i < 200_000; ++i)
        assert.equal(bench.run('record').ok, true);
    assert.equal(bench.revisions().protocolLines, 1_000_000);
    assert.deepEqual(bench.protocolLines(999_995), ['x (см):0', 'y (см):0', 'Угол датчика:0', 'B (Тл):0', ' ']);
});
