// velmora-cli's script lines and what they print, over the TypeScript layer: the same words,
// the same messages and the same bytes as the native program (cli/Script.cpp).
import { Bench, COMMAND_WORDS, LAYER_NAMES, ROW_KEYS, type CommandWord, type OptionName, type RowKey } from '../src/bench.js';

/** One script line, read. */
export type ScriptLine =
    | { kind: 'nothing' }
    | { kind: 'press'; command: CommandWord }
    | { kind: 'type'; key: RowKey; value: string }
    | { kind: 'tick'; option: OptionName; on: boolean }
    | { kind: 'separator'; separator: string }
    | { kind: 'show'; what: 'table' | 'log' | 'scene' }
    | { kind: 'bad'; reason: string };

// A byte order mark is a character like any other here: only the script's first line drops one.
const utf8 = new TextDecoder('utf-8', { fatal: true, ignoreBOM: true });
const TICKS: Record<string, { option: OptionName; on: boolean }> = {
    'fix on': { option: 'fixAngle', on: true },
    'fix off': { option: 'fixAngle', on: false },
    'circulation on': { option: 'sumCirculation', on: true },
    'circulation off': { option: 'sumCirculation', on: false },
    'protocol on': { option: 'writeProtocol', on: true },
    'protocol off': { option: 'writeProtocol', on: false },
};

/** The text of well-formed UTF-8 `bytes`, or null. */
export function fromUtf8(bytes: Uint8Array): string | null {
    try {
        return utf8.decode(bytes);
    } catch {
        return null;
    }
}

/**
 * Reads one line, given as its bytes without the line end (a trailing carriage return
 * already dropped). Nothing is trimmed.
 */
export function interpret(line: Uint8Array): ScriptLine {
    const text = fromUtf8(line);
    if (text === null)
        return { kind: 'bad', reason: 'not valid UTF-8' };
    if (text === '' || text.startsWith('#'))
        return { kind: 'nothing' };
    if ((COMMAND_WORDS as readonly string[]).includes(text))
        return { kind: 'press', command: text as CommandWord };
    if (text.startsWith('set ')) {
        const rest = text.slice(4);
        const equals = rest.indexOf('=');
        if (equals < 0)
            return { kind: 'bad', reason: "'set' needs KEY=VALUE" };
        const key = rest.slice(0, equals);
        if (!(ROW_KEYS as readonly string[]).includes(key))
            return { kind: 'bad', reason: 'not a key of the readout table' };
        return { kind: 'type', key: key as RowKey, value: rest.slice(equals + 1) };
    }
    if (text.startsWith('separator ')) {
        const rest = text.slice(10);
        if (rest.length !== 1) {
            const paired = rest.length === 2 && rest.charCodeAt(0) >= 0xd800 && rest.charCodeAt(0) <= 0xdbff;
            return {
                kind: 'bad',
                reason: paired ? 'a separator above U+FFFF cannot be used' : 'a separator must be exactly one character',
            };
        }
        return { kind: 'separator', separator: rest };
    }
    const tick = TICKS[text];
    if (tick)
        return { kind: 'tick', ...tick };
    if (text === 'table' || text === 'log' || text === 'scene')
        return { kind: 'show', what: text };
    return { kind: 'bad', reason: 'not a command of the script' };
}

/**
 * The shortest text that reads back as `value` (finite), laid out as the native program
 * writes it: the fewest significant digits, then fixed notation unless scientific
 * ("1.5e-07", at least two exponent digits) is shorter; a whole number in fixed notation
 * shows the double's exact digits.
 */
export function shortestText(value: number): string {
    const negative = value < 0 || Object.is(value, -0);
    const magnitude = Math.abs(value);
    if (magnitude === 0)
        return negative ? '-0' : '0';
    // toExponential() without a digit count gives the shortest digits that read back.
    const [mantissa, power] = magnitude.toExponential().split('e') as [string, string];
    const digits = mantissa.replace('.', '');
    const exponent = Number(power) + 1; // value = 0.digits × 10^exponent
    const n = digits.length;
    let fixed: string;
    if (exponent <= 0)
        fixed = '0.' + '0'.repeat(-exponent) + digits;
    else if (exponent < n)
        fixed = digits.slice(0, exponent) + '.' + digits.slice(exponent);
    else
        fixed = BigInt(magnitude).toString();
    const e = exponent - 1;
    const scientific = digits[0] + (n > 1 ? '.' + digits.slice(1) : '') +
        'e' + (e < 0 ? '-' : '+') + String(Math.abs(e)).padStart(2, '0');
    return (negative ? '-' : '') + (fixed.length <= scientific.length ? fixed : scientific);
}

/** The nine rows, "KEY=VALUE" a line. */
export function tableText(bench: Bench): string {
    return bench.rows().map((row) => `${row.key}=${row.text}\n`).join('');
}

/** The protocol's lines, one a line. */
export function logText(bench: Bench): string {
    return bench.protocolLines().map((line) => line + '\n').join('');
}

/** The five layers, one a line: the name, then " x y" for each point. */
export function sceneText(bench: Bench): string {
    let out = '';
    for (const layer of LAYER_NAMES) {
        const parts: string[] = [layer];
        for (const coordinate of bench.points(layer))
            parts.push(shortestText(coordinate));
        out += parts.join(' ') + '\n';
    }
    return out;
}

/** Carries out a line that is not a bad one and returns what it prints. */
export function execute(bench: Bench, line: Exclude<ScriptLine, { kind: 'bad' }>): string {
    switch (line.kind) {
        case 'nothing':
            return '';
        case 'press':
            return press(bench, line.command);
        case 'type': {
            // A script's text is well-formed UTF-8, so it types; memory that runs out stops the run.
            const typed = bench.type(line.key, line.value);
            if (!typed.ok)
                throw new OutOfMemory();
            return '';
        }
        case 'tick':
            bench.setOption(line.option, line.on);
            return '';
        case 'separator':
            bench.setDecimalSeparator(line.separator);
            return '';
        case 'show':
            return line.what === 'table' ? tableText(bench) : line.what === 'log' ? logText(bench) : sceneText(bench);
    }
}

/** A press: nothing, or "error: MESSAGE" for a command that failed. */
export function press(bench: Bench, command: CommandWord): string {
    const done = bench.run(command);
    return done.ok ? '' : `error: ${done.message}\n`;
}

/** Memory that ran out where the native program would stop the run. */
export class OutOfMemory extends Error {}

const HEX = '0123456789ABCDEF';

/**
 * `bytes` for a one-line message: bytes that are not well-formed UTF-8 and control
 * characters as \xNN, a backslash and a double quote escaped with a backslash, in quotes.
 */
export function quoted(bytes: Uint8Array): string {
    let out = '"';
    let i = 0;
    while (i < bytes.length) {
        const byte = bytes[i]!;
        const length = sequenceLength(bytes, i);
        if (length === 0 || byte < 0x20 || byte === 0x7f) {
            out += '\\x' + HEX[byte >> 4] + HEX[byte & 0xf];
            ++i;
            continue;
        }
        if (byte === 0x5c || byte === 0x22)
            out += '\\';
        out += fromUtf8(bytes.subarray(i, i + length));
        i += length;
    }
    return out + '"';
}

/** The length of the well-formed UTF-8 sequence at `at`, or 0. */
function sequenceLength(bytes: Uint8Array, at: number): number {
    const lead = bytes[at]!;
    const length = lead < 0x80 ? 1 : lead < 0xe0 ? 2 : lead < 0xf0 ? 3 : 4;
    if (at + length > bytes.length || fromUtf8(bytes.subarray(at, at + length)) === null)
        return 0;
    return length;
}
