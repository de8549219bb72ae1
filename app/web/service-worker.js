// service-worker.js: keeps the web folder in the browser for offline play.
// Registered by index.html with the player's language, once the game's first
// frame shows; the browser runs it apart from the page. At install it stores
// the folder's files in one cache, named by the game's version and a hash of
// the files (both written in when the folder is laid out, by
// packaging/web_offline.cmake): every file but the other languages' pictures
// and sentences, which a player of this language never fetches; those are
// kept when first fetched. It answers the folder's requests from that cache
// first, and when a new folder takes over it deletes the caches of older
// ones. Every path is relative to the worker's own address, so the folder
// works from any path of a site.
"use strict";

const CACHE = "quillory-version-hash";
const FILES = [];
const OURS = "quillory-"; // the prefix of every cache this worker makes
// The player's language: service-worker.js?lang=fr; English without one.
const LANGUAGE = new URL(self.location.href).searchParams.get("lang") || "en";
// images/<language>/... and languages/<language>.json belong to a language.
const LANGUAGE_FILE = /^(?:images\/([^/]+)\/|languages\/([^/]+)\.json$)/;

// Whether `file` (a path in the folder) is another language's than the player's.
function otherLanguages(file) {
  const match = LANGUAGE_FILE.exec(file);
  return match !== null && (match[1] || match[2]) !== LANGUAGE;
}

// Each file is asked of the server again ("no-cache"): a copy the browser's
// HTTP cache kept from an older folder must not enter this one's cache, and
// one the server says is unchanged costs no download.
self.addEventListener("install", (event) => {
  event.waitUntil(caches.open(CACHE)
    .then((cache) => cache.addAll(FILES.filter((file) => !otherLanguages(file))
      .map((file) => new Request(file, { cache: "no-cache" }))))
    .then(() => self.skipWaiting()));
});

self.addEventListener("activate", (event) => {
  event.waitUntil(caches.keys()
    .then((names) => Promise.all(names
      .filter((name) => name.startsWith(OURS) && name !== CACHE)
      .map((name) => caches.delete(name))))
    .then(() => self.clients.claim()));
});

// The folder's address asks for its index.html; a query (?lang=es) selects
// nothing the cache tells apart. A file of the folder that the cache lacks
// (another language's, chosen later) is kept once fetched.
self.addEventListener("fetch", (event) => {
  if (event.request.method !== "GET") return;
  const url = new URL(event.request.url);
  if (!url.href.startsWith(self.registration.scope)) return;
  const file = url.pathname.endsWith("/") ? "index.html"
    : url.pathname.slice(new URL(self.registration.scope).pathname.length);
  event.respondWith(caches.open(CACHE).then((cache) => cache.match(file, { ignoreSearch: true })
    .then((kept) => kept || fetch(event.request).then((response) => {
      if (response.ok && FILES.includes(file)) cache.put(file, response.clone());
      return response;
    }))));
});
