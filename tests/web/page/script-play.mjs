// A scripted session of tests/cli/sessions played through a bench page by real clicks and
// typing, and what the page then shows (the grid's rows, the protocol box's text, the plot's
// points read from its SVG, the error box's messages) held against what velmora-cli prints
// for the same script (the session's .out). A script line that velmora-cli refuses ends the
// play there, as it ends velmora-cli's run.
import assert from 'node:assert/strict';
import { readdirSync, readFileSync } from 'node:fs';
import { join } from 'node:path';

import { captionOf, layer } from './bench-page.mjs';

const sessions = join(process.env.VELMORA_WEB_SOURCE, '..', 'tests', 'cli', 'sessions');
/** The names of the sessions, in order. */
export const SESSION_NAMES = readdirSync(sessions).filter((name) => name.endsWith('.script')).map((name) => name.replace(/\.script$/, '')).sort();
/** The browser language of each session: as the locale velmora-cli runs it under writes numbers. */
export const languageOf = (name) => ({ comma_locale: 'de-DE' })[name] ?? 'en-US';
const utf8 = new TextDecoder('utf-8', { fatal: true });

/** Splits a script's bytes into lines as velmora-cli does: "\n" ends a line, a trailing "\r" is dropped. */
function scriptLines(bytes) {
    const lines = [];
    let start = bytes[0] === 0xef && bytes[1] === 0xbb && bytes[2] === 0xbf ? 3 : 0;
    for (let i = start; i <= bytes.length; ++i) {
        if (i === bytes.length || bytes[i] === 0x0a) {
            if (i === bytes.length && i === start)
                break;
            let line = bytes.subarray(start, i);
            if (line.at(-1) === 0x0d)
                line = line.subarray(0, -1);
            lines.push(line);
            start = i + 1;
        }
    }
    return lines;
}

/** Plays one script line through the page; returns what it shows (lines of text), or null for a line velmora-cli refuses. */
async function play(bench, bytes) {
    let line;
    try {
        line = utf8.decode(bytes);
    } catch {
        return null;
    }
    if (line === '' || line.startsWith('#'))
        return [];
    if (captionOf(line) !== undefined) {
        await bench.press(line);
        const box = await bench.errorBox();
        return box === null ? [] : [`error: ${await bench.dismissError()}`];
    }
    const set = /^set ([^=]*)=(.*)$/s.exec(line);
    if (set)
        return layer.ROW_KEYS.includes(set[1]) ? (await bench.type(set[1], set[2]), []) : null;
    const tick = /^(fix|circulation|protocol) (on|off)$/.exec(line);
    if (tick)
        return (await bench.tick(tick[1], tick[2] === 'on'), []);
    const separator = /^separator (.)$/s.exec(line);
    if (separator)
        return (await bench.useSeparator(separator[1]), []);
    switch (line) {
        case 'table':
            return (await bench.rows()).map(([key, value]) => `${key}=${value}`);
        case 'log': {
            const text = await bench.protocol();
            return text === '' ? [] : text.split('\n');
        }
        case 'scene':
            return (await bench.scene()).map(([name, numbers]) => [name, ...numbers].join(' '));
        default:
            return null;
    }
}

/** Whether a shown line says what velmora-cli's line says: the same text, or for a plot layer the same numbers. */
export function sameLine(shown, printed) {
    const [name, ...numbers] = printed.split(' ');
    if (!layer.LAYER_NAMES.includes(name) || shown.split(' ')[0] !== name)
        return shown === printed;
    const [, ...values] = shown.split(' ');
    return values.length === numbers.length && values.every((value, i) => Number(value) === Number(numbers[i]));
}

/** Plays the session `name` through `bench` and checks that the page showed what velmora-cli prints. */
export async function assertPlaysAsCli(bench, name) {
    const shown = [];
    for (const line of scriptLines(readFileSync(join(sessions, `${name}.script`)))) {
        const lines = await play(bench, line);
        if (lines === null)
            break;
        shown.push(...lines);
    }
    const printed = readFileSync(join(sessions, `${name}.out`), 'utf8').split('\n').slice(0, -1);
    assert.equal(shown.length, printed.length, `the page shows ${shown.length} lines, velmora-cli prints ${printed.length}:\n${shown.join('\n')}`);
    shown.forEach((line, i) => assert.ok(sameLine(line, printed[i]), `line ${i + 1}: the page shows\n${line}\nvelmora-cli prints\n${printed[i]}`));
}
