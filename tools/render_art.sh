#!/usr/bin/env bash
# render_art.sh: renders the game's art from its SVG sources in assets/src/
# with librsvg's rsvg-convert: the ten screens at the window's size into
# assets/images/, the icon at each size into assets/icons/, packs those into
# the Windows icon assets/icons/quillory.ico with icoutils' icotool, and
# flattens the icon into the self-contained assets/icons/quillory.svg (the
# installed scalable icon: text as outlines, the stylesheet and parts inlined).
# The results are committed, so that building and playing need neither tool.
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

quillory_install librsvg2-bin icoutils fonts-freefont-ttf

# render SVG PNG WIDTH HEIGHT: one picture, failing loudly on any librsvg complaint.
render() {
  local errors
  errors=$(rsvg-convert --width "$3" --height "$4" --output "$2" "$1" 2>&1) || {
    quillory_say "rendering $1 failed: $errors"; return 1; }
  [ -z "$errors" ] || { quillory_say "rendering $1: $errors"; return 1; }
}

start=$SECONDS
for screen in "${SCREENS[@]}"; do
  render "assets/src/$screen.svg" "assets/images/$screen.png" "$SCREEN_WIDTH" "$SCREEN_HEIGHT"
done
quillory_say "rendered ${#SCREENS[@]} screens into assets/images/"

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
