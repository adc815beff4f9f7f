'use strict';
// The site's offline copy. A visit with a network gets the site as it is now and then keeps a
// fresh copy of all its files; a visit without one gets the kept copy. A copy is only ever used
// once every file of it has been kept, so a visit never mixes files of two versions of the site.

// Each copy is a cache of its own, named by the site's folder (another copy of the site elsewhere
// on the same host keeps its own) and the time it was begun.
const PREFIX = `ascenda ${new URL('./', self.location).pathname} `;
const OLD_CACHE = 'ascenda'; // the single cache of earlier versions of this worker
const FILES = ['./', 'page.js', 'ascenda.js', 'ascenda.wasm', 'manifest.webmanifest', 'favicon.png',
               'apple-touch-icon.png', 'icon-192.png', 'icon-512.png'];
const PAGE = new URL('./', self.location).href;
// Written last into a copy: without it the copy is unfinished and never used.
const WHOLE = new URL('.whole', self.location).href;

// `/` and `/index.html` are one page, kept once; the page's query carries its settings, and every
// query shows the same page.
function keyOf(url) {
  const address = new URL(url, self.location);
  const key = address.origin + address.pathname;
  return key === PAGE + 'index.html' ? PAGE : key;
}
const KEYS = new Set(FILES.map(keyOf));

// A response that followed a redirect is refused when it answers a page load, so it is given,
// and kept, as a plain response of what the redirect led to.
async function unredirected(response) {
  if (!response.redirected)
    return response;
  const {status, statusText, headers} = response;
  return new Response(await response.blob(), {status, statusText, headers});
}

// Revalidated with the server, so that no copy in the browser's own cache hides an update.
async function fromNetwork(url) {
  return unredirected(await fetch(url, {cache: 'no-cache'}));
}

// Only a file that arrived whole and well is kept.
async function toKeep(url) {
  const response = await fromNetwork(url);
  if (!response.ok)
    throw new Error(`${url}: HTTP ${response.status}`);
  return response;
}

async function keptCopy() {
  // Newest first: the names hold the times the copies were begun, all of the same length.
  const names = (await caches.keys()).filter((name) => name.startsWith(PREFIX)).sort().reverse();
  for (const name of names) {
    const cache = await caches.open(name);
    if (await cache.match(WHOLE))
      return cache;
  }
  return null;
}

// Keeps every file afresh in a new copy, which replaces the older ones only once it is whole.
async function keepSite() {
  const name = PREFIX + Date.now();
  const cache = await caches.open(name);
  try {
    await Promise.all(FILES.map(async (file) => cache.put(keyOf(file), await toKeep(new URL(file, self.location)))));
    await cache.put(WHOLE, new Response(''));
  } catch (error) {
    await caches.delete(name);
    throw error;
  }
  for (const other of await caches.keys()) {
    if (other !== name && (other.startsWith(PREFIX) || other === OLD_CACHE))
      await caches.delete(other);
  }
}

let keeping = null; // one copy made at a time
function keepSiteOnce() {
  keeping ??= keepSite().finally(() => { keeping = null; });
  return keeping;
}

self.addEventListener('install', (event) => {
  event.waitUntil(keepSiteOnce().then(() => self.skipWaiting()));
});

self.addEventListener('activate', (event) => {
  event.waitUntil(self.clients.claim());
});

// Where each page came from, by client: a kept copy (its other files come from the same copy,
// even when a newer one is made meanwhile), or null, the network, which then gives all its files.
const copyOfPage = new Map();

// A page the server does not give well (an error, no answer) is given from the kept copy, if any.
async function openPage(event, key) {
  const response = await fromNetwork(key).catch(() => null);
  if (response?.ok) {
    if (event.resultingClientId)
      copyOfPage.set(event.resultingClientId, null);
    event.waitUntil(keepSiteOnce().catch(() => {}));
    return response;
  }
  const copy = await keptCopy();
  const kept = copy && await copy.match(key);
  if (kept) {
    if (event.resultingClientId)
      copyOfPage.set(event.resultingClientId, copy);
    return kept;
  }
  return response ?? Response.error();
}

// A file for a page from the network comes from the network, as it is (the page says when it
// fails); only a page this worker did not see open (it was stopped since) falls back to the
// newest whole copy.
async function openFile(event, key) {
  const copy = copyOfPage.get(event.clientId);
  const kept = copy && await copy.match(key);
  if (kept)
    return kept;
  const response = await fromNetwork(key).catch(() => null);
  if (response?.ok || copyOfPage.has(event.clientId))
    return response ?? Response.error();
  const newest = await keptCopy();
  return (newest && await newest.match(key)) ?? response ?? Response.error();
}

self.addEventListener('fetch', (event) => {
  const request = event.request;
  const key = keyOf(request.url);
  if (request.method !== 'GET' || !KEYS.has(key))
    return;
  event.respondWith(key === PAGE ? openPage(event, key) : openFile(event, key));
});
