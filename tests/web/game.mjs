// game.mjs: what the browser tests know of the game: where the players aim,
// the colours and pictures they should see, the diagnostic line a press
// writes, and the tests' checks. Shared by the Chromium and WebKit tests and
// the figures script. The window, the pixel mapping, the positions (the
// desktop end-to-end test's) and the press lines are the game's own, read
// from the game_facts.json the build writes, named by $QUILLORY_GAME_FACTS.
import { readFileSync } from 'node:fs';
import { dirname, join } from 'node:path';
import { fileURLToPath } from 'node:url';
import { decodePng } from './png.mjs';
import { waitFor } from './chromium.mjs';

export const ASSETS = join(dirname(fileURLToPath(import.meta.url)), '..', '..', 'assets', 'images');

if (!process.env.QUILLORY_GAME_FACTS) {
  throw new Error('QUILLORY_GAME_FACTS must name the game_facts.json of a build (tests/web/run.sh sets it)');
}
const facts = JSON.parse(readFileSync(process.env.QUILLORY_GAME_FACTS, 'utf8'));

export const WINDOW_TITLE = facts.window.title;
export const WINDOW_WIDTH = facts.window.width;   // pixels
export const WINDOW_HEIGHT = facts.window.height; // pixels

// Canvas pixels the players aim at, and the strokes they draw.
export const { done: DONE, gameOver: GAME_OVER, start: START, advance: ADVANCE,
  redCell: RED_CELL, blueCell: BLUE_CELL, orangeCell: ORANGE_CELL } = facts.presses;
export const { player1: PLAYER1_STROKE, player2: PLAYER2_STROKE, secondRound: SECOND_ROUND_STROKE } = facts.strokes;
export const RED = [248, 11, 33];
export const SKY_BLUE = [11, 150, 248];
export const ORANGE = [255, 165, 9];
export const WHITE = [255, 255, 255];

// Probes away from strokes, text and palette where each screen shows its image.
export const IMAGE_PROBES = facts.imageProbes;
export const GAME_OVER_PROBES = facts.gameOverProbes;

// The first answer row: 12 pixels a character from x = 41, between these rows.
export const ROW_TOP = 608;
export const ROW_BOTTOM = 636;
export const ROW_LEFT = 41;
export const CHARACTER_WIDTH = 12;
// Above this row a lowercase letter leaves no ink; an accent does.
export const X_HEIGHT_ROW = 619;

// The scene point at the canvas's top-left pixel, and the scene units a pixel spans.
const { left: SCENE_LEFT, top: SCENE_TOP, unitsPerPixel: UNITS_PER_PIXEL } = facts.scene;

const images = new Map();
// The committed picture `name` (e.g. "titlescreen.png").
export function image(name) {
  if (!images.has(name)) images.set(name, decodePng(readFileSync(join(ASSETS, name))));
  return images.get(name);
}

// Whether two colours are within `tolerance` on each of red, green and blue.
export const near = (a, b, tolerance = 3) => [0, 1, 2].every((i) => Math.abs(a[i] - b[i]) <= tolerance);

// The line a left press at canvas pixel (x, y) writes in play, as the game
// printed it for the build; only the positions above have one.
export function pressLine(x, y) {
  const line = facts.pressLines[`${x},${y}`];
  if (line === undefined) throw new Error(`the build wrote no press line for (${x}, ${y})`);
  return line;
}

// The game's own lines among a console's: press positions and "in bounds".
export const gameLines = (console) => console.filter((line) => /^-?[\d.]+ -?[\d.]+$|^in bounds$/.test(line));

// Canvas pixel of a scene point.
export const pixelX = (sceneX) => Math.trunc((sceneX - SCENE_LEFT) / UNITS_PER_PIXEL);
export const pixelY = (sceneY) => Math.trunc((SCENE_TOP - sceneY) / UNITS_PER_PIXEL);

// Where canvas pixel (x, y) of a player's picture shows on the game-over
// screen: each picture at 60 %, player 1's from (-19, 24.5), player 2's from (30.8, 24.5).
export function gameOverPixel(player, x, y) {
  const sceneX = SCENE_LEFT + x * UNITS_PER_PIXEL;
  const sceneY = SCENE_TOP - y * UNITS_PER_PIXEL;
  return [pixelX((player === 1 ? -19 : 30.8) + 0.6 * sceneX), pixelY(24.5 + 0.6 * sceneY)];
}

// Pixels darker than half-grey in a rectangle of a decoded picture.
export function darkPixels(shot, left, top, right, bottom) {
  let count = 0;
  for (let y = top; y < bottom; ++y) {
    for (let x = left; x < right; ++x) {
      const [r, g, b] = shot.at(x, y);
      count += r + g + b < 3 * 128 ? 1 : 0;
    }
  }
  return count;
}

// The dark pixels of character `index` of the first answer row, the part
// above `splitRow` and the part below.
export function characterInk(shot, index, splitRow) {
  const left = ROW_LEFT + index * CHARACTER_WIDTH;
  return {
    above: darkPixels(shot, left, ROW_TOP, left + CHARACTER_WIDTH, splitRow),
    below: darkPixels(shot, left, splitRow, left + CHARACTER_WIDTH, ROW_BOTTOM),
  };
}

// Checks that "é", character 6 of an answer row "le café...", is the "e" of
// character 1 with an accent: the e leaves no ink above the x-height, the é
// does, and below it both have much the same ink.
export function checkAccent(shot) {
  const e = characterInk(shot, 1, X_HEIGHT_ROW);
  const eAcute = characterInk(shot, 6, X_HEIGHT_ROW);
  check(e.above === 0 && eAcute.above >= 3 && Math.abs(e.below - eAcute.below) <= e.below / 4,
        `é is an e with an accent (e ${JSON.stringify(e)}, é ${JSON.stringify(eAcute)})`);
}

const STEP_TIMEOUT_MS = 15000;

// Checks that the canvas, as `takeShot` returns it (with at(x, y)), comes to
// show at each of `points` its colour: `colours` holds one for all or one each.
export async function shows(takeShot, points, colours, what) {
  const colourAt = (i) => (Array.isArray(colours[0]) ? colours[i] : colours);
  let shot;
  const ok = await waitFor(what, async () => {
    shot = await takeShot();
    return points.every(([x, y], i) => near(shot.at(x, y), colourAt(i)));
  }, STEP_TIMEOUT_MS).catch(() => false);
  check(ok, `${what}: ${points.map(([x, y]) => `(${x},${y})=${shot?.at(x, y).slice(0, 3)}`).join(' ')}`);
  return shot;
}

// `count` points, spread over the pictures, where the committed pictures `a`
// and `b` differ clearly: probes that tell one from the other.
export function distinguishingProbes(a, b, count) {
  const CLEAR_DIFFERENCE = 100; // on a channel, 0…255: text against its ground
  const differing = [];
  for (let y = 0; y < image(a).height; ++y) {
    for (let x = 0; x < image(a).width; ++x) {
      if (!near(image(a).at(x, y), image(b).at(x, y), CLEAR_DIFFERENCE)) differing.push([x, y]);
    }
  }
  return Array.from({ length: Math.min(count, differing.length) },
    (_, i) => differing[Math.floor(i * differing.length / count)]);
}

// Checks that the canvas comes to show the committed picture `name` at `probes`.
export const showsImage = (takeShot, name, probes = IMAGE_PROBES) =>
  shows(takeShot, probes, probes.map((probe) => image(name).at(...probe)), `shows ${name}`);

const failures = [];

// Records one check, printing it.
export function check(condition, what) {
  if (!condition) failures.push(what);
  console.log(`  ${condition ? 'ok  ' : 'FAIL'} ${what}`);
}

// Prints the summary of test `name` and ends the process: status 1 on failures.
export function finish(name) {
  if (failures.length > 0) {
    console.log(`${name}: ${failures.length} checks failed:\n  ${failures.join('\n  ')}`);
    process.exit(1);
  }
  console.log(`${name}: all checks passed`);
}
