// chromium_test.mjs: the browser build played in headless Chromium with real
// input events. Two games: the whole game with mouse and keyboard, as the
// desktop end-to-end test plays it, plus a second round and accented answers;
// and a touch-only game on a smaller, scaled-down canvas. Then the start of
// the game in a French browser, and in the same browser with ?lang=es.
//
// Usage: node chromium_test.mjs URL SHOTS_DIR
// Prints a line per step; exits 1 with the failed checks listed.
import { writeFileSync } from 'node:fs';
import { join } from 'node:path';
import { Chromium, waitFor } from './chromium.mjs';
import { decodePng } from './png.mjs';
import * as game from './game.mjs';
import { check } from './game.mjs';

const [url, shotsDir] = process.argv.slice(2);
// A sample this loud (-40 dBFS) from the speakers is heard, and the music
// is heard this long after the first click at the latest.
const MUSIC_LEVEL = 0.01;
const MUSIC_TIMEOUT_MS = 10000;

// The checks on a page's canvas, as a player sees it.
const shows = (page, ...rest) => game.shows(async () => decodePng(await page.canvasPixels()), ...rest);
const showsImage = (page, ...rest) => game.showsImage(async () => decodePng(await page.canvasPixels()), ...rest);

async function save(page, name) {
  writeFileSync(join(shotsDir, name), await page.canvasPixels());
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
    check(!fetched.some((name) => /\/(languages|images)\//.test(name)),
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
    const [lang, loading] = await page.evaluate('[document.documentElement.lang, SAY.loading]');
    check(lang === language && loading !== 'Loading Quillory...',
          `the page speaks ${language} too ("${loading}")`);
    check(page.exceptions.length === 0, `no page errors ${JSON.stringify(page.exceptions)}`);
  } finally {
    await page.close();
  }
}

await wholeGame();
await touchGame();
await startsIn('fr', url, 'fr-FR,fr');
await startsIn('es', `${url}?lang=es`, 'fr-FR,fr');
game.finish('Chromium tests');
