// The node runner takes the decimal separator from the same locale variables as the native
// velmora-cli, in the same order, and both print the same bytes.
import assert from 'node:assert/strict';
import { spawnSync } from 'node:child_process';
import { join } from 'node:path';
import { test } from 'node:test';

const runner = join(process.env.VELMORA_WEB_CLI, 'velmora-cli.mjs');
const native = process.env.VELMORA_NATIVE_CLI;
const SCRIPT = 'set Шаг (см)=0.5\nstepx\ntable\n';

/** What a run prints under exactly the locale variables `locale` (others unset). */
function run(command, locale) {
    const env = { PATH: process.env.PATH };
    for (const [name, value] of Object.entries(locale))
        env[name] = value;
    const done = spawnSync(command[0], command.slice(1), { input: SCRIPT, env });
    return { status: done.status, out: done.stdout.toString(), err: done.stderr.toString() };
}

const cases = [
    { name: 'LC_ALL first', locale: { LC_ALL: 'de_DE.UTF-8', LC_NUMERIC: 'C', LANG: 'C' }, shown: '0,5' },
    { name: 'an empty LC_ALL passes to LC_NUMERIC', locale: { LC_ALL: '', LC_NUMERIC: 'ru_RU.UTF-8' }, shown: '0,5' },
    { name: 'LC_NUMERIC before LANG', locale: { LC_NUMERIC: 'en_US.UTF-8', LANG: 'de_DE.UTF-8' }, shown: '0.5' },
    { name: 'LANG alone', locale: { LANG: 'de_DE.UTF-8' }, shown: '0,5' },
    { name: 'nothing set', locale: {}, shown: '0.5' },
    { name: 'the C locale over a comma', locale: { LC_ALL: 'C.UTF-8', LANG: 'de_DE.UTF-8' }, shown: '0.5' },
    { name: 'a locale neither knows', locale: { LC_ALL: 'xx_YY.UTF-8' }, shown: '0.5' },
];
for (const c of cases) {
    test(c.name, () => {
        const fromNode = run([process.execPath, runner], c.locale);
        assert.equal(fromNode.status, 0, fromNode.err);
        assert.match(fromNode.out, new RegExp(`^Текущая координата x \\(см\\)=${c.shown.replace('.', '\\.')}$`, 'm'));
        assert.deepEqual(fromNode, run([native], c.locale));
    });
}
