// web_figures.mjs: the browser build's figures, measured on this machine: time to
// first frame against a bare Emscripten GLUT page, and from the service
// worker's cache against the network in one browser, frame times of the
// drawing benchmark page at one and two device pixels a CSS pixel, Chromium's version, and how faithfully the web build draws
// the same states as the desktop build (title, strokes, an accented answer,
// game over), compared pixel by pixel. Run by bench/web_figures.sh.
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
const FIRST_FRAME_PAIRS = 5;
const PIXEL_TOLERANCE = 16; // per channel, out of 255: below what an eye tells apart
const SETTLE_MS = 1000;     // for the desktop game's frame to follow its input

// The first frame is when the page first draws: the game's first textured
// quad (the title) or the bare page's first clear, from navigation start.
const FIRST_DRAW_HOOK = `(() => {
  for (const name of ['drawArrays', 'clear']) {
    const original = WebGLRenderingContext.prototype[name];
    WebGLRenderingContext.prototype[name] = function (...args) {
      window.firstGl = window.firstGl || {};
      window.firstGl[name] = window.firstGl[name] || performance.now();
      return original.apply(this, args);
    };
  }
})();`;

async function firstFrameMs(url, call) {
  const page = await Chromium.open('about:blank');
  try {
    await page.send('Page.addScriptToEvaluateOnNewDocument', { source: FIRST_DRAW_HOOK });
    await page.send('Page.navigate', { url });
    return await waitFor('a first frame', () => page.evaluate(`window.firstGl && window.firstGl.${call}`), 60000);
  } finally {
    await page.close();
  }
}

// The first frame of a first visit, over the network, then of a second visit
// in the same browser, which the service worker answers from its cache.
async function cachedFirstFrameMs(url) {
  const page = await Chromium.open('about:blank');
  try {
    await page.send('Page.addScriptToEvaluateOnNewDocument', { source: FIRST_DRAW_HOOK });
    const visit = async () => {
      await page.send('Page.navigate', { url });
      return waitFor('a first frame', () => page.evaluate('window.firstGl && window.firstGl.drawArrays'), 60000);
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

const pages = {
  game: [`${base}/site/index.html`, 'drawArrays'],
  bare: [`${base}/figures/bare_window.html`, 'clear'],
};
const firstFrames = { game: [], bare: [] };
for (let i = 0; i < FIRST_FRAME_PAIRS; ++i) {
  // Alternating order, so a busy machine slows both alike.
  for (const which of i % 2 === 0 ? ['game', 'bare'] : ['bare', 'game']) {
    firstFrames[which].push(await firstFrameMs(...pages[which]));
  }
}
figures.firstFrame = { gameMs: firstFrames.game.map(Math.round), bareMs: firstFrames.bare.map(Math.round),
  medianGameMs: Math.round(median(firstFrames.game)), medianBareMs: Math.round(median(firstFrames.bare)) };

{
  const visits = [];
  for (let i = 0; i < FIRST_FRAME_PAIRS; ++i) visits.push(await cachedFirstFrameMs(`${base}/site/index.html`));
  figures.firstFrameCached = { networkMs: visits.map((v) => Math.round(v.network)),
    cacheMs: visits.map((v) => Math.round(v.cache)),
    medianNetworkMs: Math.round(median(visits.map((v) => v.network))),
    medianCacheMs: Math.round(median(visits.map((v) => v.cache))) };
}

figures.frameTimes = {};
for (const ratio of [1, 2]) {
  const page = await Chromium.open(`${base}/figures/web_drawing_bench.html`, { width: 1280, height: 1000, ratio });
  await waitFor('the drawing benchmark', () => page.console.includes('done'), 300000);
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
