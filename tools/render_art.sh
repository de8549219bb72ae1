#!/usr/bin/env bash
# render_art.sh: renders the game's art from its SVG sources in assets/src/
# with librsvg's rsvg-convert: the ten screens at the window's size into
# assets/images/, and again in each language of po/LINGUAS into
# assets/images/<language>/ (the SVG with the catalogue's sentences, written
# by itstool), the icon at each size into assets/icons/, packs those into
# the Windows icon assets/icons/quillory.ico with icoutils' icotool, renders
# the web folder's app icons into assets/icons/web/ (192 and 512 pixels, a
# maskable one whose drawing keeps inside the centre a launcher's mask leaves,
# and iOS's 180-pixel home-screen icon, both of those on the paper colour to
# the edges), and flattens the icon into the self-contained assets/icons/quillory.svg (the
# installed scalable icon: text as outlines, the stylesheet and parts inlined).
# A screen whose sentences a catalogue does not all translate is left out of
# that language, which then shows the English picture there. The results are
# committed, so that building and playing need none of these tools.
# Rendering is deterministic: the same sources give byte-identical files.
#
# Usage: tools/render_art.sh   (from anywhere; installs the tools as root)
set -euo pipefail
cd "$(dirname "$0")/.."
source scripts/setup.sh

SCREENS=(titlescreen instructions instructions2 gameover player1start player2start
         player1drawing player2drawing player1typing player2typing)
# pixels: one texel per window pixel, the window's size as the game states it
window_size() { sed -n "s/^inline constexpr int $1 = \([0-9]*\);.*/\1/p" app/game_window.h; }
SCREEN_WIDTH=$(window_size WINDOW_WIDTH)
SCREEN_HEIGHT=$(window_size WINDOW_HEIGHT)
[ -n "$SCREEN_WIDTH" ] && [ -n "$SCREEN_HEIGHT" ] || { quillory_say "no window size in app/game_window.h"; exit 1; }
ICON_SIZES=(16 32 48 64 128 256)  # pixels, smallest first as the .ico lists them
SMALL_ICON_MAX=32                 # up to this size the icon is the simpler drawing
ICO_PNG_FROM=256                  # from this size on the .ico stores PNG, below it bitmaps
WEB_ICON_SIZES=(192 512)          # pixels: the sizes browsers ask an installable page for
MASKABLE_SIZE=512                 # pixels
MASKABLE_DRAWING=360              # pixels: inside the circle of 80 % a launcher's mask keeps
APPLE_TOUCH_SIZE=180              # pixels: iOS's home-screen icon
PAPER=#fcf7ed                     # the art's paper colour (assets/src/parts.svg), under full-bleed icons

LANGUAGES=($(sed 's/#.*//' po/LINGUAS))

quillory_install librsvg2-bin icoutils fonts-freefont-ttf gettext itstool

# render SVG PNG WIDTH HEIGHT [OPTION...]: one picture, failing loudly on any
# librsvg complaint; the options go to rsvg-convert.
render() {
  local errors
  errors=$(rsvg-convert --width "$3" --height "$4" "${@:5}" --output "$2" "$1" 2>&1) || {
    quillory_say "rendering $1 failed: $errors"; return 1; }
  [ -z "$errors" ] || { quillory_say "rendering $1: $errors"; return 1; }
}

# render_language LANGUAGE WORK: every screen whose sentences po/LANGUAGE.po
# translates, into assets/images/LANGUAGE/; WORK is a scratch folder.
render_language() {
  local language=$1 work=$2 screen rendered=0
  local translated=$work/$language
  mkdir -p "$translated" "assets/images/$language"
  # The translated SVGs link the stylesheet and the parts beside them.
  cp assets/src/style.css assets/src/parts.svg "$translated/"
  msgfmt -o "$work/$language.mo" "po/$language.po"
  for screen in "${SCREENS[@]}"; do
    if ! msgcmp "po/$language.po" "$work/$screen.pot" 2>/dev/null; then
      rm -f "assets/images/$language/$screen.png"
      quillory_say "$language: $screen stays English: po/$language.po lacks some of its sentences"
      continue
    fi
    itstool -i po/screens.its -m "$work/$language.mo" -o "$translated/" "assets/src/$screen.svg"
    render "$translated/$screen.svg" "assets/images/$language/$screen.png" \
      "$SCREEN_WIDTH" "$SCREEN_HEIGHT"
    rendered=$((rendered + 1))
  done
  quillory_say "rendered $rendered screens into assets/images/$language/"
}

start=$SECONDS
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
for screen in "${SCREENS[@]}"; do
  render "assets/src/$screen.svg" "assets/images/$screen.png" "$SCREEN_WIDTH" "$SCREEN_HEIGHT"
  itstool -i po/screens.its -o "$work/$screen.pot" "assets/src/$screen.svg"
done
quillory_say "rendered ${#SCREENS[@]} screens into assets/images/"
for language in "${LANGUAGES[@]}"; do
  render_language "$language" "$work"
done

ico_args=()
for size in "${ICON_SIZES[@]}"; do
  source=assets/src/quillory.svg
  [ "$size" -gt "$SMALL_ICON_MAX" ] || source=assets/src/quillory-small.svg
  png=assets/icons/quillory_$size.png
  render "$source" "$png" "$size" "$size"
  if [ "$size" -ge "$ICO_PNG_FROM" ]; then ico_args+=(--raw="$png"); else ico_args+=("$png"); fi
done
icotool --create --output=assets/icons/quillory.ico "${ico_args[@]}"
mkdir -p assets/icons/web
for size in "${WEB_ICON_SIZES[@]}"; do
  render assets/src/quillory.svg "assets/icons/web/icon-$size.png" "$size" "$size"
done
margin=$(((MASKABLE_SIZE - MASKABLE_DRAWING) / 2))
render assets/src/quillory.svg assets/icons/web/icon-maskable.png "$MASKABLE_DRAWING" "$MASKABLE_DRAWING" \
  --page-width="$MASKABLE_SIZE" --page-height="$MASKABLE_SIZE" --left="$margin" --top="$margin" \
  --background-color="$PAPER"
render assets/src/quillory.svg assets/icons/web/apple-touch-icon.png "$APPLE_TOUCH_SIZE" "$APPLE_TOUCH_SIZE" \
  --background-color="$PAPER"
rsvg-convert --format=svg --output=assets/icons/quillory.svg assets/src/quillory.svg
quillory_say "rendered the icon at ${ICON_SIZES[*]} pixels, packed quillory.ico, flattened quillory.svg"
quillory_say "rendered the web icons at ${WEB_ICON_SIZES[*]} pixels, the maskable one and iOS's into assets/icons/web/"
quillory_say "done in $((SECONDS - start)) s; commit assets/images/ and assets/icons/"
