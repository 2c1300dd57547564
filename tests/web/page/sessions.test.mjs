// Every scripted session of tests/cli/sessions played through the page by real clicks and
// typing shows what velmora-cli prints for the same script (script-play.mjs).
import assert from 'node:assert/strict';
import { after, before, test } from 'node:test';

import { BenchPage, OPTION_CAPTIONS, startBrowser } from './bench-page.mjs';
import { assertPlaysAsCli, languageOf, SESSION_NAMES } from './script-play.mjs';

let started;
before(async () => (started = await startBrowser()));
after(async () => started.close());

assert.deepEqual(Object.keys(OPTION_CAPTIONS).sort(), ['circulation', 'fix', 'protocol']);
for (const name of SESSION_NAMES) {
    test(`the page shows what velmora-cli prints for ${name}`, async () => {
        const bench = await BenchPage.open(started, { locale: languageOf(name) });
        await assertPlaysAsCli(bench, name);
        await bench.close();
    });
}
