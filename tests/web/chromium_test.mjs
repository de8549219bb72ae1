// chromium_test.mjs: the browser build played in headless Chromium with real
// input events. Two games: the whole game with mouse and keyboard, as the
// desktop end-to-end test plays it, plus a second round, accented answers, a
// scribble big enough that still frames are drawn from a copy of the canvas,
// and a WebGL context lost and given back mid-turn, before which a browser
// without WebGL is told so; and a touch-only game on
// a smaller, scaled-down canvas; a turn of each player on an emulated tablet,
// answers written through its on-screen keyboard; a phone turned upright and
// back. Then the start of the game in a French browser, and in the same
// browser with ?lang=es; and the folder served from a subpath, installable,
// and played again with its server stopped.
//
// Usage: node chromium_test.mjs URL SHOTS_DIR FOLDER   (FOLDER: the web folder URL serves)
// Prints a line per step; exits 1 with the failed checks listed.
import { readFileSync, writeFileSync } from 'node:fs';
import { createServer } from 'node:http';
import { extname, join, normalize } from 'node:path';
import { Chromium, sleep, waitFor } from './chromium.mjs';
import { decodePng } from './png.mjs';
import * as game from './game.mjs';
import { check } from './game.mjs';

const [url, shotsDir, folder] = process.argv.slice(2);
// A sample this loud (-40 dBFS) from the speakers is heard, and the music
// is heard this long after the first click at the latest.
const MUSIC_LEVEL = 0.01;
const MUSIC_TIMEOUT_MS = 10000;
// Where player 2 scribbles, in canvas pixels, clear of the other strokes.
const SCRIBBLE_LEFT = 60;
const SCRIBBLE_RIGHT = 480;
const SCRIBBLE_TOP = 280;
const SCRIBBLE_BOTTOM = 496;
const SCRIBBLE_STEP = 6; // over the pen's least spacing
const AFTER_LOSS_STROKE_END = 540; // canvas row, below the scribble

// The checks on a page's canvas, as a player sees it.
const shows = (page, ...rest) => game.shows(async () => decodePng(await page.canvasPixels()), ...rest);
const showsImage = (page, ...rest) => game.showsImage(async () => decodePng(await page.canvasPixels()), ...rest);

async function save(page, name) {
  writeFileSync(join(shotsDir, name), await page.canvasPixels());
}

// The title the game shows is the one the page decoded, taken over once.
async function titleDecodedByPage(page) {
  const handedOver = await page.evaluate(`performance.getEntriesByName('quillory:title-decoded-by-page').length +
                                          ' ' + Module.decodedPictures.size`);
  check(handedOver === '1 0', `the title shown is the one the page decoded (marks, pictures left: ${handedOver})`);
}

async function wholeGame() {
  console.log('Chromium: a whole game with mouse and keyboard');
  // A window larger than the canvas, which then shows at its own size, centred.
  const page = await Chromium.open(url, { width: 1280, height: 960 });
  const expected = [];
  const press = async (point, onDone = false) => {
    await page.click(...point);
    expected.push(game.pressLine(...point));
    if (onDone) expected.push('in bounds');
  };
  const stroke = async (points) => {
    expected.push(game.pressLine(...points[0]));
    await page.drag(points);
  };
  try {
    await page.gameStarted();
    await showsImage(page, 'titlescreen.png');
    await save(page, 'title.png');
    await titleDecodedByPage(page);
    const depth = await page.evaluate('Module.ctx.getContextAttributes().depth');
    check(depth === false, `the game's drawing buffer has no depth buffer (${depth})`);
    await page.click(...game.ADVANCE);
    await showsImage(page, 'instructions.png');
    await page.click(...game.ADVANCE);
    await showsImage(page, 'instructions2.png');
    await page.click(...game.ADVANCE);
    await showsImage(page, 'player1drawing.png');
    check(game.gameLines(page.console).length === 0, 'screen changes write nothing');

    // Player 1 draws in red and describes the picture; a held key types once.
    await press(game.RED_CELL);
    await stroke(game.PLAYER1_STROKE);
    await shows(page, [[300, 300], [400, 350]], game.RED, 'the red stroke');
    await shows(page, [[300, 330]], game.WHITE, 'beside the stroke');
    await save(page, 'drawing.png');
    await press(game.DONE, true);
    await showsImage(page, 'player1typing.png');
    await shows(page, [[300, 300]], game.RED, 'the picture while typing');
    await page.type('a catt\b');
    await page.send('Input.dispatchKeyEvent', { type: 'keyDown', key: 'x', text: 'x', autoRepeat: false });
    await page.send('Input.dispatchKeyEvent', { type: 'keyDown', key: 'x', text: 'x', autoRepeat: true });
    await page.send('Input.dispatchKeyEvent', { type: 'keyUp', key: 'x' });
    await page.type('\b');
    await press(game.DONE, true);

    // Player 2 sees player 1's answer, draws in blue and answers with accents.
    await showsImage(page, 'player2start.png');
    await press(game.START);
    await showsImage(page, 'player2drawing.png');
    await shows(page, [[300, 300]], game.WHITE, 'player 2\'s own picture is empty');
    let shot = decodePng(await page.canvasPixels());
    check(game.darkPixels(shot, game.ROW_LEFT, game.ROW_TOP, game.ROW_LEFT + 5 * game.CHARACTER_WIDTH, game.ROW_BOTTOM) > 20 &&
          game.darkPixels(shot, game.ROW_LEFT + 5 * game.CHARACTER_WIDTH, game.ROW_TOP, 700, game.ROW_BOTTOM) === 0,
          'player 1\'s answer shows as five characters ("a cat": held x typed once, then erased)');
    await press(game.BLUE_CELL);
    await stroke(game.PLAYER2_STROKE);
    await shows(page, [[550, 200]], game.SKY_BLUE, 'the blue stroke');

    // A scribble of some 2,500 segments, rows 6 pixels apart: a picture big
    // enough that the browser module draws its still frames from a copy. It
    // starts where the start screens are pressed, which has a known line.
    const points = [game.START];
    for (let y = SCRIBBLE_TOP, row = 0; y <= SCRIBBLE_BOTTOM; y += SCRIBBLE_STEP, ++row) {
      for (let i = 0, x = SCRIBBLE_LEFT; x <= SCRIBBLE_RIGHT; ++i, x += SCRIBBLE_STEP) {
        points.push([row % 2 === 0 ? x : SCRIBBLE_RIGHT - i * SCRIBBLE_STEP, y]);
      }
    }
    expected.push(game.pressLine(...game.START));
    await page.scribble(points);
    await page.frames(5);
    await showsImage(page, 'player2drawing.png');
    await shows(page, [[SCRIBBLE_LEFT, SCRIBBLE_TOP], [SCRIBBLE_RIGHT, SCRIBBLE_BOTTOM], [550, 200]],
      game.SKY_BLUE, 'the scribble and the blue stroke');
    await shows(page, [[SCRIBBLE_LEFT - 15, SCRIBBLE_TOP], [SCRIBBLE_RIGHT + 15, SCRIBBLE_BOTTOM]], game.WHITE,
      'beside the scribble');

    // The browser takes WebGL away mid-turn and gives it back: the screen,
    // both players' work and the chosen colour come back, and drawing goes on.
    const beforeLoss = decodePng(await page.canvasPixels());
    await page.loseAndRestoreContext();
    const restored = decodePng(await page.canvasPixels());
    await save(page, 'context-restored.png');
    let changed = 0;
    for (let y = 0; y < restored.height; ++y) {
      for (let x = 0; x < restored.width; ++x) changed += game.near(restored.at(x, y), beforeLoss.at(x, y)) ? 0 : 1;
    }
    check(changed === 0, `the screen is drawn as before the context was lost (${changed} pixels differ)`);
    await press(game.RED_CELL);
    await stroke([game.START, [game.START[0], AFTER_LOSS_STROKE_END]]);
    await shows(page, [[game.START[0], SCRIBBLE_BOTTOM - SCRIBBLE_STEP], [game.START[0], AFTER_LOSS_STROKE_END - SCRIBBLE_STEP]],
      game.RED, 'a red stroke drawn after the context came back, over the scribble and below it');
    await press(game.DONE, true);
    await showsImage(page, 'player2typing.png');
    await page.type('le café, Ünß!');
    shot = decodePng(await page.canvasPixels());
    await save(page, 'typed.png');
    game.checkAccent(shot);
    check(game.darkPixels(shot, game.ROW_LEFT + 12 * game.CHARACTER_WIDTH, game.ROW_TOP, game.ROW_LEFT + 13 * game.CHARACTER_WIDTH, game.ROW_BOTTOM) > 5 &&
          game.darkPixels(shot, game.ROW_LEFT + 13 * game.CHARACTER_WIDTH, game.ROW_TOP, 700, game.ROW_BOTTOM) === 0,
          'the answer is 13 characters long, "!" last (Shift+1 types "!")');
    await press(game.DONE, true);

    // A second round: player 1 adds an orange stroke to the same picture.
    await showsImage(page, 'player1start.png');
    await press(game.START);
    await showsImage(page, 'player1drawing.png');
    await shows(page, [[300, 300]], game.RED, 'player 1\'s picture from the first round');
    await press(game.ORANGE_CELL);
    await stroke(game.SECOND_ROUND_STROKE);
    await shows(page, [[275, 450]], game.ORANGE, 'the orange stroke');
    await press(game.DONE, true);
    await showsImage(page, 'player1typing.png');
    await press(game.DONE, true);

    // Game over from player 2's start screen, with both pictures.
    await showsImage(page, 'player2start.png');
    await press(game.GAME_OVER);
    await showsImage(page, 'gameover.png', game.GAME_OVER_PROBES);
    await shows(page, [game.gameOverPixel(1, 300, 300)], game.RED, 'player 1\'s red stroke at 60 %');
    await shows(page, [game.gameOverPixel(1, 275, 450)], game.ORANGE, 'player 1\'s orange stroke at 60 %');
    await shows(page, [game.gameOverPixel(2, 550, 200)], game.SKY_BLUE, 'player 2\'s blue stroke at 60 %');
    await save(page, 'gameover.png');

    // The music started with the first click, as browsers allow, and plays on.
    const heard = await waitFor('the music', async () => (await page.speakerLevel()) >= MUSIC_LEVEL,
      MUSIC_TIMEOUT_MS).catch(() => false);
    check(heard, 'the music plays');

    // Behind another app or tab the music pauses, and goes on on return.
    const showPage = (hidden) => page.evaluate(`Object.defineProperty(document, 'hidden',
      { configurable: true, get: () => ${hidden} }); document.dispatchEvent(new Event('visibilitychange'));
      new Promise((done) => setTimeout(() => done(Module.SDL2.audioContext.state), 200))`);
    const hiddenState = await showPage(true);
    check(hiddenState === 'suspended', `the music pauses while the page is hidden (${hiddenState})`);
    const shownState = await showPage(false);
    check(shownState === 'running' && await waitFor('the music again',
      async () => (await page.speakerLevel()) >= MUSIC_LEVEL, MUSIC_TIMEOUT_MS).catch(() => false),
      `the music plays again when the page shows (${shownState})`);

    // Game over takes no more input.
    await page.click(...game.DONE);
    await page.type('x');
    const lines = game.gameLines(page.console);
    check(JSON.stringify(lines) === JSON.stringify(expected),
          `console lines are the desktop's (${lines.length} of ${expected.length})`);
    if (JSON.stringify(lines) !== JSON.stringify(expected)) {
      console.log(`  expected: ${JSON.stringify(expected)}\n  got:      ${JSON.stringify(lines)}`);
    }
    check(page.exceptions.length === 0, `no page errors ${JSON.stringify(page.exceptions)}`);
    const fetched = await page.evaluate('performance.getEntriesByType("resource").map((r) => r.name)');
    check(!fetched.some((name) => /\/(languages|images\/[^/]+)\//.test(name)),
          `an English player fetches no language's files (${fetched.length} files fetched)`);
  } finally {
    await page.close();
  }
}

async function touchGame() {
  console.log('Chromium: a touch-only game on an 800 x 600 screen');
  const page = await Chromium.open(url, { width: 800, height: 600, touch: true });
  try {
    await page.gameStarted();
    const width = await page.evaluate('document.getElementById("canvas").getBoundingClientRect().width');
    check(width === 800, `the canvas is scaled down to the screen (${width} pixels wide)`);
    for (const name of ['titlescreen.png', 'instructions.png', 'instructions2.png']) {
      await showsImage(page, name);
      await page.touchDrag([game.ADVANCE]);
    }
    await showsImage(page, 'player1drawing.png');
    // Taps land where the finger is: the colour cell, then the canvas.
    await page.touchDrag([game.BLUE_CELL]);
    await page.touchDrag([[200, 250], [300, 250], [400, 250], [400, 350]]);
    await shows(page, [[300, 250], [400, 300]], game.SKY_BLUE, 'the stroke drawn by touch');
    await shows(page, [[300, 280]], game.WHITE, 'beside the touch stroke');
    await save(page, 'touch.png');
    await page.touchDrag([game.DONE]);
    await showsImage(page, 'player1typing.png');
    const lines = game.gameLines(page.console);
    check(lines.length === 4 && lines[3] === 'in bounds', `taps write their lines ${JSON.stringify(lines)}`);
    check(page.exceptions.length === 0, `no page errors ${JSON.stringify(page.exceptions)}`);
  } finally {
    await page.close();
  }
}

// A tablet held sideways, touch only, at two device pixels a CSS pixel.
const TABLET = { width: 1180, height: 820, touch: true, mobile: true, ratio: 2 };
const TABLET_KEYBOARD_HEIGHT = 400; // CSS pixels an on-screen keyboard covers

// Points where every screen is one colour a few pixels around, so that its
// picture, scaled up to the tablet's pixels, shows there its own colour.
const FLAT_PROBES = [[10, 10], [990, 600], [10, 300], [1015, 400]];
// The tablet's canvas in window pixels, each the device pixel at its corner.
const tabletShot = async (page) => {
  const shot = decodePng(await page.canvasPixels({ devicePixels: true }));
  const scale = shot.width / game.WINDOW_WIDTH;
  return { at: (x, y) => shot.at(Math.floor(scale * x), Math.floor(scale * y)) };
};
const typingInField = (page) => page.evaluate('document.activeElement?.id === "text-entry"');

// A turn of each player on the tablet. Player 1 writes "le café dog" through
// the on-screen keyboard (text, then a composition), deletes "og" there and
// types "o" on an attached keyboard: "le café do".
async function tabletGame() {
  console.log('Chromium: a turn of each player on a 1180 x 820 tablet at ratio 2, typed on screen');
  const page = await Chromium.open(url, TABLET);
  try {
    await page.gameStarted();
    const buffer = await page.evaluate('[canvas.width, canvas.height, canvas.getBoundingClientRect().width]');
    const sharp = [2 * game.WINDOW_WIDTH, 2 * game.WINDOW_HEIGHT, game.WINDOW_WIDTH];
    check(JSON.stringify(buffer) === JSON.stringify(sharp),
          `the canvas shows the window's width in CSS pixels, twice its size in device pixels (${buffer})`);
    for (let i = 0; i < 3; ++i) await page.touchDrag([game.ADVANCE]);
    await game.showsImage(() => tabletShot(page), 'player1drawing.png', FLAT_PROBES);
    await page.touchDrag([game.RED_CELL]);
    await page.touchDrag([[200, 300], [300, 300], [400, 300]]);
    await game.shows(() => tabletShot(page), [[300, 300]], game.RED, 'the stroke at ratio 2');
    writeFileSync(join(shotsDir, 'tablet-stroke-ratio2.png'), await page.canvasPixels({ devicePixels: true }));
    await page.touchDrag([game.DONE]);
    await game.showsImage(() => tabletShot(page), 'player1typing.png', FLAT_PROBES);
    check(await typingInField(page), 'the text field has the focus while typing');

    // The keyboard comes up over the lower part of the screen.
    await page.resize(TABLET.width, TABLET.height - TABLET_KEYBOARD_HEIGHT);
    const inView = await waitFor('the canvas above the keyboard', () => page.evaluate(`(() => {
      const r = canvas.getBoundingClientRect();
      return r.top >= 0 && r.bottom <= visualViewport.height && r.right <= visualViewport.width;
    })()`), 10000).catch(() => false);
    check(inView, 'the whole canvas, answer rows and Done, stays in view above the keyboard');
    await page.insertText('le café');
    await page.compose([' d', ' do', ' dog']);
    await page.deleteAsOnScreen();
    await page.deleteAsOnScreen();
    await page.type('o');
    // The player closes the keyboard.
    await page.resize(TABLET.width, TABLET.height);
    await page.frames();
    writeFileSync(join(shotsDir, 'tablet-typed.png'), await page.canvasPixels({ devicePixels: true }));
    const shot = await tabletShot(page);
    game.checkAccent(shot);
    check(game.darkPixels(shot, game.ROW_LEFT + 9 * game.CHARACTER_WIDTH, game.ROW_TOP, game.ROW_LEFT + 10 * game.CHARACTER_WIDTH, game.ROW_BOTTOM) > 5 &&
          game.darkPixels(shot, game.ROW_LEFT + 10 * game.CHARACTER_WIDTH, game.ROW_TOP, 700, game.ROW_BOTTOM) === 0,
          'the answer is "le café do": composed once, deleted on screen, a key typed once');
    // Done, tapped with the keyboard up again, lands on Done.
    await page.resize(TABLET.width, TABLET.height - TABLET_KEYBOARD_HEIGHT);
    await page.frames();
    await page.touchDrag([game.DONE]);
    await game.showsImage(() => tabletShot(page), 'player2start.png', FLAT_PROBES);
    check(!(await typingInField(page)), 'the text field lets the focus go after Done');
    await page.resize(TABLET.width, TABLET.height);

    await page.touchDrag([game.START]);
    await page.touchDrag([game.BLUE_CELL]);
    await page.touchDrag([[500, 200], [600, 200]]);
    await page.touchDrag([game.DONE]);
    await game.showsImage(() => tabletShot(page), 'player2typing.png', FLAT_PROBES);
    check(await typingInField(page), 'player 2\'s answer has the text field too');
    await page.insertText('a hat');
    await page.touchDrag([game.DONE]);
    await game.showsImage(() => tabletShot(page), 'player1start.png', FLAT_PROBES);
    check(page.exceptions.length === 0, `no page errors ${JSON.stringify(page.exceptions)}`);
  } finally {
    await page.close();
  }
}

// A phone turned upright asks to be turned back, and shows the game as it was.
async function uprightPhone() {
  console.log('Chromium: a phone turned upright and back');
  const page = await Chromium.open(url, { width: 844, height: 390, touch: true, mobile: true });
  try {
    await page.gameStarted();
    await page.touchDrag([game.ADVANCE]);
    await showsImage(page, 'instructions.png');
    await page.resize(390, 844);
    const sentence = await waitFor('the sentence', () => page.evaluate(
      'document.getElementById("turn").offsetHeight > 0 && canvas.offsetWidth === 0 && document.getElementById("turn").textContent'), 10000)
      .catch(() => '');
    check(sentence === 'Turn the screen sideways to play Quillory.', `upright, the phone asks to be turned ("${sentence}")`);
    const { data } = await page.send('Page.captureScreenshot', { format: 'png' });
    writeFileSync(join(shotsDir, 'phone-upright.png'), Buffer.from(data, 'base64'));
    await page.resize(844, 390);
    await showsImage(page, 'instructions.png');
    check(page.exceptions.length === 0, `no page errors ${JSON.stringify(page.exceptions)}`);
  } finally {
    await page.close();
  }
}

// Serves FOLDER at PREFIX on 127.0.0.1, as a game portal serves an HTML5 zip;
// resolves to the server, whose `url` is the folder's address.
function serveFolder(prefix) {
  const types = { '.html': 'text/html', '.js': 'text/javascript', '.wasm': 'application/wasm',
    '.json': 'application/json', '.webmanifest': 'application/manifest+json', '.png': 'image/png' };
  const server = createServer((request, response) => {
    const path = normalize(decodeURIComponent(new URL(request.url, 'http://x').pathname));
    try {
      if (!path.startsWith(prefix)) throw new Error('outside');
      const file = join(folder, path.slice(prefix.length) || 'index.html');
      const body = readFileSync(file.endsWith('/') ? join(file, 'index.html') : file);
      response.writeHead(200, { 'Content-Type': types[extname(file)] ?? 'application/octet-stream' });
      response.end(body);
    } catch {
      response.writeHead(404).end();
    }
  });
  return new Promise((resolve) => server.listen(0, '127.0.0.1', () => {
    server.url = `http://127.0.0.1:${server.address().port}${prefix}`;
    resolve(server);
  }));
}

// The folder from a portal's subpath: installable with its icons, then
// played again with the server stopped.
async function offline() {
  console.log('Chromium: the folder from a subpath, installable, then with its server stopped');
  const server = await serveFolder('/portal/games/quillory/');
  const page = await Chromium.open(server.url);
  try {
    await page.gameStarted();
    const { installabilityErrors } = await page.send('Page.getInstallabilityErrors');
    check(installabilityErrors.length === 0, `installable (${JSON.stringify(installabilityErrors)})`);
    const icons = await page.evaluate(`fetch('manifest.webmanifest').then((r) => r.json()).then((m) =>
      Promise.all(m.icons.map((icon) => new Promise((done) => { const image = new Image();
        image.onload = () => done([icon.sizes, image.naturalWidth + 'x' + image.naturalHeight, icon.purpose]);
        image.onerror = () => done([icon.sizes, 'missing', icon.purpose]); image.src = icon.src; }))))`);
    check(icons.every(([sizes, actual]) => sizes === actual) && icons.some(([, , purpose]) => purpose === 'maskable'),
          `the manifest's icons are as large as it says, one maskable ${JSON.stringify(icons)}`);
    const kept = await waitFor('the service worker', () => page.evaluate(
      'navigator.serviceWorker.ready.then(() => !!navigator.serviceWorker.controller)'), 30000).catch(() => false);
    check(kept, 'a service worker keeps the folder');
    const otherLanguages = await page.evaluate(`caches.keys()
      .then((names) => Promise.all(names.map((name) => caches.open(name).then((cache) => cache.keys()))))
      .then((lists) => lists.flat().filter((request) => /\\/(images\\/[^/]+\\/|languages\\/)/.test(request.url)).length)`);
    check(otherLanguages === 0, `an English player's cache holds no other language's files (${otherLanguages})`);
    server.closeAllConnections();
    await new Promise((resolve) => server.close(resolve));
    // The page from the cache may start its game before a first look at its
    // status, so the new page is told from the old by a mark the old one has.
    await page.evaluate('window.beforeReload = true');
    await page.send('Page.navigate', { url: server.url });
    await waitFor('the page loaded again', () => page.evaluate('document.getElementById("status") && !window.beforeReload'));
    await page.gameStarted();
    await showsImage(page, 'titlescreen.png');
    await save(page, 'offline-title.png');
    await page.click(...game.ADVANCE);
    await showsImage(page, 'instructions.png');
    check(page.exceptions.length === 0, `no page errors ${JSON.stringify(page.exceptions)}`);
  } finally {
    await page.close();
  }
}

// Points a picture, where the language's differs from the English one.
const TEXT_PROBES = 8;

// The title and first instructions in `language`, where they differ from the
// English pictures too, and the page's sentences in it.
async function startsIn(language, address, browserLanguages) {
  console.log(`Chromium: ${address} in a browser that prefers ${browserLanguages}`);
  const page = await Chromium.open(address, { languages: browserLanguages });
  try {
    await page.gameStarted();
    for (const screen of ['titlescreen', 'instructions']) {
      const name = `${language}/${screen}.png`;
      await showsImage(page, name,
        [...game.IMAGE_PROBES, ...game.distinguishingProbes(name, `${screen}.png`, TEXT_PROBES)]);
      await save(page, `${language}-${screen}.png`);
      await page.click(...game.ADVANCE);
    }
    await titleDecodedByPage(page);
    const [lang, loading] = await page.evaluate('[document.documentElement.lang, SAY.loading]');
    check(lang === language && loading !== 'Loading Quillory...',
          `the page speaks ${language} too ("${loading}")`);
    check(page.exceptions.length === 0, `no page errors ${JSON.stringify(page.exceptions)}`);
  } finally {
    await page.close();
  }
}

// When the game cannot start, the page says why, and the program, once
// downloaded, neither starts nor replaces that: in a browser without WebGL,
// or when the title picture, which the page fetches itself, cannot be had.
const PROGRAM_SETTLES_MS = 1500; // for the program to load and not start
async function cannotStart(what, options, blockedUrls, sentence) {
  console.log(`Chromium: ${what}`);
  const page = await Chromium.open('about:blank', options);
  try {
    await page.send('Network.enable');
    await page.send('Network.setBlockedURLs', { urls: blockedUrls });
    await page.send('Page.navigate', { url });
    const said = () => page.evaluate(`document.getElementById("message").textContent === SAY.${sentence}`);
    await waitFor(`the page to say ${sentence}`, said);
    await waitFor('the program to run', () => page.evaluate('typeof Module.FS_createDataFile === "function"'));
    await sleep(PROGRAM_SETTLES_MS);
    check(await said(), `${what}: the page says so, and still does once the program is in`);
    check(page.exceptions.length === 0, `no page errors ${JSON.stringify(page.exceptions)}`);
  } finally {
    await page.close();
  }
}

await cannotStart('a browser without WebGL', { webgl: false }, [], 'noWebgl');
await cannotStart('a title picture that cannot be downloaded', {}, ['*/titlescreen.png'], 'downloadFailed');
await wholeGame();
await touchGame();
await tabletGame();
await uprightPhone();
await startsIn('fr', url, 'fr-FR,fr');
await startsIn('es', `${url}?lang=es`, 'fr-FR,fr');
await offline();
game.finish('Chromium tests');
