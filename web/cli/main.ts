// velmora-cli for node: `node velmora-cli.mjs [--] [SCRIPT | -]` runs one bench session from
// a script through the web module and prints what the native velmora-cli prints, byte for
// byte (README.md, velmora-cli(1)).
import { readFileSync } from 'node:fs';

import { processStreams, runCommandLine } from './run.js';

const wasm = readFileSync(new URL('./velmora-module.wasm', import.meta.url));
process.exitCode = await runCommandLine(process.argv.slice(2), processStreams(wasm));
