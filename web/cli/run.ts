// velmora-cli's command line over the web module: the same options, messages and exit
// statuses as the native program (README.md, velmora-cli(1)), with its streams given by the
// caller (main.ts gives the process's own).
import { closeSync, openSync, readSync, writeSync } from 'node:fs';

import { Bench } from '../src/bench.js';
import { decimalSeparatorOfLocale } from './locale.js';
import { OutOfMemory, execute, interpret, press, quoted } from './script.js';

declare const VELMORA_VERSION: string;

/** Where a run reads and writes. */
export interface Streams {
    /** Writes bytes of standard output, all of them or throws the system's error. */
    readonly write: (bytes: Uint8Array) => void;
    /** Writes a message on standard error. */
    readonly error: (text: string) => void;
    /** The file descriptor of standard input. */
    readonly input: number;
    /** The environment, for the locale. */
    readonly env: Record<string, string | undefined>;
    /** The module's .wasm, as bytes or compiled. */
    readonly wasm: Uint8Array | WebAssembly.Module;
}

/** The process's own streams. */
export function processStreams(wasm: Uint8Array): Streams {
    return {
        write: (bytes) => {
            for (let done = 0; done < bytes.length;)
                done += writeSync(1, bytes, done);
        },
        error: (text) => {
            try {
                writeSync(2, text);
            } catch {
                // Nowhere is left to say it.
            }
        },
        input: 0,
        env: process.env,
        wasm,
    };
}

const EXIT_RAN = 0;
const EXIT_FAILED = 1;
const EXIT_BAD_SCRIPT = 2;
/** The longest line carried out, its line end and a first line's byte order mark not counted. */
const MAX_LINE_BYTES = 16 * 1024 * 1024;
const BYTE_ORDER_MARK = [0xef, 0xbb, 0xbf];

const USAGE = 'usage: velmora-cli [-h | --help | --version] [--] [SCRIPT | -]\n';
const SUMMARY = `
Runs one session of the Velmora bench (the magnetic field of a circular
current) without any window, and prints what the student would read. The script
is read from the file SCRIPT, or from standard input when SCRIPT is "-" or not
given.

Options:
  -h, --help   print this help and exit
  --version    print the version and exit
  --           end of the options: a SCRIPT after it may start with "-"

The script is UTF-8 text, one command a line of at most 16 MiB; a carriage
return before the line feed is dropped, nothing else is trimmed. The start-up
Reset runs before the first line, and the decimal separator is the one of the
numeric locale (LC_ALL, LC_NUMERIC, LANG).
  (empty), # TEXT                  nothing
  reset, move, rotate+, rotate-,   press "Начать/Сброс", "Сдвиг", "Поворот +",
  stepx, stepy, start, record,     "Поворот -", "Шаг по X", "Шаг по Y",
  erase                            "В начало", "Записать", "Стереть"
  set KEY=VALUE                    type VALUE into the table's row named KEY,
                                   e.g. "set Шаг (см)=2,5"
  fix on|off                       tick or clear "Фиксировать угол"
  circulation on|off               tick or clear "Рассчитывать циркуляцию"
  protocol on|off                  tick or clear "Записывать протокол"
  separator C                      make C the decimal separator
  table, log, scene                print the table, the protocol, the plot
A command that fails prints "error: MESSAGE", and the script goes on.

Exit status: 0 when the script ran to its end, 1 when the output could not be
written, 2 when the run stopped at a bad line, a line over 16 MiB, a script
that cannot be read, memory that ran out, or a bad command line.
`;

/** The C library's texts for the errors a script's file or the output can meet. */
const REASONS: Record<string, string> = {
    ENOENT: 'No such file or directory',
    EACCES: 'Permission denied',
    EISDIR: 'Is a directory',
    ENOTDIR: 'Not a directory',
    ELOOP: 'Too many levels of symbolic links',
    ENAMETOOLONG: 'File name too long',
    EIO: 'Input/output error',
    ENOSPC: 'No space left on device',
    EPIPE: 'Broken pipe',
    EBADF: 'Bad file descriptor',
    EMFILE: 'Too many open files',
    ENXIO: 'No such device or address',
    EFBIG: 'File too large',
    EDQUOT: 'Disk quota exceeded',
};

function reasonOf(error: unknown): string {
    const code = (error as NodeJS.ErrnoException)?.code;
    return (code && REASONS[code]) || (error instanceof Error ? error.message : String(error));
}

/** Standard output, buffered; the reason of its first failed write is kept to the end of the run. */
class Output {
    readonly #streams: Streams;
    #pending: string[] = [];
    #size = 0;
    #failure: string | null = null;
    #failed = false;

    constructor(streams: Streams) {
        this.#streams = streams;
    }

    write(text: string): void {
        if (text === '')
            return;
        this.#pending.push(text);
        this.#size += text.length;
        if (this.#size >= 1 << 16)
            this.flush();
    }

    flush(): void {
        const text = this.#pending.join('');
        this.#pending = [];
        this.#size = 0;
        if (this.#failed || text === '')
            return;
        try {
            this.#streams.write(Buffer.from(text, 'utf8'));
        } catch (error) {
            this.#failed = true;
            this.#failure = reasonOf(error);
        }
    }

    /** Flushes; a failed write turns a run's status 0 into 1, with its message. */
    finish(status: number): number {
        this.flush();
        if (this.#failed && status === EXIT_RAN) {
            this.#streams.error(`velmora-cli: cannot write the output${this.#failure ? ': ' + this.#failure : ''}\n`);
            return EXIT_FAILED;
        }
        return status;
    }
}

/** Reads a script's bytes line by line, never holding more than one line of at most the limit. */
class LineReader {
    readonly #fd: number;
    #buffer: Uint8Array = new Uint8Array(1 << 16);
    #start = 0;
    #end = 0;
    #atEnd = false;

    constructor(fd: number) {
        this.#fd = fd;
    }

    /** The next line without its line feed, null at the end, or 'too long' past `limit` bytes. */
    next(limit: number): Uint8Array | null | 'too long' {
        let searched = this.#start;
        for (;;) {
            const feed = this.#buffer.subarray(searched, this.#end).indexOf(0x0a);
            if (feed >= 0 && searched + feed - this.#start <= limit) {
                const line = this.#buffer.slice(this.#start, searched + feed);
                this.#start = searched + feed + 1;
                return line;
            }
            if (this.#end - this.#start > limit)
                return 'too long';
            if (this.#atEnd) {
                if (this.#start === this.#end)
                    return null;
                const line = this.#buffer.slice(this.#start, this.#end);
                this.#start = this.#end;
                return line;
            }
            searched = this.#end;
            this.#fill();
        }
    }

    #fill(): void {
        if (this.#start > 0) {
            this.#buffer.copyWithin(0, this.#start, this.#end);
            this.#end -= this.#start;
            this.#start = 0;
        }
        if (this.#end === this.#buffer.length) {
            const larger = new Uint8Array(this.#buffer.length * 2);
            larger.set(this.#buffer);
            this.#buffer = larger;
        }
        let read: number;
        try {
            read = readSync(this.#fd, this.#buffer, this.#end, this.#buffer.length - this.#end, null);
        } catch (error) {
            if ((error as NodeJS.ErrnoException).code === 'EAGAIN')
                return; // a terminal with nothing typed yet
            throw error;
        }
        if (read === 0)
            this.#atEnd = true;
        this.#end += read;
    }
}

function startsWithByteOrderMark(line: Uint8Array): boolean {
    return BYTE_ORDER_MARK.every((byte, i) => line[i] === byte);
}

/** Runs the script read from `fd`, named `name` in messages; returns the exit status. */
function runScript(bench: Bench, fd: number, name: string, out: Output, streams: Streams): number {
    let number = 0;
    const fail = (message: string) => {
        out.flush();
        streams.error(`velmora-cli: ${name}:${number}: ${message}\n`);
        return EXIT_BAD_SCRIPT;
    };
    try {
        out.write(press(bench, 'reset'));
        const reader = new LineReader(fd);
        for (number = 1; ; ++number) {
            let line: Uint8Array | null | 'too long';
            try {
                line = reader.next(MAX_LINE_BYTES + 1 + BYTE_ORDER_MARK.length);
            } catch (error) {
                return fail(`cannot be read: ${reasonOf(error)}`);
            }
            if (line === null)
                return EXIT_RAN;
            if (line !== 'too long') {
                if (line.at(-1) === 0x0d)
                    line = line.subarray(0, -1);
                if (number === 1 && startsWithByteOrderMark(line))
                    line = line.subarray(BYTE_ORDER_MARK.length);
            }
            if (line === 'too long' || line.length > MAX_LINE_BYTES)
                return fail(`line longer than 16 MiB (${MAX_LINE_BYTES} bytes)`);
            const parsed = interpret(line);
            if (parsed.kind === 'bad')
                return fail(`${parsed.reason}: ${quoted(line)}`);
            out.write(execute(bench, parsed));
        }
    } catch (error) {
        if (!(error instanceof OutOfMemory))
            throw error;
        out.flush();
        streams.error(number === 0 ? 'velmora-cli: out of memory\n' : `velmora-cli: ${name}:${number}: out of memory\n`);
        return EXIT_BAD_SCRIPT;
    }
}

/**
 * Runs velmora-cli with the arguments `argv` on `streams`; returns the exit status. Options
 * are taken in order wherever they stand before "--"; the scripts are counted after.
 */
export async function runCommandLine(argv: readonly string[], streams: Streams): Promise<number> {
    const usageError = (problem: string) => {
        streams.error(`velmora-cli: ${problem}\n${USAGE}`);
        return EXIT_BAD_SCRIPT;
    };
    const print = (text: string) => {
        const out = new Output(streams);
        out.write(text);
        return out.finish(EXIT_RAN);
    };
    let script: string | null = null;
    let secondScript: string | null = null;
    let optionsEnded = false;
    for (const argument of argv) {
        if (!optionsEnded && argument === '--') {
            optionsEnded = true;
        } else if (!optionsEnded && argument.length > 1 && argument.startsWith('-')) {
            if (argument === '-h' || argument === '--help')
                return print(USAGE + SUMMARY);
            if (argument === '--version')
                return print(`velmora-cli (Velmora) ${VELMORA_VERSION}\n`);
            return usageError(`unknown option: ${quoted(Buffer.from(argument))}`);
        } else if (script === null) {
            script = argument;
        } else if (secondScript === null) {
            secondScript = argument;
        }
    }
    if (secondScript !== null)
        return usageError(`more than one script: ${quoted(Buffer.from(secondScript))}`);

    const bench = await Bench.load(
        streams.wasm instanceof WebAssembly.Module ? { compiled: streams.wasm } : { wasm: streams.wasm });
    try {
        if (!bench.setDecimalSeparator(decimalSeparatorOfLocale(streams.env)).ok)
            bench.setDecimalSeparator('.');
        const out = new Output(streams);
        if (script === null || script === '-')
            return out.finish(runScript(bench, streams.input, '<stdin>', out, streams));
        let fd: number;
        try {
            fd = openSync(script, 'r');
        } catch (error) {
            streams.error(`velmora-cli: ${script}: cannot be read: ${reasonOf(error)}\n`);
            return EXIT_BAD_SCRIPT;
        }
        try {
            return out.finish(runScript(bench, fd, script, out, streams));
        } finally {
            closeSync(fd);
        }
    } finally {
        bench.close();
    }
}
