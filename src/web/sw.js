'use strict';
// The site's offline copy: its files are kept at the first visit, and every request for them goes
// to the network first, so a visit with a network always gets the site as it is now (and keeps
// that copy), while a visit without one gets the copy.

const CACHE = 'ascenda';
const FILES = ['./', 'index.html', 'page.js', 'ascenda.js', 'ascenda.wasm', 'sw.js'];
const PATHS = new Set(FILES.map((file) => new URL(file, self.location).pathname));

self.addEventListener('install', (event) => {
  event.waitUntil(caches.open(CACHE).then((cache) => cache.addAll(FILES)).then(() => self.skipWaiting()));
});

self.addEventListener('activate', (event) => {
  event.waitUntil(self.clients.claim());
});

// `key` is the file's address without its query: the page's query carries its settings, and
// every query shows the same page.
async function fromNetworkFirst(key) {
  const cache = await caches.open(CACHE);
  try {
    // Revalidated with the server, so that no copy in the browser's own cache hides an update.
    const response = await fetch(key, {cache: 'no-cache'});
    if (response.ok)
      await cache.put(key, response.clone());
    return response;
  } catch (error) {
    const kept = await cache.match(key);
    if (kept)
      return kept;
    throw error;
  }
}

self.addEventListener('fetch', (event) => {
  const url = new URL(event.request.url);
  if (event.request.method !== 'GET' || url.origin !== self.location.origin || !PATHS.has(url.pathname))
    return;
  event.respondWith(fromNetworkFirst(url.origin + url.pathname));
});
