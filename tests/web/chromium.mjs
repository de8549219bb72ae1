// chromium.mjs: a headless Chromium driven over the DevTools protocol, for the
// browser tests and the web figures. Starts one browser with a fresh profile,
// opens one page, and sends it real mouse, touch and key input; closed by
// close().
import { spawn } from 'node:child_process';
import { createRequire } from 'node:module';
import { mkdtempSync, readFileSync, rmSync, existsSync } from 'node:fs';
import { tmpdir } from 'node:os';
import { join } from 'node:path';
// Only read inside functions, so the two modules may import each other.
import { WINDOW_WIDTH, WINDOW_HEIGHT } from './game.mjs';

// Node's own WebSocket client, which talks to Chromium, is missing from node
// 18 (Debian 12) and behind a flag in node 20 (Debian 13); Debian's node-ws
// serves both.
const WebSocketClient = globalThis.WebSocket ?? createRequire(import.meta.url)('ws');

const START_TIMEOUT_MS = 60000; // a busy two-core machine may take this long

const POLL_MS = 100;

// Browsers still open when node exits, a failed test included, are ended with it.
const openBrowsers = new Set();
process.on('exit', () => openBrowsers.forEach((browser) => browser.kill('SIGKILL')));

// Run in every page before its own scripts: whatever a page connects to its
// speakers also feeds an analyser, so that speakerLevel() hears what a
// player would, while Chromium itself stays muted.
const SPEAKER_TAP = `(() => {
  const connect = AudioNode.prototype.connect;
  const taps = new Map();
  AudioNode.prototype.connect = function (target, ...rest) {
    if (target instanceof AudioDestinationNode) {
      if (!taps.has(target.context)) taps.set(target.context, target.context.createAnalyser());
      connect.call(this, taps.get(target.context));
    }
    return connect.call(this, target, ...rest);
  };
  window.quillorySpeakerLevel = () => Math.max(0, ...[...taps.values()].map((tap) => {
    const samples = new Float32Array(tap.fftSize);
    tap.getFloatTimeDomainData(samples);
    return Math.max(...samples.map(Math.abs));
  }));
})();`;

export const sleep = (ms) => new Promise((resolve) => setTimeout(resolve, ms));

// Waits until `probe` returns something other than undefined/false, or throws
// `what`; a probe that throws (the page still loading) counts as not yet.
export async function waitFor(what, probe, timeoutMs = START_TIMEOUT_MS) {
  const deadline = Date.now() + timeoutMs;
  for (;;) {
    const value = await Promise.resolve().then(probe).catch(() => undefined);
    if (value !== undefined && value !== false && value !== null) return value;
    if (Date.now() > deadline) throw new Error(`timed out waiting for ${what}`);
    await sleep(POLL_MS);
  }
}

export class Chromium {
  // Starts Chromium with software WebGL and opens `url`; `touch` makes it a
  // touch screen, `languages` (such as "fr-FR,fr") its user's languages,
  // `mobile` a phone's or tablet's browser with `ratio` device pixels a CSS
  // pixel; `webgl` false, a browser without WebGL.
  static async open(url, { touch = false, width = WINDOW_WIDTH, height = WINDOW_HEIGHT, languages = 'en-US,en',
                           mobile = false, ratio = 1, webgl = true } = {}) {
    const profile = mkdtempSync(join(tmpdir(), 'quillory-chromium-'));
    // No GPU: the compositor works in software and WebGL in SwiftShader.
    // Asked for as a GL (--use-gl=swiftshader), which Chromium 156 lacks,
    // its GPU process fails to start and is started again, and a page's
    // WebGL context made meanwhile is lost, at times for good.
    const args = [
      '--headless', '--no-sandbox', '--disable-gpu', '--enable-unsafe-swiftshader',
      '--disable-quic', '--no-first-run', '--disable-background-networking',
      '--disable-component-update', '--disable-sync', '--mute-audio',
      '--autoplay-policy=user-gesture-required', `--window-size=${width},${height}`,
      `--accept-lang=${languages}`, `--user-data-dir=${profile}`, '--remote-debugging-port=0',
      ...(webgl ? [] : ['--disable-webgl']), 'about:blank',
    ];
    const browser = spawn('chromium', args, { stdio: ['ignore', 'ignore', 'pipe'] });
    openBrowsers.add(browser);
    browser.once('exit', () => openBrowsers.delete(browser));
    let stderr = '';
    browser.stderr.on('data', (chunk) => { stderr = (stderr + chunk).slice(-4000); });
    const portFile = join(profile, 'DevToolsActivePort');
    let pages;
    try {
      const port = await waitFor('Chromium\'s DevTools port', () =>
        existsSync(portFile) && readFileSync(portFile, 'utf8').split('\n')[0]);
      pages = await waitFor('a page', async () => {
        const list = await (await fetch(`http://127.0.0.1:${port}/json/list`)).json();
        return list.find((t) => t.type === 'page');
      });
    } catch (error) {
      browser.kill('SIGKILL');
      throw new Error(`${error.message}; Chromium's last words: ${stderr}`);
    }
    const page = new Chromium(browser, profile);
    await page.connect(pages.webSocketDebuggerUrl);
    await page.send('Runtime.enable');
    await page.send('Page.enable');
    page.ratio = ratio;
    page.mobile = mobile;
    await page.resize(width, height);
    if (touch) {
      await page.send('Emulation.setTouchEmulationEnabled', { enabled: true, maxTouchPoints: 5 });
    }
    await page.send('Page.addScriptToEvaluateOnNewDocument', { source: SPEAKER_TAP });
    await page.send('Page.navigate', { url });
    return page;
  }

  constructor(browser, profile) {
    this.browser = browser;
    this.profile = profile;
    this.nextId = 1;
    this.pending = new Map();
    this.console = []; // every console line the page wrote, in order
    this.exceptions = [];
  }

  connect(url) {
    this.socket = new WebSocketClient(url);
    this.socket.onmessage = (message) => {
      const data = JSON.parse(message.data);
      if (data.id && this.pending.has(data.id)) {
        const { resolve, reject } = this.pending.get(data.id);
        this.pending.delete(data.id);
        if (data.error) reject(new Error(JSON.stringify(data.error)));
        else resolve(data.result);
      } else if (data.method === 'Runtime.consoleAPICalled') {
        this.console.push(data.params.args.map((a) => a.value ?? a.description ?? '').join(' '));
      } else if (data.method === 'Runtime.exceptionThrown') {
        this.exceptions.push(data.params.exceptionDetails.exception?.description ??
          data.params.exceptionDetails.text);
      }
    };
    return new Promise((resolve, reject) => {
      this.socket.onopen = resolve;
      this.socket.onerror = () => reject(new Error(`cannot reach ${url}`));
    });
  }

  // Gives the emulated screen `width` x `height` CSS pixels (a device turned,
  // or an on-screen keyboard taking some).
  resize(width, height) {
    return this.send('Emulation.setDeviceMetricsOverride',
      { width, height, deviceScaleFactor: this.ratio, mobile: this.mobile });
  }

  send(method, params = {}) {
    const id = this.nextId++;
    this.socket.send(JSON.stringify({ id, method, params }));
    return new Promise((resolve, reject) => this.pending.set(id, { resolve, reject }));
  }

  // The value of a JavaScript expression in the page (promises awaited).
  async evaluate(expression) {
    const result = await this.send('Runtime.evaluate',
      { expression, returnByValue: true, awaitPromise: true });
    if (result.exceptionDetails) throw new Error(`${expression}: ${result.exceptionDetails.text}`);
    return result.result.value;
  }

  // The loudest sample the page's speakers got in the last few hundredths of
  // a second, as a fraction of full scale.
  speakerLevel() {
    return this.evaluate('window.quillorySpeakerLevel()');
  }

  // Waits until the game runs: the page hides its download progress then.
  gameStarted() {
    return waitFor('the game to start',
      () => this.evaluate('document.getElementById("status").style.display === "none"'), 2 * START_TIMEOUT_MS);
  }

  // Lets the page draw `count` frames.
  frames(count = 2) {
    return this.evaluate(`new Promise((done) => { let n = ${count};
      const step = () => (--n <= 0 ? done(true) : requestAnimationFrame(step));
      requestAnimationFrame(step); })`);
  }

  // The page point of canvas pixel (x, y), the canvas being scaled by the page.
  async pagePoint(x, y) {
    return this.evaluate(`(() => { const r = document.getElementById('canvas').getBoundingClientRect();
      return { x: r.left + ${x} * r.width / ${WINDOW_WIDTH}, y: r.top + ${y} * r.height / ${WINDOW_HEIGHT} }; })()`);
  }

  async mouse(type, x, y, buttons = 0) {
    const p = await this.pagePoint(x, y);
    await this.send('Input.dispatchMouseEvent', {
      type, x: p.x, y: p.y, button: type === 'mouseMoved' && buttons === 0 ? 'none' : 'left',
      buttons, clickCount: type === 'mouseMoved' ? 0 : 1,
    });
  }

  // A left click at canvas pixel (x, y), the pointer arriving there first.
  async click(x, y) {
    await this.mouse('mouseMoved', x, y);
    await this.mouse('mousePressed', x, y, 1);
    await this.mouse('mouseReleased', x, y, 0);
    await this.frames();
  }

  // Drags the left button through canvas pixels `points`, a frame between steps.
  async drag(points) {
    await this.mouse('mouseMoved', ...points[0]);
    await this.mouse('mousePressed', ...points[0], 1);
    for (const point of points.slice(1)) {
      await this.mouse('mouseMoved', ...point, 1);
      await this.frames(1);
    }
    await this.mouse('mouseReleased', ...points[points.length - 1], 0);
    await this.frames();
  }

  async touch(type, x, y) {
    const p = await this.pagePoint(x, y);
    await this.send('Input.dispatchTouchEvent', {
      type, touchPoints: type === 'touchEnd' ? [] : [{ x: p.x, y: p.y, id: 1 }],
    });
  }

  // Draws with one finger through canvas pixels `points`; one point is a tap.
  async touchDrag(points) {
    await this.touch('touchStart', ...points[0]);
    await this.frames(1);
    for (const point of points.slice(1)) {
      await this.touch('touchMove', ...point);
      await this.frames(1);
    }
    await this.touch('touchEnd', ...points[points.length - 1]);
    await this.frames();
  }

  // Writes `text` as an on-screen keyboard does: input events, no keys.
  async insertText(text) {
    await this.send('Input.insertText', { text });
    await this.frames();
  }

  // Composes `steps` with an input method, each step replacing the last, then
  // commits the last.
  async compose(steps) {
    for (const text of steps) {
      await this.send('Input.imeSetComposition', { text, selectionStart: text.length, selectionEnd: text.length });
    }
    await this.insertText(steps[steps.length - 1]);
  }

  // Deletes one character before the caret as an Android keyboard does: a
  // key no one can identify (code 229), then the editing command.
  async deleteAsOnScreen() {
    await this.send('Input.dispatchKeyEvent', { type: 'rawKeyDown', key: 'Unidentified',
      windowsVirtualKeyCode: 229, commands: ['deleteBackward'] });
    await this.send('Input.dispatchKeyEvent', { type: 'keyUp', key: 'Unidentified', windowsVirtualKeyCode: 229 });
    await this.frames();
  }

  // Types `text` one key at a time, as a keyboard would; "\b" is Backspace.
  async type(text) {
    for (const ch of text) {
      const key = ch === '\b' ? 'Backspace' : ch;
      const named = key.length > 1;
      await this.send('Input.dispatchKeyEvent', {
        type: named ? 'rawKeyDown' : 'keyDown', key, text: named ? undefined : ch,
        windowsVirtualKeyCode: named ? 8 : 0,
      });
      await this.send('Input.dispatchKeyEvent', { type: 'keyUp', key });
    }
    await this.frames();
  }

  // The canvas as a PNG of the game's window size, taken from the screen shot
  // the compositor made (so it is what a player sees), scaled back when the
  // page shrinks it or the screen has more device pixels; at the screen's own
  // pixels with `devicePixels`.
  async canvasPixels({ devicePixels = false } = {}) {
    const box = await this.evaluate(`(() => { const r = document.getElementById('canvas').getBoundingClientRect();
      return { x: r.left, y: r.top, width: r.width, height: r.height }; })()`);
    const { data } = await this.send('Page.captureScreenshot', {
      format: 'png', clip: { ...box, scale: devicePixels ? 1 : WINDOW_WIDTH / box.width / this.ratio },
    });
    return Buffer.from(data, 'base64');
  }

  // Drags the left button through canvas pixels `points` in one go, with
  // mouse events made by the page itself: Chromium would merge real moves
  // this fast into one a frame, and a long scribble takes a second.
  async scribble(points) {
    await this.evaluate(`(() => {
      const canvas = document.getElementById('canvas');
      const r = canvas.getBoundingClientRect();
      const send = (type, [x, y], buttons) => canvas.dispatchEvent(new MouseEvent(type, { bubbles: true,
        cancelable: true, clientX: r.left + x * r.width / 1024, clientY: r.top + y * r.height / 768, buttons }));
      const points = ${JSON.stringify(points)};
      send('mousedown', points[0], 1);
      for (const point of points.slice(1)) send('mousemove', point, 1);
      send('mouseup', points[points.length - 1], 0);
    })()`);
    await this.frames();
  }

  // Has the browser take the canvas's WebGL context away, as a tablet does
  // short of memory, and give it back; then lets the page draw.
  async loseAndRestoreContext() {
    await this.evaluate(`new Promise((done) => {
      const canvas = document.getElementById('canvas');
      const lose = canvas.getContext('webgl').getExtension('WEBGL_lose_context');
      canvas.addEventListener('webglcontextlost', () => setTimeout(() => lose.restoreContext()), { once: true });
      canvas.addEventListener('webglcontextrestored', () => done(true), { once: true });
      lose.loseContext();
    })`);
    await this.frames(3);
  }

  async close() {
    try { this.socket?.close(); } catch { /* already closed */ }
    this.browser.kill('SIGTERM');
    await new Promise((resolve) => (this.browser.exitCode !== null ? resolve() : this.browser.once('exit', resolve)));
    // Chromium's helper processes may go on writing the profile for a moment
    // after the browser exits; a profile still busy after that is left to /tmp.
    await sleep(500);
    try {
      rmSync(this.profile, { recursive: true, force: true, maxRetries: 20, retryDelay: 250 });
    } catch (error) {
      console.log(`(left Chromium's profile ${this.profile}: ${error.code})`);
    }
  }
}
