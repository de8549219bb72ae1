#!/usr/bin/env bash
# pack_icon.sh OUT.ico PNG...: packs square PNG icons (16 to 256 pixels) into
# one Windows .ico file, each PNG stored as it is. Windows Vista and later
# read PNG images in icons at every size. Run by the Windows build.
set -euo pipefail

ICO_HEADER_BYTES=6  # reserved, type, image count: three 16-bit fields
ICO_ENTRY_BYTES=16  # one directory entry per image
ICO_TYPE_ICON=1
ICO_MAX_SIZE=256    # pixels; the directory stores 256 as 0
ICO_BITS_PER_PIXEL=32
PNG_SIZE_OFFSET=16  # bytes: width and height, 32-bit big-endian, in the IHDR chunk
PNG_SIGNATURE='137 80 78 71 13 10 26 10'

die() { echo "pack_icon: $*" >&2; exit 1; }
[ "$#" -ge 2 ] || die "usage: pack_icon.sh OUT.ico PNG..."
out=$1
shift

# Little-endian integers of 1, 2 and 4 bytes, as raw bytes on stdout.
u8() { printf "\\$(printf '%03o' "$(($1 & 255))")"; }
u16() { u8 "$1"; u8 "$(($1 >> 8))"; }
u32() { u16 "$(($1 & 65535))"; u16 "$(($1 >> 16))"; }

# The size of one PNG image, "WIDTH HEIGHT", checking that it is a PNG.
png_size() {
  local signature bytes
  signature=$(od -An -tu1 -N8 "$1" | xargs)
  [ "$signature" = "$PNG_SIGNATURE" ] || die "$1 is not a PNG file"
  read -ra bytes < <(od -An -tu1 -j"$PNG_SIZE_OFFSET" -N8 "$1" | xargs)
  echo "$(( (bytes[0] << 24) | (bytes[1] << 16) | (bytes[2] << 8) | bytes[3] ))" \
       "$(( (bytes[4] << 24) | (bytes[5] << 16) | (bytes[6] << 8) | bytes[7] ))"
}

tmp=$(mktemp)
trap 'rm -f "$tmp"' EXIT
{
  u16 0
  u16 "$ICO_TYPE_ICON"
  u16 "$#"
  offset=$((ICO_HEADER_BYTES + ICO_ENTRY_BYTES * $#))
  for png in "$@"; do
    read -r width height < <(png_size "$png")
    [ "$width" -eq "$height" ] && [ "$width" -ge 1 ] && [ "$width" -le "$ICO_MAX_SIZE" ] ||
      die "$png is ${width}x${height}; icons are square, at most $ICO_MAX_SIZE pixels"
    bytes=$(stat -c %s "$png")
    u8 "$((width % ICO_MAX_SIZE))"
    u8 "$((height % ICO_MAX_SIZE))"
    u8 0 # no palette
    u8 0 # reserved
    u16 1 # colour planes
    u16 "$ICO_BITS_PER_PIXEL"
    u32 "$bytes"
    u32 "$offset"
    offset=$((offset + bytes))
  done
  cat "$@"
} >"$tmp"
mv "$tmp" "$out"
trap - EXIT
