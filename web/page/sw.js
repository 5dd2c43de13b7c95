// Keeps KALDORA's page and its app files in the browser, so that the app
// installed from a web host opens and bills without a connection. Each
// build names its own cache; a new build's worker replaces the old files.
const CACHE = 'kaldora-{{BUILD}}';
const FILES = ['kaldora.html', 'manifest.webmanifest', 'kaldora.svg', 'kaldora-128.png', 'kaldora-256.png'];

self.addEventListener('install', (event) => {
  event.waitUntil(caches.open(CACHE).then((cache) => cache.addAll(FILES)).then(() => self.skipWaiting()));
});

self.addEventListener('activate', (event) => {
  event.waitUntil(caches.keys()
    .then((keys) => Promise.all(keys.filter((key) => key.startsWith('kaldora-') && key !== CACHE)
      .map((key) => caches.delete(key))))
    .then(() => self.clients.claim()));
});

// The kept files first, the host for anything else.
self.addEventListener('fetch', (event) => {
  if (event.request.method !== 'GET') {
    return;
  }
  event.respondWith(caches.open(CACHE)
    .then((cache) => cache.match(event.request, { ignoreSearch: true }))
    .then((kept) => kept || fetch(event.request)));
});
