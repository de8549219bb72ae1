# debian_sources.sh: fetching Debian's source packages of the libraries that a
# cross build (./windows, ./web) compiles itself, and the helpers both builds
# use to build them once into a cache. Sourced after scripts/setup.sh. The
# sources come through a private apt set-up under the build's deps folder,
# from the mirrors this machine's apt already uses; the machine's own apt
# set-up is left as it is.

# The libraries' choices that both cross builds share, as CMake options; each
# build adds what its platform needs.
# libpng: the static library alone.
DEBIAN_PNG_OPTIONS=(-DPNG_SHARED=OFF -DPNG_STATIC=ON -DPNG_TESTS=OFF -DPNG_EXECUTABLES=OFF)
# FreeType: only TrueType outlines are read, no bitmap-PNG or shaped fonts.
# zlib stays in (FreeType's own copy of it would clash with libpng's at link time).
DEBIAN_FREETYPE_OPTIONS=(-DFT_REQUIRE_ZLIB=ON -DFT_DISABLE_BZIP2=ON -DFT_DISABLE_PNG=ON
  -DFT_DISABLE_HARFBUZZ=ON -DFT_DISABLE_BROTLI=ON)
# SDL: audio output only; the subsystems it can build without are left out.
DEBIAN_SDL2_OPTIONS=(-DSDL_SHARED=OFF -DSDL_STATIC=ON -DSDL_TEST=OFF -DSDL_RENDER=OFF
  -DSDL_JOYSTICK=OFF -DSDL_HAPTIC=OFF -DSDL_HIDAPI=OFF -DSDL_SENSOR=OFF -DSDL_POWER=OFF
  -DSDL_LOCALE=OFF -DSDL_MISC=OFF)
# SDL_mixer: MP3 through its own dr_mp3 decoder; no other format is played.
DEBIAN_SDL2_MIXER_OPTIONS=(-DSDL2MIXER_SAMPLES=OFF -DSDL2MIXER_CMD=OFF -DSDL2MIXER_VENDORED=OFF
  -DSDL2MIXER_DEPS_SHARED=OFF -DSDL2MIXER_FLAC=OFF -DSDL2MIXER_MOD=OFF -DSDL2MIXER_MIDI=OFF
  -DSDL2MIXER_OPUS=OFF -DSDL2MIXER_VORBIS=OFF -DSDL2MIXER_WAVE=OFF -DSDL2MIXER_MP3=ON
  -DSDL2MIXER_MP3_DRMP3=ON -DSDL2MIXER_MP3_MPG123=OFF)

# debian_cached_step STAMP NAME LOG COMMAND...: quillory_step, skipped when
# STAMP holds the same command line, i.e. the step already ran with this recipe.
debian_cached_step() {
  local stamp=$1 name=$2 log=$3 recipe
  shift 3
  recipe="$*"
  if [ -f "$stamp" ] && [ "$(cat "$stamp")" = "$recipe" ]; then
    quillory_say "$name: cached"
    return 0
  fi
  quillory_step "$name" "$log" "$@" || return
  mkdir -p "$(dirname "$stamp")"
  printf '%s' "$recipe" >"$stamp"
}

# debian_apt_sources: prints deb822 stanzas with Types: deb-src for every deb
# entry this machine's apt already uses, so the sources come from the same
# mirrors, checked with the same keyrings. Nothing about the mirrors is
# written into the project; it is all read here, when the build runs.
debian_apt_sources() {
  local file
  if [ -f /etc/apt/sources.list ]; then
    # One-line format: "deb [options] URI suite components...".
    sed -n 's/^[[:space:]]*deb[[:space:]]/deb-src /p' /etc/apt/sources.list
  fi
  for file in /etc/apt/sources.list.d/*.list; do
    [ -f "$file" ] && sed -n 's/^[[:space:]]*deb[[:space:]]/deb-src /p' "$file"
  done
  for file in /etc/apt/sources.list.d/*.sources; do
    [ -f "$file" ] || continue
    # Stanzas are separated by blank lines; keep those that list "deb" among
    # their types and are not disabled, with their types replaced.
    awk '
      function flush() {
        if (stanza != "" && isdeb && !disabled) printf "%s\n", stanza
        stanza = ""; isdeb = 0; disabled = 0
      }
      /^[[:space:]]*$/ { flush(); next }
      /^#/ { next }
      /^Types:/ {
        for (i = 2; i <= NF; i++) if ($i == "deb") isdeb = 1
        stanza = stanza "Types: deb-src\n"; next
      }
      /^Enabled:[[:space:]]*(no|false)/ { disabled = 1 }
      { stanza = stanza $0 "\n" }
      END { flush() }
    ' "$file"
  done
}

# debian_apt DIR PROGRAM ARGS...: apt-get or apt-cache with its state, cache
# and source lists in DIR, leaving the machine's own apt set-up as it is.
debian_apt() {
  local dir=$1 program=$2
  shift 2
  # As root, apt would hand downloads to its _apt user, who cannot write into
  # the developer's build folder; the download then runs as root anyway.
  "$program" -o Dir::State="$dir/state" -o Dir::State::status=/var/lib/dpkg/status \
    -o Dir::Cache="$dir/cache" -o Dir::Etc::sourcelist="$dir/sources.list" \
    -o Dir::Etc::sourceparts="$dir/sources.list.d" -o APT::Sandbox::User="$(id -un)" "$@"
}

# debian_apt_source APT_DIR DEST BINARY...: fetches and unpacks the source
# package of each binary package into DEST, the newest version first. The
# security archive lists versions whose sources it does not serve; the next
# older one, the main archive's, is then taken, and the log says so.
debian_apt_source() {
  local apt=$1 dest=$2 binary source version fetched
  shift 2
  for binary in "$@"; do
    source=$(debian_apt "$apt" apt-cache showsrc "$binary" | sed -n 's/^Package: //p' | head -n 1)
    [ -n "$source" ] || { echo "no source package builds $binary"; return 1; }
    fetched=
    for version in $(debian_apt "$apt" apt-cache showsrc "$source" | sed -n 's/^Version: //p' |
                     sort -u | sort -r -V); do
      if (cd "$dest" && debian_apt "$apt" apt-get source "$source=$version"); then
        fetched=$version
        break
      fi
      echo "WARNING: $source $version could not be fetched; trying an older version"
    done
    [ -n "$fetched" ] || { echo "no version of $source could be fetched"; return 1; }
    echo "USING: $source $fetched"
  done
}

# debian_fetch_sources DEPS BINARY...: unpacks the source packages of the
# binary packages into DEPS/src, once; a later run with the same list reuses
# them. DEPS/logs/sources.log names the versions taken.
debian_fetch_sources() {
  local deps=$1 apt=$1/apt
  shift
  local stamp=$deps/stamps/sources
  if [ -f "$stamp" ] && [ "$(cat "$stamp")" = "$*" ]; then
    quillory_say "Debian source packages: cached in $deps/src"
    sed 's/^/  /' "$deps/logs/sources.log" >&2
    return 0
  fi
  rm -rf "$deps/src" "$apt" "$stamp"
  mkdir -p "$apt/state/lists/partial" "$apt/cache/archives/partial" "$apt/sources.list.d" \
    "$deps/src" "$deps/logs"
  : >"$apt/sources.list"
  debian_apt_sources >"$apt/sources.list.d/machine-deb-src.sources"
  if [ ! -s "$apt/sources.list.d/machine-deb-src.sources" ]; then
    quillory_say "FAILED: no deb entry found in /etc/apt/sources.list or /etc/apt/sources.list.d/"
    return 1
  fi
  quillory_step "Reading the source package lists of this machine's apt mirrors" \
    "$deps/logs/apt-update.log" debian_apt "$apt" apt-get update || return
  quillory_step "Fetching the Debian source packages of $*" \
    "$deps/logs/apt-source.log" debian_apt_source "$apt" "$deps/src" "$@" || return
  sed -n 's/^\(USING\|WARNING\): //p' "$deps/logs/apt-source.log" >"$deps/logs/sources.log"
  sed 's/^/  /' "$deps/logs/sources.log" >&2
  mkdir -p "$(dirname "$stamp")" && printf '%s' "$*" >"$stamp"
}

# debian_source_dir DEPS NAME: prints the unpacked source tree of source package NAME.
debian_source_dir() {
  local dir
  for dir in "$1"/src/"$2"-*/; do
    [ -d "$dir" ] && { printf '%s' "${dir%/}"; return 0; }
  done
  quillory_say "FAILED: no unpacked source of $2 in $1/src"
  return 1
}

# debian_cmake_library DEPS TOOLCHAIN PLATFORM NAME SOURCE OPTIONS...:
# configures, builds and installs one library into DEPS/prefix, static, with
# the cross build's CMake toolchain file; once, while the recipe stays the same.
debian_cmake_library() {
  local deps=$1 toolchain=$2 platform=$3 name=$4 src=$5
  shift 5
  debian_cached_step "$deps/stamps/$name" "Building $name for $platform" "$deps/logs/$name.log" \
    debian_cmake_install "$deps" "$toolchain" "$name" "$src" "$@"
}

debian_cmake_install() {
  local deps=$1 toolchain=$2 name=$3 src=$4
  shift 4
  rm -rf "$deps/build/$name"
  cmake -S "$src" -B "$deps/build/$name" -G Ninja -DCMAKE_TOOLCHAIN_FILE="$PWD/$toolchain" \
    -DCMAKE_PREFIX_PATH="$deps/prefix" -DCMAKE_INSTALL_PREFIX="$deps/prefix" \
    -DCMAKE_BUILD_TYPE=Release -DBUILD_SHARED_LIBS=OFF "$@" &&
    cmake --build "$deps/build/$name" -j "${QUILLORY_JOBS:-2}" &&
    cmake --install "$deps/build/$name"
}

# debian_licence DEPS NAME FILE...: keeps the licence texts shipped with a
# build in DEPS/prefix/licences/NAME.txt.
debian_licence() {
  local deps=$1 name=$2 out file
  shift 2
  out="$deps/prefix/licences/$name.txt"
  mkdir -p "$(dirname "$out")"
  : >"$out"
  for file in "$@"; do
    [ -f "$file" ] || { quillory_say "FAILED: licence text $file is missing"; return 1; }
    { printf '==> %s <==\n' "$(basename "$file")"; cat "$file"; printf '\n'; } >>"$out"
  done
}
