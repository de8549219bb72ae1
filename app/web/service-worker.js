// service-worker.js: keeps the web folder in the browser for offline play.
// Registered by index.html; the browser runs it apart from the page. At
// install it stores every file of the folder in one cache, named by the
// game's version and a hash of the files (both written in when the folder is
// laid out, by packaging/web_offline.cmake); it answers the folder's requests
// from that cache first, and when a new folder takes over it deletes the
// caches of older ones. Every path is relative to the worker's own address,
// so the folder works from any path of a site.
"use strict";

const CACHE = "quillory-version-hash";
const FILES = [];
const OURS = "quillory-"; // the prefix of every cache this worker makes

// Each file is asked of the server again ("no-cache"): a copy the browser's
// HTTP cache kept from an older folder must not enter this one's cache, and
// one the server says is unchanged costs no download.
self.addEventListener("install", (event) => {
  event.waitUntil(caches.open(CACHE)
    .then((cache) => cache.addAll(FILES.map((file) => new Request(file, { cache: "no-cache" }))))
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
// nothing the cache tells apart.
self.addEventListener("fetch", (event) => {
  if (event.request.method !== "GET") return;
  const url = new URL(event.request.url);
  if (!url.href.startsWith(self.registration.scope)) return;
  const request = url.pathname.endsWith("/") ? new URL("index.html", url).href : event.request;
  event.respondWith(caches.open(CACHE)
    .then((cache) => cache.match(request, { ignoreSearch: true }))
    .then((kept) => kept || fetch(event.request)));
});
