// The page's Content-Security-Policy, in a meta tag so that it holds however the page is
// opened: nothing but the page's own files (or, in the single file, the file's own script
// and style sheet) runs, styles or loads. The one style element the page's scripts make,
// CodeMirror's in the protocol box, carries the nonce the policy names.
import { createHash } from 'node:crypto';

const digest = (text) => createHash('sha256').update(text).digest('base64');

/** The source that allows exactly the inline element whose text is `text`. */
export const hashSource = (text) => `'sha256-${digest(text)}'`;

/**
 * The nonce of the page's own style element, made from the page's `script` (which makes the
 * element), so that the same sources build the same bytes and each version has its own.
 */
export const styleNonce = (script) => digest(`style nonce\0${script}`).replace(/[^A-Za-z0-9]/g, '').slice(0, 22);

/** What both forms of the page forbid whatever else they allow. */
export const NOTHING_ELSE = "object-src 'none'; base-uri 'none'; form-action 'none'";
