// Bundles the web side with esbuild:
//   node build.mjs MODULE_DIR OUT_DIR VERSION
// MODULE_DIR holds the emscripten module (velmora-module.mjs and .wasm, and the
// one-file velmora-module-single.mjs); OUT_DIR receives
//   velmora-cli.mjs        the node script runner, with velmora-module.wasm beside it
//   bench.mjs              the TypeScript layer as one ES module over the one-file module
//   bench-small.mjs        the same over the module with the small memory, for the tests
//   velmora-cli-batch.mjs  the runner over every script of a folder in one process, for
//                          tests/cli/compare-backends --node-batch
import { copyFileSync, mkdirSync } from 'node:fs';
import { dirname, join } from 'node:path';
import { fileURLToPath } from 'node:url';

import { build } from 'esbuild';

const [moduleDir, outDir, version] = process.argv.slice(2);
if (!moduleDir || !outDir || !version) {
    console.error('usage: node build.mjs MODULE_DIR OUT_DIR VERSION');
    process.exit(2);
}
const here = dirname(fileURLToPath(import.meta.url));
mkdirSync(outDir, { recursive: true });

// emscripten 3.1.6 writes its node branch for CommonJS: an ES module in node needs
// `require` and `__dirname` from its own URL.
const nodeBanner = [
    "import { createRequire as velmoraCreateRequire } from 'node:module';",
    "import { dirname as velmoraDirname } from 'node:path';",
    "import { fileURLToPath as velmoraFileURLToPath } from 'node:url';",
    'const require = velmoraCreateRequire(import.meta.url);',
    'const __dirname = velmoraDirname(velmoraFileURLToPath(import.meta.url));',
].join('\n');

const common = {
    bundle: true,
    format: 'esm',
    platform: 'node',
    target: 'node20',
    banner: { js: nodeBanner },
    legalComments: 'none',
    logLevel: 'warning',
    define: { VELMORA_VERSION: JSON.stringify(version) },
};
const moduleFile = (name) => join(moduleDir, name);

await build({
    ...common,
    entryPoints: [join(here, 'cli/main.ts')],
    outfile: join(outDir, 'velmora-cli.mjs'),
    alias: { 'velmora-module': moduleFile('velmora-module.mjs') },
});
await build({
    ...common,
    entryPoints: [join(here, '../benchmarks/web/batch.ts')],
    outfile: join(outDir, 'velmora-cli-batch.mjs'),
    alias: { 'velmora-module': moduleFile('velmora-module.mjs') },
});
copyFileSync(moduleFile('velmora-module.wasm'), join(outDir, 'velmora-module.wasm'));
for (const [out, module] of [['bench.mjs', 'velmora-module-single.mjs'], ['bench-small.mjs', 'velmora-module-small.mjs']]) {
    await build({
        ...common,
        entryPoints: [join(here, 'src/bench.ts')],
        outfile: join(outDir, out),
        alias: { 'velmora-module': moduleFile(module) },
    });
}
copyFileSync(moduleFile('velmora-module-small.wasm'), join(outDir, 'velmora-module-small.wasm'));
