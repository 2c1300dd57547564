// velmora-cli's command line over the web module, run for every SCRIPT of a folder in one
// node process (tests/cli/compare-backends --node-batch): a long comparison with the native
// program pays node's start-up once instead of once a script. For each SCRIPT it writes
// SCRIPT.out, SCRIPT.err and SCRIPT.status.
//
//   node velmora-cli-batch.mjs FOLDER
import { readdirSync, readFileSync, writeFileSync } from 'node:fs';
import { join } from 'node:path';

import { runCommandLine } from '../../web/cli/run.js';

const folder = process.argv[2]!;
const wasm = await WebAssembly.compile(readFileSync(new URL('./velmora-module.wasm', import.meta.url)));
for (const name of readdirSync(folder).filter((file) => file.endsWith('.script')).sort()) {
    const script = join(folder, name);
    const out: Uint8Array[] = [];
    let err = '';
    const status = await runCommandLine([script], {
        write: (bytes) => out.push(Buffer.from(bytes)),
        error: (text) => { err += text; },
        input: 0,
        env: { LC_ALL: 'C.UTF-8' },
        wasm,
    });
    writeFileSync(`${script}.out`, Buffer.concat(out));
    writeFileSync(`${script}.err`, err);
    writeFileSync(`${script}.status`, String(status));
}
