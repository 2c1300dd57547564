// The web module's figures, printed (never a test): sizes, instantiation in node and in
// headless Chromium, each command through the TypeScript layer in both, and ProbeReading
// inside the module against the native builds.
//
//   node benchmarks/web/figures.mjs [BUILD]     (BUILD: the test preset's tree, build/)
//
// Needs the module and the runner built (tools/dev web --build); builds the module's
// ProbeReading timer itself. The native ProbeReading figures come from field_benchmark in
// BUILD-bench-perf and BUILD-bench-perf-portable (benchmarks/run builds them) when present.
import { execFileSync } from 'node:child_process';
import { existsSync, mkdtempSync, readFileSync, rmSync, writeFileSync } from 'node:fs';
import { createServer } from 'node:http';
import { createRequire } from 'node:module';
import { tmpdir } from 'node:os';
import { dirname, join, resolve } from 'node:path';
import { fileURLToPath, pathToFileURL } from 'node:url';
import { gzipSync } from 'node:zlib';

const repo = resolve(dirname(fileURLToPath(import.meta.url)), '../..');
const build = resolve(process.argv[2] ?? join(repo, 'build'));
const moduleDir = join(build, 'web-module/module');
const web = join(repo, 'web');
const requireWeb = createRequire(join(web, 'package.json'));
const esbuild = requireWeb('esbuild');
const { chromium } = requireWeb('playwright-core');

const COMMANDS = ['reset', 'move', 'rotate+', 'rotate-', 'stepx', 'stepy', 'start', 'record', 'erase'];
const figure = (name, value, goal = '-', verdict = '-') => console.log(`FIGURE\t${name}\t${value}\t${goal}\t${verdict}`);
const median = (values) => [...values].sort((a, b) => a - b)[Math.floor(values.length / 2)];
const p99 = (values) => [...values].sort((a, b) => a - b)[Math.min(values.length - 1, Math.floor(values.length * 0.99))];
const kb = (bytes) => `${(bytes / 1000).toFixed(1)} KB`;

// Sizes.
const sizeOf = (file) => {
    const bytes = readFileSync(file);
    return { raw: bytes.length, gzip: gzipSync(bytes, { level: 9 }).length };
};
const wasm = sizeOf(join(moduleDir, 'velmora-module.wasm'));
const js = sizeOf(join(moduleDir, 'velmora-module.mjs'));
const single = sizeOf(join(moduleDir, 'velmora-module-single.mjs'));
const gzipTogether = wasm.gzip + js.gzip;
figure('module .wasm, raw / gzip', `${kb(wasm.raw)} / ${kb(wasm.gzip)}`);
figure('module JavaScript, raw / gzip', `${kb(js.raw)} / ${kb(js.gzip)}`);
figure('module, .wasm and JavaScript gzip together', kb(gzipTogether), '≤ 250 KB', gzipTogether <= 250_000 ? 'met' : 'MISSED');
figure('one-file module (SINGLE_FILE), raw / gzip', `${kb(single.raw)} / ${kb(single.gzip)}`);
const cli = sizeOf(join(build, 'web-cli/velmora-cli.mjs'));
figure('node runner velmora-cli.mjs (without the .wasm), raw / gzip', `${kb(cli.raw)} / ${kb(cli.gzip)}`);

// The layer bundled over the two-file module, for node and for a browser.
const work = mkdtempSync(join(tmpdir(), 'velmora-web-figures-'));
const bundle = (platform, outfile) => esbuild.build({
    entryPoints: [join(repo, 'benchmarks/web/timings.ts')],
    bundle: true, format: 'esm', platform, target: platform === 'node' ? 'node20' : 'es2022',
    outfile, alias: { 'velmora-module': join(moduleDir, 'velmora-module.mjs') },
    external: ['fs', 'path', 'module', 'url'], logLevel: 'error',
    banner: platform === 'node' ? { js: "import { createRequire } from 'node:module'; const require = createRequire(import.meta.url); const __dirname = '.';" } : {},
});
await bundle('node', join(work, 'node.mjs'));
await bundle('browser', join(work, 'browser.mjs'));
execFileSync('cp', [join(moduleDir, 'velmora-module.wasm'), work]);
const wasmBytes = readFileSync(join(moduleDir, 'velmora-module.wasm'));

// Node: each load in a process of its own (the first in a process is what a run pays).
const loads = [];
for (let i = 0; i < 15; ++i) {
    const out = execFileSync(process.execPath, ['--input-type=module', '-e', `
        import { readFileSync } from 'node:fs';
        const { loadTime } = await import(${JSON.stringify(pathToFileURL(join(work, 'node.mjs')).href)});
        console.log(await loadTime(readFileSync(${JSON.stringify(join(work, 'velmora-module.wasm'))})));`]);
    loads.push(Number(out));
}
const nodeLoad = median(loads);
figure('node 20: load to a usable bench (compile, instantiate, Reset), median of 15 processes', `${nodeLoad.toFixed(1)} ms`, '≤ 50 ms', nodeLoad <= 50 ? 'met' : 'MISSED');
const { commandTimes } = await import(pathToFileURL(join(work, 'node.mjs')).href);
const nodeCommands = await commandTimes(wasmBytes);

// Chromium, headless, on a server of its own on the loopback.
writeFileSync(join(work, 'index.html'), '<!doctype html><meta charset="utf-8"><title>figures</title>');
const types = { '.html': 'text/html', '.mjs': 'text/javascript', '.wasm': 'application/wasm' };
const server = createServer((request, response) => {
    const file = join(work, new URL(request.url, 'http://x').pathname);
    if (!file.startsWith(work) || !existsSync(file)) {
        response.writeHead(404).end();
        return;
    }
    response.writeHead(200, { 'content-type': types[file.slice(file.lastIndexOf('.'))] ?? 'application/octet-stream' });
    response.end(readFileSync(file));
});
await new Promise((done) => server.listen(0, '127.0.0.1', done));
const origin = `http://127.0.0.1:${server.address().port}`;
const browser = await chromium.launch({
    executablePath: '/usr/bin/chromium', headless: true,
    args: ['--no-sandbox', '--disable-gpu', '--disable-background-networking', '--disable-component-update',
           '--disable-sync', '--no-first-run'],
});
const version = browser.version();
const browserLoads = [];
let browserCommands = null;
for (let i = 0; i < 15; ++i) {
    const context = await browser.newContext(); // a cold cache every time
    const page = await context.newPage();
    await page.goto(`${origin}/index.html`);
    browserLoads.push(await page.evaluate(async (url) => (await import(url)).loadTime(), `${origin}/browser.mjs`));
    if (i === 0)
        browserCommands = await page.evaluate(async (url) => (await import(url)).commandTimes(), `${origin}/browser.mjs`);
    await context.close();
}
await browser.close();
server.close();
const chromiumLoad = median(browserLoads);
figure(`Chromium ${version} headless: load to a usable bench (fetch, compile, instantiate, Reset), median of 15 cold contexts`,
    `${chromiumLoad.toFixed(1)} ms`, '≤ 50 ms', chromiumLoad <= 50 ? 'met' : 'MISSED');
for (const command of COMMANDS) {
    const n = nodeCommands[command];
    const c = browserCommands[command];
    figure(`${command} through the TypeScript layer (run and read back the rows), median / p99`,
        `node ${median(n).toFixed(3)} / ${p99(n).toFixed(3)} ms; Chromium ${median(c).toFixed(3)} / ${p99(c).toFixed(3)} ms`);
}

// ProbeReading inside the module, and natively.
execFileSync('cmake', ['--build', join(build, 'web-module'), '--target', 'velmora-probe-times'],
    { env: { ...process.env, NODE_PATH: '/usr/share/nodejs' }, stdio: ['ignore', 'ignore', 'inherit'] });
const readingsOf = (text, pattern) => Object.fromEntries(text.trim().split('\n').map((line) => pattern(line)).filter(Boolean));
const inModule = readingsOf(execFileSync(process.execPath, ['--no-experimental-fetch', join(moduleDir, 'velmora-probe-times.js')]).toString(),
    (line) => line.split('\t').map((v, i) => (i ? Number(v) : v)));
const native = {};
for (const [backend, dir] of [['x87', `${build}-bench-perf`], ['portable', `${build}-bench-perf-portable`]]) {
    const program = join(dir, 'benchmarks/field_benchmark');
    if (!existsSync(program))
        continue;
    const csv = execFileSync(program, ['--benchmark_format=csv', '--benchmark_repetitions=5', '--benchmark_report_aggregates_only=true']).toString();
    native[backend] = readingsOf(csv, (line) => {
        const m = /^"ProbeReadingAt\/(\w+)_median",\d+,([\d.e+]+),([\d.e+]+),us/.exec(line);
        return m && [m[1], Number(m[2])];
    });
}
for (const [point, micro] of Object.entries(inModule)) {
    const portable = native.portable?.[point];
    const x87 = native.x87?.[point];
    const ratio = portable ? micro / portable : null;
    figure(`ProbeReading ${point}, in the module (node, wall time) against native portable / x87 (Google Benchmark, wall time)`,
        `${micro.toFixed(1)} µs; native ${portable?.toFixed(1) ?? '?'} / ${x87?.toFixed(1) ?? '?'} µs` + (ratio ? `, ${ratio.toFixed(2)} × the portable` : ''),
        point === 'dead_zone' ? '-' : '≤ 2 × portable', ratio === null || point === 'dead_zone' ? '-' : ratio <= 2 ? 'met' : 'MISSED');
}
rmSync(work, { recursive: true, force: true });
