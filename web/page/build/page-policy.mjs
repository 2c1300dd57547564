// The page's Content-Security-Policy, in a meta tag so that it holds however the page is
// opened: nothing but the page's own files (or, in the single file, the file's own script
// and style sheet) runs, styles or loads, and no script is compiled from a text (only the
// module's WebAssembly). The one style element the page's scripts make, CodeMirror's in the
// protocol box, carries the nonce the policy names (protocol-box.ts reads it from the policy).
import { createHash } from 'node:crypto';

const digest = (text) => createHash('sha256').update(text).digest('base64');

/** The source that allows exactly the inline element whose text is `text`. */
const hashSource = (text) => `'sha256-${digest(text)}'`;

/**
 * The nonce of the page's own style element, made from the page's `script` (which makes the
 * element), so that the same sources build the same bytes and each version has its own.
 */
const styleNonce = (script) => digest(`style nonce\0${script}`).replace(/[^A-Za-z0-9]/g, '').slice(0, 22);

/** What both forms of the page forbid whatever else they allow. */
const NOTHING_ELSE = "object-src 'none'; base-uri 'none'; form-action 'none'";

/** The policy of the served page, whose script is the file velmora-page.js holding `script`. */
export function servedPolicy(script) {
    return `default-src 'self'; script-src 'self' 'wasm-unsafe-eval'; style-src 'self' 'nonce-${styleNonce(script)}'; `
        + NOTHING_ELSE;
}

/**
 * The policy of the single file, whose inline script and style sheet are `script` and
 * `style`. The module reads its embedded .wasm by fetching the data: URL that holds it,
 * hence connect-src data:, which reaches nothing outside the file.
 */
export function singleFilePolicy(script, style) {
    return `default-src 'self'; script-src ${hashSource(script)} 'wasm-unsafe-eval'; `
        + `style-src ${hashSource(style)} 'nonce-${styleNonce(script)}'; img-src data:; font-src data:; connect-src data:; `
        + NOTHING_ELSE;
}
