// The page's service worker: it keeps every file of the page in the browser (but the icons
// of the installed page, which the browser keeps itself), so that the bench starts and works
// with the network gone once the page has been opened.
//
// The build writes the list of the page's files and a name made from their contents into
// this script (PRECACHE_FILES, PRECACHE_VERSION), so a page built anew is a new worker. A new
// worker fetches the whole list into a cache of its own name and then waits: it takes over
// only when the page is next opened (every tab of it closed first), never under a running
// session, and only then drops the caches of earlier versions. It answers from its cache
// first and goes to the network only for what is not in it.
//
// This is the page's own code, not a library such as workbox: the page needs one fixed list
// cached whole and served cache-first, which these few lines do, with nothing added to the
// page's download and no routing or expiry rules to read through.

/** What a service worker's events need beyond the page's DOM types. */
interface ExtendableEvent extends Event {
    waitUntil(promise: Promise<unknown>): void;
}
interface FetchEvent extends ExtendableEvent {
    readonly request: Request;
    respondWith(response: Promise<Response>): void;
}
interface WorkerScope {
    readonly location: Location;
    readonly registration: { readonly scope: string };
    addEventListener(type: 'install' | 'activate', listener: (event: ExtendableEvent) => void): void;
    addEventListener(type: 'fetch', listener: (event: FetchEvent) => void): void;
}

/** The page's files, relative to the worker's folder, and a name for this version of them. */
declare const PRECACHE_FILES: readonly string[];
declare const PRECACHE_VERSION: string;

const worker = self as unknown as WorkerScope;
const CACHE_PREFIX = 'velmora-';
const CACHE = CACHE_PREFIX + PRECACHE_VERSION;

worker.addEventListener('install', (event) => {
    // Every file as the server has it now: what the browser already holds is only
    // revalidated ("304 Not Modified"), not fetched again. One that fails fails the install,
    // and the version that works stays.
    event.waitUntil(caches.open(CACHE).then((cache) =>
        cache.addAll(PRECACHE_FILES.map((file) => new Request(file, { cache: 'no-cache' })))));
});

worker.addEventListener('activate', (event) => {
    event.waitUntil(caches.keys().then((names) => Promise.all(
        names.filter((name) => name.startsWith(CACHE_PREFIX) && name !== CACHE).map((name) => caches.delete(name)))));
});

worker.addEventListener('fetch', (event) => {
    const { request } = event;
    if (request.method !== 'GET' || new URL(request.url).origin !== worker.location.origin)
        return;
    // The page's own address is its index.html; a query (as tests add) names the same file.
    const url = new URL(request.url);
    url.search = '';
    const file = url.href === worker.registration.scope ? new URL('index.html', url).href : url.href;
    event.respondWith(caches.open(CACHE)
        .then((cache) => cache.match(file))
        .then((kept) => kept ?? fetch(request)));
});
