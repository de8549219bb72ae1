#!/bin/bash
# web_figures.sh: measures the browser build's figures on this machine (see
# web_figures.mjs) and prints them as JSON: download sizes raw and gzip, time to
# first frame against a bare page and from the service worker's cache against
# the network, frame times with 1k/10k/50k segments at pixel ratios 1 and 2,
# Chromium's version and the desktop-to-web pixel comparison. Builds the two
# benchmark pages with Debian's em++; the screen shots compared go to OUT.
#
# Usage: bench/web_figures.sh SITE_FOLDER DESKTOP_BUILD OUT  (DESKTOP_BUILD: e.g. build, with quillory,
# run/ and the game_facts.json its tests' build writes)
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

pages=$out/serve/figures
mkdir -p "$pages"
ln -sfn "$site" "$out/serve/site"
# The HTML minifier crashes at -O1 and above; the page is left as written.
web_flags=(-std=c++20 -O2 -fexceptions -I"$root" -I"$root/browser/include"
  -sLEGACY_GL_EMULATION -sALLOW_MEMORY_GROWTH -sMINIFY_HTML=0)
quillory_step "Building the bare GLUT page" "$out/bare_window.log" \
  em++ "${web_flags[@]}" "$root/bench/bare_window.cpp" "$root/browser/legacy_gl.cpp" \
  "$root/browser/sharp_canvas.cpp" "$root/browser/browser_input.cpp" -o "$pages/bare_window.html" || exit 1
quillory_step "Building the drawing benchmark page" "$out/web_drawing_bench.log" \
  em++ "${web_flags[@]}" "$root/bench/web_drawing_bench.cpp" "$root/bench/random_drawing.cpp" \
  "$root"/drawing/*.cpp "$root/game/game_state.cpp" "$root/app/scene_view.cpp" \
  "$root/browser/legacy_gl.cpp" "$root/browser/sharp_canvas.cpp" "$root/browser/browser_input.cpp" \
  -o "$pages/web_drawing_bench.html" || exit 1

for file in "$site"/*.wasm "$site"/*.js "$site"/*.data; do
  printf '%s: %d bytes, %d gzip\n' "$(basename "$file")" "$(stat -c %s "$file")" "$(gzip -9 -c "$file" | wc -c)"
done

trap 'quillory_stop_serving; quillory_stop_xvfb' EXIT
quillory_serve "$out/serve" "$out/server.log" || exit 1
quillory_start_xvfb || exit 1
quillory_say "measuring; this takes a few minutes"
node "$here/web_figures.mjs" "$QUILLORY_SERVER_URL" "$desktop" "$out"
