// The page's Content-Security-Policy, in the page served and in its single file: what it says,
// that the page runs a session under it without one refusal, and that it refuses what the page
// never does (an inline script, eval, an injected style, a picture from elsewhere) while
// allowing the styles the page's scripts set on elements.
import assert from 'node:assert/strict';
import { pathToFileURL } from 'node:url';
import { after, before, test } from 'node:test';

import { BenchPage, singleFile, startBrowser } from './bench-page.mjs';
import { assertPlaysAsCli } from './script-play.mjs';

/** Keeps every refusal the policy reports, from before the page's own scripts run. */
const recordViolations = () => {
    window.policyViolations = [];
    document.addEventListener('securitypolicyviolation', (event) => window.policyViolations.push(event.effectiveDirective));
};

/** What a page's script might try, whether it took effect, and the directive that must refuse it (null: allowed). */
const ATTEMPTS = [
    ['an inline script', () => {
        const script = document.createElement('script');
        script.textContent = 'window.injected = true';
        document.head.append(script);
        return window.injected === true;
    }, 'script-src-elem'],
    // From a task of the page's own, as the tests' evaluation itself is let past the policy.
    ['eval', () => new Promise((resolve) => setTimeout(() => {
        try {
            resolve(new Function('return true')());
        } catch {
            resolve(false);
        }
    })), 'script-src'],
    ['an inline style sheet', () => {
        const style = document.createElement('style');
        style.textContent = 'body { --injected: 1; }';
        document.head.append(style);
        return getComputedStyle(document.body).getPropertyValue('--injected') !== '';
    }, 'style-src-elem'],
    ['a style attribute in markup', () => {
        const box = document.createElement('div');
        box.setAttribute('style', 'width: 7px');
        document.body.append(box);
        return getComputedStyle(box).width === '7px';
    }, 'style-src-attr'],
    ['a picture from another site', () => new Promise((resolve) => {
        const picture = new Image();
        picture.onload = () => resolve(true);
        picture.onerror = () => resolve(false);
        picture.src = 'http://192.0.2.1/picture.png';
    }), 'img-src'],
    ['a style set on an element by a script', () => {
        const box = document.createElement('div');
        box.style.width = '7px';
        document.body.append(box);
        return getComputedStyle(box).width === '7px';
    }, null],
];

let started;
before(async () => (started = await startBrowser()));
after(async () => started.close());

const FORMS = [
    ['the page served', () => started, { session: 'separator_switch', clipboard: true }],
    ['the single file', () => ({ browser: started.browser, url: pathToFileURL(singleFile).href }), { session: 'issue_example', clipboard: false }],
];
for (const [form, where, { session, clipboard }] of FORMS) {
    test(`${form} holds a policy of its own files only, runs under it, and refuses the rest`, async () => {
        const bench = await BenchPage.open(where(), { before: recordViolations, clipboard });
        const policy = Object.fromEntries((await bench.page.getAttribute('meta[http-equiv="Content-Security-Policy"]', 'content'))
            .split(';').map((directive) => directive.trim().split(/\s+/)).map(([name, ...sources]) => [name, sources]));
        assert.deepEqual(policy['default-src'], ["'self'"]);
        assert.ok(policy['script-src'].includes("'wasm-unsafe-eval'"));
        for (const loose of ["'unsafe-inline'", "'unsafe-eval'", '*', 'data:', 'blob:'])
            assert.ok(!policy['script-src'].includes(loose) && !policy['style-src'].includes(loose), `${loose} is allowed`);

        await assertPlaysAsCli(bench, session);
        assert.deepEqual(await bench.page.evaluate(() => window.policyViolations), []);

        const refusals = [];
        for (const [what, attempt, directive] of ATTEMPTS) {
            assert.equal(await bench.page.evaluate(attempt), directive === null, what);
            if (directive !== null)
                refusals.push(directive);
            await bench.page.waitForFunction((count) => window.policyViolations.length >= count, refusals.length);
        }
        assert.deepEqual(await bench.page.evaluate(() => window.policyViolations), refusals);
        // The browser reports the refusals on the console too, and the picture as asked for
        // (it is refused before it reaches the network); those are the only problems.
        const refused = /^console: .* violates the following Content Security Policy directive|^request to another origin: http:\/\/192\.0\.2\.1\//;
        assert.ok(bench.problems.length > 0 && bench.problems.every((problem) => refused.test(problem)), bench.problems.join('\n'));
        bench.problems.length = 0;
        await bench.close();
    });
}
