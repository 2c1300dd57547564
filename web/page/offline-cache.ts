// The page kept for use without the network: where the page is served, it registers its
// service worker (service-worker.ts), which keeps every file of the page in the browser. A
// page opened from a file (velmora.html) is already whole and has no worker to register.

/** Registers the page's service worker where the page is served over HTTP(S). */
export function keepForOffline(): void {
    if (!('serviceWorker' in navigator) || !/^https?:$/.test(location.protocol))
        return;
    // The page works as well without it: a refusal (a browser that keeps no site data) is
    // only worth a warning.
    navigator.serviceWorker.register('service-worker.js').catch((error: unknown) =>
        console.warn(`The page is not kept for offline use: ${error instanceof Error ? error.message : String(error)}`));
}
