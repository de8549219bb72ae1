// webkit_test.mjs: a shorter game in WebKit, the engine of Safari on iPads
// and Macs: WebKitGTK's MiniBrowser driven by WebKitWebDriver over plain
// WebDriver (HTTP and JSON), under the X server in DISPLAY. Plays the title,
// into play, a colour, a stroke and "le café": "le " typed on the keyboard,
// "café" written into the page's text field as an on-screen keyboard does.
//
// Usage: node webkit_test.mjs URL SHOTS_DIR   (DISPLAY set)
import { spawn } from 'node:child_process';
import { createServer } from 'node:net';
import { writeFileSync } from 'node:fs';
import { join } from 'node:path';
import { sleep, waitFor } from './chromium.mjs';
import { decodePng } from './png.mjs';
import * as game from './game.mjs';
import { check } from './game.mjs';

const [url, shotsDir] = process.argv.slice(2);
const MINIBROWSER = '/usr/lib/x86_64-linux-gnu/webkit2gtk-4.1/MiniBrowser';

const freePort = () => new Promise((resolve) => {
  const server = createServer().listen(0, '127.0.0.1', () => {
    const { port } = server.address();
    server.close(() => resolve(port));
  });
});

const port = await freePort();
const driver = spawn('WebKitWebDriver', [`--port=${port}`], { stdio: 'ignore' });
const base = `http://127.0.0.1:${port}`;
let session;

async function call(method, path, body) {
  const response = await fetch(`${base}${path}`, {
    method, headers: { 'Content-Type': 'application/json' },
    body: body === undefined ? undefined : JSON.stringify(body),
  });
  const data = await response.json();
  if (!response.ok) throw new Error(`${method} ${path}: ${JSON.stringify(data.value)}`);
  return data.value;
}
const page = (method, path, body) => call(method, `/session/${session}${path}`, body);
const run = (script) => page('POST', '/execute/sync', { script, args: [] });

// Canvas pixel (x, y) as a point of the page's viewport.
async function viewportPoint(x, y) {
  return run(`const r = document.getElementById('canvas').getBoundingClientRect();
    return [Math.round(r.left + ${x} * r.width / ${game.WINDOW_WIDTH}), Math.round(r.top + ${y} * r.height / ${game.WINDOW_HEIGHT})];`);
}

// Moves the mouse through canvas pixels `points` with the left button held
// from the first to the last; one point is a click.
async function drag(points) {
  const actions = [];
  for (const [i, point] of points.entries()) {
    const [x, y] = await viewportPoint(...point);
    actions.push({ type: 'pointerMove', duration: 0, origin: 'viewport', x, y });
    if (i === 0) actions.push({ type: 'pointerDown', button: 0 });
    actions.push({ type: 'pause', duration: 100 });
  }
  actions.push({ type: 'pointerUp', button: 0 });
  await page('POST', '/actions', { actions: [{ type: 'pointer', id: 'mouse', parameters: { pointerType: 'mouse' }, actions }] });
  await sleep(300);
}

async function type(text) {
  const actions = [];
  for (const ch of text) actions.push({ type: 'keyDown', value: ch }, { type: 'keyUp', value: ch });
  await page('POST', '/actions', { actions: [{ type: 'key', id: 'keyboard', actions }] });
  await sleep(300);
}

// The page as shown, and its canvas's pixels: an element's screen shot of a
// WebGL canvas comes back black in WebKitGTK, the page's does not.
async function canvasShot() {
  const png = Buffer.from(await page('GET', '/screenshot'), 'base64');
  const full = decodePng(png);
  const [left, top] = await viewportPoint(0, 0);
  return { png, at: (x, y) => full.at(left + x, top + y) };
}

const shows = (...rest) => game.shows(canvasShot, ...rest);
const showsImage = (name) => game.showsImage(canvasShot, name);

try {
  console.log('WebKit: title, into play, a colour, a stroke and "café"');
  await waitFor('WebKitWebDriver', () => fetch(`${base}/status`).then((r) => r.ok, () => false));
  ({ sessionId: session } = await call('POST', '/session', {
    capabilities: { alwaysMatch: { 'webkitgtk:browserOptions': { binary: MINIBROWSER, args: ['--automation'] } } },
  }));
  await page('POST', '/window/rect', { width: 1280, height: 960 }).catch(() => {});
  await page('POST', '/url', { url });
  // WebDriver reads no console: the page's lines are kept where it can ask.
  await run(`window.gameLines = []; const log = console.log;
    console.log = (...words) => { window.gameLines.push(words.join(' ')); log(...words); };`);
  await waitFor('the title', () => run('return document.getElementById("status").style.display === "none";'), 60000);
  writeFileSync(join(shotsDir, 'webkit-title.png'), (await canvasShot()).png);
  await showsImage('titlescreen.png');
  for (const name of ['instructions.png', 'instructions2.png', 'player1drawing.png']) {
    await drag([game.ADVANCE]);
    await showsImage(name);
  }
  await drag([game.RED_CELL]);
  await drag(game.PLAYER1_STROKE);
  await shows([[300, 300], [400, 350]], game.RED, 'the red stroke');
  await drag([game.DONE]);
  await showsImage('player1typing.png');
  check(await run('return document.activeElement.id === "text-entry";'), 'the text field has the focus while typing');
  await type('le ');
  await run('document.execCommand("insertText", false, "café");');
  await sleep(300);
  const shot = await canvasShot();
  writeFileSync(join(shotsDir, 'webkit-typed.png'), shot.png);
  game.checkAccent(shot);
  const lines = (await run('return window.gameLines;')).filter((line) => game.gameLines([line]).length);
  const expected = [game.pressLine(...game.RED_CELL), game.pressLine(...game.PLAYER1_STROKE[0]), game.pressLine(...game.DONE), 'in bounds'];
  check(JSON.stringify(lines) === JSON.stringify(expected), `console lines ${JSON.stringify(lines)}`);
} catch (error) {
  check(false, `the WebKit game ran: ${error.message}`);
} finally {
  if (session) await call('DELETE', `/session/${session}`).catch(() => {});
  driver.kill('SIGTERM');
}
game.finish('WebKit test');
