// The TypeScript layer over the module: the error box's texts as data, odd and hostile
// inputs, and the revision counters a page redraws by.
import assert from 'node:assert/strict';
import { join } from 'node:path';
import { beforeEach, describe, test } from 'node:test';

const { Bench } = await import(join(process.env.VELMORA_WEB_CLI, 'bench.mjs'));

/** A bench after its start-up Reset, with "." as separator. */
async function freshBench() {
    const bench = await Bench.load();
    assert.deepEqual(bench.setDecimalSeparator('.'), { ok: true });
    assert.deepEqual(bench.run('reset'), { ok: true });
    return bench;
}

/** Everything a failed call must leave as it was. */
function snapshot(bench) {
    return {
        rows: bench.rows(),
        protocol: bench.protocolLines(),
        marker: [...bench.points('ProbeMarker')],
        trace: [...bench.points('Trace')],
        options: bench.options(),
        revisions: bench.revisions(),
    };
}

const MEGABYTE = 'x'.repeat(1 << 20);

describe('a command that fails returns the error box text and changes nothing', () => {
    const cases = [
        { name: 'a bad number', typed: [['Угол поврота (град)', 'abc']], command: 'rotate+',
          message: "'abc' is not a valid floating point value." },
        { name: 'an empty step', typed: [['Шаг (см)', '']], command: 'stepx',
          message: "'' is not a valid floating point value." },
        { name: 'a number beyond the extended range', typed: [['Шаг (см)', '1e5000']], command: 'stepy',
          message: "'1e5000' is not a valid floating point value." },
        { name: 'an overflow of the field sums', typed: [['Шаг (см)', '1e300']], command: 'move',
          message: 'Floating point overflow.' },
        { name: 'an overflow of the start position',
          typed: [['Начальная координата x (см)', '1e-4940'], ['Начальная координата y (см)', '1e4931']],
          command: 'start', message: 'Floating point overflow.' },
        { name: 'a megabyte of text', typed: [['Шаг (см)', MEGABYTE]], command: 'move',
          message: `'${MEGABYTE}' is not a valid floating point value.` },
    ];
    for (const c of cases) {
        test(c.name, async () => {
            const bench = await freshBench();
            bench.setOption('writeProtocol', true);
            for (const [key, text] of c.typed)
                assert.deepEqual(bench.type(key, text), { ok: true });
            const before = snapshot(bench);
            assert.deepEqual(bench.run(c.command), { ok: false, message: c.message });
            assert.deepEqual(snapshot(bench), before);
            // The bench goes on: the same command runs once the text is a number.
            assert.deepEqual(bench.type(c.typed[0][0], '1'), { ok: true });
            assert.equal(bench.run('reset').ok, true);
            assert.equal(bench.run(c.command).ok, true);
        });
    }
});

describe('typed texts cross exactly, and invalid UTF-16 is refused', () => {
    const accepted = [
        ['blanks and tabs', ' \t2,5 \t'],
        ['a character beyond U+FFFF', 'шаг 😀'],
        ['a megabyte', MEGABYTE],
        ['a U+0000 inside', 'a\u0000b'],
    ];
    for (const [name, text] of accepted) {
        test(`kept: ${name}`, async () => {
            const bench = await freshBench();
            assert.deepEqual(bench.type('Шаг (см)', text), { ok: true });
            assert.equal(bench.row('Шаг (см)'), text);
        });
    }
    const refused = [
        ['a lone lead surrogate', 'a\uD800b', 'U+D800 at character 2'],
        ['a lone trail surrogate first', '\uDC00', 'U+DC00 at character 1'],
        ['a lead surrogate at the end', '5\uDBFF', 'U+DBFF at character 2'],
        ['two leads', '\uD83D\uD83D\uDE00', 'U+D83D at character 1'],
    ];
    for (const [name, text, where] of refused) {
        test(`refused: ${name}`, async () => {
            const bench = await freshBench();
            const before = snapshot(bench);
            assert.deepEqual(bench.type('Шаг (см)', text),
                { ok: false, message: `The text is not valid UTF-16: an unpaired surrogate ${where}.` });
            assert.deepEqual(snapshot(bench), before);
        });
    }
});

describe('the decimal separator', () => {
    test('a comma is read and written', async () => {
        const bench = await freshBench();
        assert.deepEqual(bench.setDecimalSeparator(','), { ok: true });
        assert.equal(bench.decimalSeparator(), ',');
        bench.type('Шаг (см)', '2,5');
        bench.run('stepx');
        assert.equal(bench.row('Текущая координата x (см)'), '2,5');
    });
    for (const [name, separator] of [['empty', ''], ['two characters', '..'], ['a surrogate', '\uD800']]) {
        test(`refused: ${name}`, async () => {
            const bench = await freshBench();
            assert.deepEqual(bench.setDecimalSeparator(separator), {
                ok: false,
                message: 'The decimal separator must be one UTF-16 character other than a surrogate.',
            });
            assert.equal(bench.decimalSeparator(), '.');
        });
    }
});

describe('what changed shows in the revisions', () => {
    let bench;
    beforeEach(async () => { bench = await freshBench(); });

    test('a recorded step changes its rows, the trace and the protocol only', () => {
        bench.setOption('writeProtocol', true);
        const before = bench.revisions();
        assert.equal(bench.run('stepy').ok, true);
        const after = bench.revisions();
        const changed = after.rows.map((revision, row) => revision !== before.rows[row]);
        // "Текущая координата y" and "Индукция B".
        assert.deepEqual(changed, [false, false, false, true, false, false, false, true, false]);
        assert.deepEqual(after.layers.map((r, i) => r !== before.layers[i]), [true, false, true, false, false]);
        assert.equal(after.protocolLines, before.protocolLines + 5);
        assert.equal(after.protocolClears, before.protocolClears);
        assert.equal(after.sceneResets, before.sceneResets);
        assert.deepEqual(bench.protocolLines(before.protocolLines),
            ['x (см):0', 'y (см):1', 'Угол датчика:0', 'B (Тл):0', ' ']);
    });

    test('ticks count once for each change of the boxes', () => {
        const start = bench.revisions().options;
        bench.setOption('fixAngle', true); // already ticked by Reset
        assert.equal(bench.revisions().options, start);
        bench.setOption('sumCirculation', true);
        assert.deepEqual(bench.options(), { fixAngle: true, sumCirculation: true, writeProtocol: false });
        bench.run('reset');
        assert.equal(bench.revisions().options, start + 2);
        assert.deepEqual(bench.options(), { fixAngle: true, sumCirculation: false, writeProtocol: false });
    });

    test('erase clears the protocol and the trace, reset the scene', () => {
        bench.setOption('writeProtocol', true);
        bench.run('move');
        const before = bench.revisions();
        bench.run('erase');
        assert.equal(bench.revisions().protocolClears, before.protocolClears + 1);
        assert.deepEqual(bench.protocolLines(), []);
        assert.equal(bench.points('Trace').length, 0);
        bench.run('reset');
        assert.equal(bench.revisions().sceneResets, before.sceneResets + 1);
    });

    test('points are a copy that later commands leave alone', () => {
        const marker = bench.points('ProbeMarker');
        const copy = [...marker];
        bench.run('move');
        assert.deepEqual([...marker], copy);
        assert.notDeepEqual([...bench.points('ProbeMarker')], copy);
        assert.deepEqual([...bench.points('WireSections')], [13, 0, -13, 0]);
    });
});

test('a closed bench refuses every call', async () => {
    const bench = await freshBench();
    bench.close();
    assert.throws(() => bench.run('move'), /the bench is closed/);
    bench.close(); // a second close does nothing
});
