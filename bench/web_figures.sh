#!/bin/bash
# web_figures.sh: measures the browser build's figures on this machine (see
# web_figures.mjs) and prints them as JSON: download sizes raw and gzip, time to
# first frame against a bare page and one showing a picture, and its parts,
# and from the service worker's cache against the network, frame times with
# 1k/10k/50k segments at pixel ratios 1 and 2, standing still and with a stroke
# in progress, the parts of a 1k and of a 10k frame, Chromium's version and the
# desktop-to-web pixel comparison. Builds the three benchmark pages; the screen
# shots compared go to OUT.
#
# Usage: bench/web_figures.sh SITE_FOLDER DESKTOP_BUILD OUT
#   SITE_FOLDER: the folder ./web lays out, e.g. build-web/quillory-1.0.0-web
#   DESKTOP_BUILD: e.g. build, with quillory, run/ and the game_facts.json
#   its tests' build writes
set -u
site=$(cd "$1" && pwd)
desktop=$(cd "$2" && pwd)
mkdir -p "$3"
out=$(cd "$3" && pwd)
export QUILLORY_GAME_FACTS=$desktop/game_facts.json
here=$(cd "$(dirname "$0")" && pwd)
root=$(cd "$here/.." && pwd)
# shellcheck source=../scripts/setup.sh
. "$root/scripts/setup.sh"
# The desktop game is driven with xdotool and its window captured with ImageMagick's import.
quillory_install imagemagick xdotool xvfb || exit 1

pages=$out/serve/figures
mkdir -p "$pages"
ln -sfn "$site" "$out/serve/site"
# The benchmark pages are targets of the web build that laid out SITE_FOLDER
# (its build folder, game/, is beside it): built there, with the game's own
# libraries and link settings.
game_build=$(dirname "$site")/game
quillory_step "Building the benchmark pages in $game_build" "$out/pages.log" \
  bash -c 'cmake -S "$1" -B "$2" -DQUILLORY_BENCH=ON && cmake --build "$2" --target web_drawing_bench web_bare_window web_bare_picture' \
  _ "$root" "$game_build" || exit 1
for page in web_drawing_bench web_bare_window web_bare_picture; do
  cp "$game_build/bench/$page".{html,js,wasm} "$pages/"
done

for file in "$site"/*.wasm "$site"/*.js "$site"/*.data; do
  printf '%s: %d bytes, %d gzip\n' "$(basename "$file")" "$(stat -c %s "$file")" "$(gzip -9 -c "$file" | wc -c)"
done

trap 'quillory_stop_serving; quillory_stop_xvfb' EXIT
quillory_serve "$out/serve" "$out/server.log" || exit 1
quillory_start_xvfb || exit 1
quillory_say "measuring; this takes a few minutes"
node "$here/web_figures.mjs" "$QUILLORY_SERVER_URL" "$desktop" "$out"
