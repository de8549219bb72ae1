#!/usr/bin/env bash
# render_art.sh: renders the game's art from its SVG sources in assets/src/
# with librsvg's rsvg-convert: the ten screens at the window's size into
# assets/images/, and again in each language of po/LINGUAS into
# assets/images/<language>/ (the SVG with the catalogue's sentences, written
# by itstool), the icon at each size into assets/icons/, packs those into
# the Windows icon assets/icons/quillory.ico with icoutils' icotool, and
# flattens the icon into the self-contained assets/icons/quillory.svg (the
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
SCREEN_WIDTH=1024  # pixels: one texel per window pixel
SCREEN_HEIGHT=768
ICON_SIZES=(16 32 48 64 128 256)  # pixels, smallest first as the .ico lists them
SMALL_ICON_MAX=32                 # up to this size the icon is the simpler drawing
ICO_PNG_FROM=256                  # from this size on the .ico stores PNG, below it bitmaps

LANGUAGES=($(sed 's/#.*//' po/LINGUAS))

quillory_install librsvg2-bin icoutils fonts-freefont-ttf gettext itstool

# render SVG PNG WIDTH HEIGHT: one picture, failing loudly on any librsvg complaint.
render() {
  local errors
  errors=$(rsvg-convert --width "$3" --height "$4" --output "$2" "$1" 2>&1) || {
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
rsvg-convert --format=svg --output=assets/icons/quillory.svg assets/src/quillory.svg
quillory_say "rendered the icon at ${ICON_SIZES[*]} pixels, packed quillory.ico, flattened quillory.svg"
quillory_say "done in $((SECONDS - start)) s; commit assets/images/ and assets/icons/"
