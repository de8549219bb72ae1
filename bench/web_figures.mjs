// web_figures.mjs: the browser build's figures, measured on this machine: time to
// first frame against a bare Emscripten GLUT page and one that also shows a
// full-screen picture, and its parts; from the service worker's cache against
// the network in one browser; frame times of the drawing benchmark page at one
// and two device pixels a CSS pixel, with the part of each spent waiting for
// the GPU; the parts of a 1k and of a 10k frame; Chromium's version; and how
// faithfully the web build draws the same states as the desktop build (title,
// strokes, an accented answer, game over), compared pixel by pixel. Run by
// bench/web_figures.sh.
//
// Usage: node web_figures.mjs BASE_URL DESKTOP_BUILD OUT_DIR
// BASE_URL serves the site at site/ and the benchmark pages at figures/;
// DESKTOP_BUILD holds the desktop game (quillory) and its run/ folder;
// DISPLAY must name an X server for it.
import { execFileSync, spawn } from 'node:child_process';
import { writeFileSync } from 'node:fs';
import { join } from 'node:path';
import { Chromium, sleep, waitFor } from '../tests/web/chromium.mjs';
import { decodePng } from '../tests/web/png.mjs';
import * as game from '../tests/web/game.mjs';

const [base, desktopBuild, out] = process.argv.slice(2);
const FIRST_FRAME_ROUNDS = 21; // a first frame here varies by a quarter from load to load
const CACHED_VISITS = 5;
// A player opens the page in a browser that is already running. One just
// started is still starting its GPU process, and that start, timed with the
// page's, moves a first frame here by tens of ms either way.
const BROWSER_SETTLE_MS = 1000;
const PIXEL_TOLERANCE = 16; // per channel, out of 255: below what an eye tells apart
const SETTLE_MS = 1000;     // for the desktop game's frame to follow its input

// The first frame is shown when the task that first drew ends: a page shows
// a frame only then. A task of the highest priority queued at the first draw
// runs right after it, ahead of any timer the page set meanwhile. The first
// draw is the game's first textured quad (the title) or the bare page's first
// clear; both are timed from navigation start.
const FIRST_DRAW_HOOK = `(() => {
  window.firstGl = {};
  window.firstShown = {};
  for (const name of ['drawArrays', 'clear']) {
    const original = WebGLRenderingContext.prototype[name];
    WebGLRenderingContext.prototype[name] = function (...args) {
      if (!window.firstGl[name]) {
        window.firstGl[name] = performance.now();
        scheduler.postTask(() => { window.firstShown[name] = performance.now(); }, { priority: 'user-blocking' });
      }
      return original.apply(this, args);
    };
  }
  // When the program's compilation starts and ends, and whether it streamed
  // (it can only when the server sends the .wasm as application/wasm).
  for (const name of ['instantiateStreaming', 'instantiate']) {
    const original = WebAssembly[name];
    WebAssembly[name] = function (...args) {
      window.wasmCompile = window.wasmCompile || { startMs: performance.now() };
      return original.apply(this, args).then((result) => {
        Object.assign(window.wasmCompile, { how: name, endMs: performance.now() });
        return result;
      });
    };
  }
})();`;

// The first frame's parts, in ms, from the page's timeline: the downloads'
// ends, the program's compilation, the page's decoding of the title (as it
// arrives, while the program downloads), then the browser module's marks:
// its first GL call (the data unpacked, the page's decoding waited for and
// the runtime started), the title picture handed over (decoded, where the
// page could not), the first draw, and what else the task that drew it did
// before the frame could show. The glyph font is rasterised between its first
// and last glyph, before the first draw or after it.
const FIRST_FRAME_SPLIT = `(() => {
  const ended = (suffix) => performance.getEntriesByType('resource').find((r) => r.name.endsWith(suffix))?.responseEnd;
  const at = (name) => performance.getEntriesByName('quillory:' + name).pop()?.startTime;
  const wasm = window.wasmCompile;
  const pageDecoded = at('title-decoded-by-page');
  const ready = Math.max(ended('.data'), wasm.endMs, pageDecoded ?? 0);
  const drawn = window.firstGl.drawArrays;
  const fontFirst = at('last-glyph') < drawn;
  return {
    downloadJsEnd: ended('.js'), downloadWasmEnd: ended('.wasm'), downloadDataEnd: ended('.data'),
    downloadTitleEnd: ended('/titlescreen.png'),
    wasmCompile: wasm.endMs - wasm.startMs, wasmStreamed: wasm.how === 'instantiateStreaming',
    pageTitleDecode: pageDecoded === undefined ? null : pageDecoded - at('title-decode-by-page'),
    unpackAndRuntimeStart: at('first-gl-call') - ready,
    pictureDecodeOrHandOver: at('title-picture') - at('first-gl-call'),
    fontRasterisation: at('last-glyph') - at('first-glyph'),
    fontBeforeFirstFrame: fontFirst,
    firstDraw: drawn - (fontFirst ? at('last-glyph') : at('title-picture')),
    restOfTheFramesTask: window.firstShown.drawArrays - drawn,
  };
})()`;

// The time to the first frame, and for the game (`split`) its parts.
async function firstFrame(url, call, split) {
  const page = await Chromium.open('about:blank');
  try {
    await sleep(BROWSER_SETTLE_MS);
    await page.send('Page.addScriptToEvaluateOnNewDocument', { source: FIRST_DRAW_HOOK });
    await page.send('Page.navigate', { url });
    const ms = await waitFor('a first frame', () => page.evaluate(`window.firstShown.${call}`), 60000);
    const drawnMs = await page.evaluate(`window.firstGl.${call}`);
    if (!split) return { ms, drawnMs, split: null };
    await waitFor('the glyph font', () => page.evaluate("performance.getEntriesByName('quillory:last-glyph').length"), 60000);
    return { ms, drawnMs, split: await page.evaluate(FIRST_FRAME_SPLIT) };
  } finally {
    await page.close();
  }
}

// The split of a frame of the drawing benchmark: the CPU profile of a
// still run of `segments`, each sample put in the part of the frame its stack
// is in, in milliseconds a frame. The benchmark reads a pixel after each
// frame; the time it waits there is the GPU's (SwiftShader's) rasterising.
// The profile shows that wait in WebGL's readPixels, or, before V8 has
// optimised the page's code, in the JavaScript function that calls it.
const SPLIT_SEGMENTS = [1000, 10000]; // the runs split, in the page's order
const SAMPLING_INTERVAL_US = 100;
const WARM_UP_FRAMES = 5; // web_drawing_bench.cpp's
const BENCH_TIMEOUT_MS = 300000;
// The browser module's and Emscripten's GL entry points in wasm, and the
// JavaScript functions that carry a GL call from wasm to WebGL.
const GL_LAYER_WASM = new RegExp('^(gl[A-Z]|glu[A-Z]|glut[A-Z]|emscripten_gl|.*\\(anonymous namespace\\)::Vertex|' +
  '\\(anonymous namespace\\)::(flush|endPrimitive|fillChunk|callList|recording|setEnabled|matrixChanging|' +
  'multiply|currentMatrix|deviceReady|makeDevice|bindTexture|uploadTexture|notRecorded|gl)\\()');
const GL_WRAPPER_JS = /^_(emscripten_)?gl[A-Z]/;
const READ_PIXELS = /^(_(emscripten_)?gl)?[rR]eadPixels$/;
function frameSplit(profile, segments) {
  const parent = new Map();
  const byId = new Map(profile.nodes.map((node) => [node.id, node]));
  for (const node of profile.nodes) for (const child of node.children ?? []) parent.set(child, node.id);
  const stackOf = (id) => { const frames = []; for (let n = id; n !== undefined; n = parent.get(n)) frames.push(byId.get(n).callFrame); return frames; };
  const isWasm = (frame) => frame.url.endsWith('.wasm');
  const isPageJs = (frame) => frame.url.endsWith('.js');
  const parts = { gameWasm: 0, glLayer: 0, boundary: 0, webglCalls: 0, gpuWait: 0, rest: 0 };
  let frames = 0;
  const cache = new Map();
  const partOf = (id) => {
    if (cache.has(id)) return cache.get(id);
    const stack = stackOf(id);
    const inner = stack[0];
    const name = inner.functionName;
    let part = 'rest';
    if (name === '(idle)') part = null;
    else if (READ_PIXELS.test(name)) part = 'gpuWait';
    else if (!inner.url && !name.startsWith('(')) part = stack.some((f) => isPageJs(f) && GL_WRAPPER_JS.test(f.functionName)) ? 'webglCalls' : 'rest';
    else if (isPageJs(inner)) part = GL_WRAPPER_JS.test(name) ? 'boundary' : stack.some((f) => isPageJs(f) && GL_WRAPPER_JS.test(f.functionName)) ? 'glLayer' : 'rest';
    else if (isWasm(inner)) part = stack.some((f) => isWasm(f) && GL_LAYER_WASM.test(f.functionName)) ? 'glLayer' : 'gameWasm';
    cache.set(id, part);
    return part;
  };
  // A frame ends in its pixel read; the page's warm-up frames are left out.
  let pixelReads = 0;
  for (let i = 0; i < profile.samples.length; ++i) {
    const reading = READ_PIXELS.test(byId.get(profile.samples[i]).callFrame.functionName);
    if (reading && (i === 0 || !READ_PIXELS.test(byId.get(profile.samples[i - 1]).callFrame.functionName))) {
      if (++pixelReads > WARM_UP_FRAMES) ++frames;
    }
    const part = partOf(profile.samples[i]);
    const timed = pixelReads > WARM_UP_FRAMES || (pixelReads === WARM_UP_FRAMES && !reading);
    if (part && timed) parts[part] += profile.timeDeltas[i] / 1000;
  }
  const perFrame = Object.fromEntries(Object.entries(parts).map(([k, v]) => [k, +(v / Math.max(frames, 1)).toFixed(2)]));
  return { segments, framesSampled: frames, msPerFrame: perFrame };
}

// Counts the page's WebGL calls from now on, and its frames (one pixel read each).
const WEBGL_CALL_COUNTER = `(() => {
  window.webglCalls = { total: 0, frames: 0, byName: {} };
  const proto = WebGLRenderingContext.prototype;
  for (const name of Object.getOwnPropertyNames(proto)) {
    const original = Object.getOwnPropertyDescriptor(proto, name).value;
    if (typeof original !== 'function' || name === 'constructor') continue;
    proto[name] = function (...args) {
      window.webglCalls.total += 1;
      window.webglCalls.byName[name] = (window.webglCalls.byName[name] || 0) + 1;
      if (name === 'readPixels') window.webglCalls.frames += 1;
      return original.apply(this, args);
    };
  }
})()`;
// The first frame of a first visit, over the network, then of a second visit
// in the same browser, which the service worker answers from its cache.
async function cachedFirstFrameMs(url) {
  const page = await Chromium.open('about:blank');
  try {
    await sleep(BROWSER_SETTLE_MS);
    await page.send('Page.addScriptToEvaluateOnNewDocument', { source: FIRST_DRAW_HOOK });
    const visit = async () => {
      await page.send('Page.navigate', { url });
      return waitFor('a first frame', () => page.evaluate('window.firstShown.drawArrays'), 60000);
    };
    const network = await visit();
    await waitFor('the service worker', () => page.evaluate('!!navigator.serviceWorker.controller'), 60000);
    return { network, cache: await visit() };
  } finally {
    await page.close();
  }
}

const median = (values) => [...values].sort((a, b) => a - b)[Math.floor(values.length / 2)];

// The same game states, played the same way, in a browser or on the desktop.
async function playStates(player) {
  const shots = {};
  shots.title = await player.shot();
  for (let i = 0; i < 3; ++i) await player.click(game.ADVANCE);
  await player.click(game.RED_CELL);
  await player.drag(game.PLAYER1_STROKE);
  await player.click(game.BLUE_CELL);
  await player.drag(game.PLAYER2_STROKE);
  shots.drawing = await player.shot();
  await player.click(game.DONE);
  // xdotool types Ü as ü on the desktop's X server, so no capital umlaut here.
  await player.type('Le café, ß!');
  shots.typed = await player.shot();
  await player.click(game.DONE);
  await player.click(game.GAME_OVER);
  shots.gameOver = await player.shot();
  return shots;
}

function browserPlayer(page) {
  return {
    shot: async () => { await page.frames(3); return page.canvasPixels(); },
    click: (point) => page.click(...point),
    drag: (points) => page.drag(points),
    type: (text) => page.type(text),
  };
}

// The desktop game under DISPLAY, driven with xdotool, captured with ImageMagick.
function desktopPlayer(window) {
  const xdotool = (...args) => execFileSync('xdotool', args.map(String));
  const move = ([x, y]) => xdotool('mousemove', '--window', window, x, y);
  return {
    shot: async () => { await sleep(SETTLE_MS); return execFileSync('import', ['-window', window, 'png:-']); },
    click: async (point) => { move(point); await sleep(100); xdotool('click', 1); await sleep(300); },
    drag: async (points) => {
      move(points[0]); await sleep(100); xdotool('mousedown', 1);
      for (const point of points.slice(1)) { move(point); await sleep(200); }
      xdotool('mouseup', 1); await sleep(300);
    },
    type: async (text) => { xdotool('type', '--delay', 50, text); await sleep(300); },
  };
}

function differingShare(a, b) {
  const left = decodePng(a);
  const right = decodePng(b);
  let differing = 0;
  for (let i = 0; i < left.pixels.length; i += 4) {
    for (let k = 0; k < 3; ++k) {
      if (Math.abs(left.pixels[i + k] - right.pixels[i + k]) > PIXEL_TOLERANCE) { ++differing; break; }
    }
  }
  return differing / (left.width * left.height);
}

const figures = {};
{
  const page = await Chromium.open('about:blank');
  figures.chromium = (await page.send('Browser.getVersion')).product;
  await page.close();
}

// The bare page that shows a full-screen picture tells what SwiftShader
// takes to show the title's picture, apart from all the game does.
const pages = {
  game: [`${base}/site/index.html`, 'drawArrays', true],
  bare: [`${base}/figures/web_bare_window.html`, 'clear'],
  barePicture: [`${base}/figures/web_bare_picture.html`, 'drawArrays'],
};
const firstFrames = { game: [], bare: [], barePicture: [] };
const firstDraws = { game: [], bare: [], barePicture: [] };
const splits = [];
for (let i = 0; i < FIRST_FRAME_ROUNDS; ++i) {
  // Rotating order, so a busy machine slows all alike.
  const names = Object.keys(pages);
  for (const which of names.map((_, k) => names[(k + i) % names.length])) {
    const { ms, drawnMs, split } = await firstFrame(...pages[which]);
    firstFrames[which].push(ms);
    firstDraws[which].push(drawnMs);
    if (split) splits.push(split);
  }
}
figures.firstFrame = { gameMs: firstFrames.game.map(Math.round), bareMs: firstFrames.bare.map(Math.round),
  medianGameMs: Math.round(median(firstFrames.game)), medianBareMs: Math.round(median(firstFrames.bare)),
  ratio: +(median(firstFrames.game) / median(firstFrames.bare)).toFixed(2),
  medianFirstDrawMs: { game: Math.round(median(firstDraws.game)), bare: Math.round(median(firstDraws.bare)) },
  barePictureMs: firstFrames.barePicture.map(Math.round),
  medianBarePictureMs: Math.round(median(firstFrames.barePicture)),
  // The game's ratio less what SwiftShader takes to show one full-screen picture.
  ratioWithoutThePicture: +((median(firstFrames.game) - (median(firstFrames.barePicture) - median(firstFrames.bare))) /
                            median(firstFrames.bare)).toFixed(2),
  medianSplitMs: Object.fromEntries(Object.keys(splits[0]).map((part) => [part,
    typeof splits[0][part] !== 'number' ? splits[0][part] : Math.round(median(splits.map((split) => split[part])))])) };

{
  const visits = [];
  for (let i = 0; i < CACHED_VISITS; ++i) visits.push(await cachedFirstFrameMs(`${base}/site/index.html`));
  figures.firstFrameCached = { networkMs: visits.map((v) => Math.round(v.network)),
    cacheMs: visits.map((v) => Math.round(v.cache)),
    medianNetworkMs: Math.round(median(visits.map((v) => v.network))),
    medianCacheMs: Math.round(median(visits.map((v) => v.cache))) };
}

// Frame times at pixel ratios 1 and 2; at 1, the split of a 1k and of a 10k
// frame and the WebGL calls a frame too. The 1k run is the page's first, so
// its profile starts before the page loads, on a page of the same origin (the
// folder's listing): a page of another would be another process.
figures.frameTimes = {};
for (const ratio of [1, 2]) {
  const url = `${base}/figures/web_drawing_bench.html`;
  const page = await Chromium.open(ratio === 1 ? `${base}/figures/` : url, { width: 1280, height: 1000, ratio });
  if (ratio === 1) {
    const runStarts = (line) => waitFor(line, () => page.console.some((l) => l.startsWith(line)), BENCH_TIMEOUT_MS);
    await page.send('Profiler.enable');
    await page.send('Profiler.setSamplingInterval', { interval: SAMPLING_INTERVAL_US });
    figures.frameSplit = [];
    for (const segments of SPLIT_SEGMENTS) {
      await page.send('Profiler.start');
      if (segments === SPLIT_SEGMENTS[0]) await page.send('Page.navigate', { url });
      await runStarts(`segments ${segments} median`);
      const { profile } = await page.send('Profiler.stop');
      figures.frameSplit.push(frameSplit(profile, segments));
      if (segments !== SPLIT_SEGMENTS.at(-1)) await runStarts(`segments ${segments} stroke in progress`);
    }
    await page.evaluate(WEBGL_CALL_COUNTER);
    const last = SPLIT_SEGMENTS.at(-1);
    await runStarts(`segments ${last} stroke in progress`);
    const calls = await page.evaluate('window.webglCalls');
    figures.webglCalls = { segments: last, perFrameWithStrokeInProgress: Math.round(calls.total / calls.frames),
      byName: Object.fromEntries(Object.entries(calls.byName)
        .map(([name, count]) => [name, Math.round(count / calls.frames)]).filter(([, count]) => count > 0)) };
  }
  await waitFor('the drawing benchmark', () => page.console.includes('done'), BENCH_TIMEOUT_MS);
  figures.frameTimes[`ratio${ratio}`] = page.console.filter((line) => line.startsWith('segments'));
  await page.close();
}

{
  const page = await Chromium.open(`${base}/site/index.html`, { width: 1280, height: 960 });
  await page.gameStarted();
  const web = await playStates(browserPlayer(page));
  await page.close();

  const desktop = spawn(join(desktopBuild, 'quillory'), [], { cwd: join(desktopBuild, 'run'), stdio: 'ignore' });
  try {
    const window = await waitFor('the desktop window', () => {
      try { return execFileSync('xdotool', ['search', '--name', game.WINDOW_TITLE]).toString().trim().split('\n')[0]; } catch { return false; }
    });
    const shots = await playStates(desktopPlayer(window));
    figures.differingShare = {};
    for (const state of Object.keys(web)) {
      writeFileSync(join(out, `web-${state}.png`), web[state]);
      writeFileSync(join(out, `desktop-${state}.png`), shots[state]);
      figures.differingShare[state] = `${(100 * differingShare(web[state], shots[state])).toFixed(3)} %`;
    }
  } finally {
    desktop.kill('SIGTERM');
  }
}
console.log(JSON.stringify(figures, null, 2));
