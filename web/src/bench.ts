// The one typed entry point to the bench in JavaScript: Bench.load() loads the WebAssembly
// module, and a Bench runs the commands, takes typed texts and ticks, and gives the rows,
// the protocol, the plot layers and the revision counters. It owns what embind hands out
// (close() frees it) and copies every view of the module's memory before it returns.
import createVelmoraModule, { type RawBench, type VelmoraModule } from 'velmora-module';

import {
    COMMAND_WORDS, LAYER_NAMES, OPTION_NAMES, ROW_KEYS,
    type CommandWord, type LayerName, type OptionName, type RowKey,
} from './names.js';

export * from './names.js';

/** What a call that can fail returns: the message is the error box's text, "." included. */
export type Result = { readonly ok: true } | { readonly ok: false; readonly message: string };

/** A readout row as the table shows it. */
export interface Row {
    readonly key: RowKey;
    readonly text: string;
}

/** A command of the module's table: its script word and its button's caption. */
export interface CommandName {
    readonly word: CommandWord;
    readonly caption: string;
}

/** The option boxes as they are ticked. */
export type Options = Readonly<Record<OptionName, boolean>>;

/**
 * The revision counters: each grows whenever what it counts changes, so that a view redraws
 * only what differs from what it last showed.
 */
export interface Revisions {
    /** Per row, the table's revision at the row's last change. */
    readonly rows: readonly number[];
    readonly table: number;
    /** Per layer, in LAYER_NAMES order. */
    readonly layers: readonly number[];
    /** Grows with every Reset of the scene (the plot then shows its fixed ranges again). */
    readonly sceneResets: number;
    /** The number of protocol lines; lines are only appended between two clears. */
    readonly protocolLines: number;
    readonly protocolClears: number;
    readonly options: number;
}

/**
 * Where the module's .wasm comes from: its bytes, the module already compiled (for many
 * benches in one program), or (in a browser) the default, fetched beside the script.
 */
export interface LoadOptions {
    readonly wasm?: ArrayBuffer | Uint8Array;
    readonly compiled?: WebAssembly.Module;
}

const utf16 = new TextDecoder('utf-16le');
const ascii = new TextDecoder('ascii');
const ok: Result = Object.freeze({ ok: true });

function indexOf<T>(names: readonly T[], name: T, what: string): number {
    const index = names.indexOf(name);
    if (index < 0)
        throw new RangeError(`not a ${what}: ${String(name)}`);
    return index;
}

export class Bench {
    readonly #module: VelmoraModule;
    #raw: RawBench | null;
    /** The module's command table. */
    readonly commands: readonly CommandName[];

    private constructor(module: VelmoraModule) {
        this.#module = module;
        this.#raw = new module.Bench();
        this.commands = COMMAND_WORDS.map((word, index) => ({
            word,
            caption: utf16.decode(module.commandCaption(index)),
        }));
    }

    /**
     * Loads the module and makes a bench as the program starts it, before the start-up
     * Reset (which the caller runs, as the window does when it is first shown).
     */
    static async load(options: LoadOptions = {}): Promise<Bench> {
        const { compiled, wasm } = options;
        const module = await createVelmoraModule(
            compiled ? {
                instantiateWasm: (imports, receive) => {
                    void WebAssembly.instantiate(compiled, imports).then((instance) => receive(instance));
                    return {};
                },
            } : wasm ? { wasmBinary: wasm } : {});
        return new Bench(module);
    }

    /** Runs a command; a command that fails changes nothing. */
    run(command: CommandWord): Result {
        const raw = this.#bench();
        return raw.run(indexOf(COMMAND_WORDS, command, 'command')) ? ok : this.#failure(raw);
    }

    /**
     * Types `text` into the value cell of the row `key`, as the student types it; the next
     * command that reads the row reads it exactly so. Refused, changing nothing, when the
     * text is not valid UTF-16 (an unpaired surrogate) or there is no memory for it.
     */
    type(key: RowKey, text: string): Result {
        const raw = this.#bench();
        const row = indexOf(ROW_KEYS, key, 'row key');
        const staged = raw.stageText(text.length);
        if (staged === null)
            return this.#failure(raw);
        for (let i = 0; i < text.length; ++i)
            staged[i] = text.charCodeAt(i);
        return raw.typeStaged(row) ? ok : this.#failure(raw);
    }

    /** Ticks (`on`) or clears an option box. */
    setOption(option: OptionName, on: boolean): void {
        this.#bench().setOption(indexOf(OPTION_NAMES, option, 'option'), on);
    }

    options(): Options {
        const raw = this.#bench();
        return {
            fixAngle: raw.option(0),
            sumCirculation: raw.option(1),
            writeProtocol: raw.option(2),
        };
    }

    /** The decimal separator of every number typed and shown: one UTF-16 character, not a surrogate. */
    setDecimalSeparator(separator: string): Result {
        const raw = this.#bench();
        if (separator.length !== 1)
            return { ok: false, message: 'The decimal separator must be one UTF-16 character other than a surrogate.' };
        return raw.setDecimalSeparator(separator.charCodeAt(0)) ? ok : this.#failure(raw);
    }

    decimalSeparator(): string {
        return String.fromCharCode(this.#bench().decimalSeparator());
    }

    /** The nine rows, top to bottom. */
    rows(): Row[] {
        const raw = this.#bench();
        return ROW_KEYS.map((key, index) => ({ key, text: utf16.decode(raw.rowValue(index)) }));
    }

    /** The value text of one row. */
    row(key: RowKey): string {
        return utf16.decode(this.#bench().rowValue(indexOf(ROW_KEYS, key, 'row key')));
    }

    /** The protocol's lines from line `from` (0 for the first) to the last. */
    protocolLines(from = 0): string[] {
        const raw = this.#bench();
        const lines: string[] = [];
        for (let i = Math.max(0, from), n = raw.protocolLineCount(); i < n; ++i)
            lines.push(utf16.decode(raw.protocolLine(i)));
        return lines;
    }

    /** A layer's points as x, y pairs, in centimetres: a copy the caller keeps. */
    points(layer: LayerName): Float64Array {
        return this.#bench().layerPoints(indexOf(LAYER_NAMES, layer, 'layer')).slice();
    }

    revisions(): Revisions {
        const raw = this.#bench();
        return {
            rows: ROW_KEYS.map((_, index) => raw.rowRevision(index)),
            table: raw.tableRevision(),
            layers: LAYER_NAMES.map((_, index) => raw.layerRevision(index)),
            sceneResets: raw.sceneResetCount(),
            protocolLines: raw.protocolLineCount(),
            protocolClears: raw.protocolClearCount(),
            options: raw.optionsRevision(),
        };
    }

    /** Frees the bench; any later call throws. */
    close(): void {
        this.#raw?.delete();
        this.#raw = null;
    }

    /** The names the module itself gives its tables, for checking them against names.ts. */
    moduleNames(): { commands: string[]; rows: string[]; options: number; layers: string[] } {
        const m = this.#module;
        const list = <T>(count: number, name: (index: number) => T) =>
            Array.from({ length: count }, (_, index) => name(index));
        return {
            commands: list(m.commandCount(), (i) => ascii.decode(m.commandWord(i))),
            rows: list(m.rowCount(), (i) => utf16.decode(m.rowKey(i))),
            options: m.optionCount(),
            layers: list(m.layerCount(), (i) => ascii.decode(m.layerName(i))),
        };
    }

    #bench(): RawBench {
        if (this.#raw === null)
            throw new Error('the bench is closed');
        return this.#raw;
    }

    #failure(raw: RawBench): Result {
        return { ok: false, message: utf16.decode(raw.errorText()) };
    }
}
