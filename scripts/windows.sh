# windows.sh: the steps of the Windows build, sourced by ./windows from the
# project root. Fetches the libraries' Debian source packages through a private
# apt set-up, cross-builds them once into a cache, then builds quillory.exe and
# packs the zip. Every long step logs to a file, shows that it is alive, and on
# failure says what failed, where the log is, and shows the log's tail.

QUILLORY_WIN_BUILD=${QUILLORY_WIN_BUILD:-build-windows}
QUILLORY_WIN_TOOLCHAIN=cmake/mingw-w64-x86_64.cmake
QUILLORY_WIN_SYSROOT=/usr/x86_64-w64-mingw32
# Debian packages the Windows build needs on the build machine.
QUILLORY_WIN_PACKAGES=(
  g++-mingw-w64-x86-64-posix binutils-mingw-w64-x86-64 libz-mingw-w64-dev
  dpkg-dev cmake ninja-build zip unzip fonts-anonymous-pro
)
# The tests run the exe under Wine; the Linux test program drives it, so they
# also need the Linux build's and tests' packages (QUILLORY_PACKAGES and
# QUILLORY_TEST_PACKAGES of scripts/setup.sh).
QUILLORY_WIN_TEST_PACKAGES=(wine wine64)
# The Debian binary packages whose source packages are cross-built, in build order.
QUILLORY_WIN_SOURCES=(libpng-dev libfreetype-dev freeglut3-dev libsdl2-dev libsdl2-mixer-dev)

# Every log of the Windows build lies in one folder of its own.
QUILLORY_LOG_DIR=$QUILLORY_WIN_BUILD/logs

# win_cached_step STAMP NAME LOG COMMAND...: quillory_step, skipped when STAMP holds
# the same command line, i.e. the step already ran with this recipe.
win_cached_step() {
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

# --- Private apt set-up --------------------------------------------------------

# win_apt_sources: prints deb822 stanzas with Types: deb-src for every deb
# entry this machine's apt already uses, so the sources come from the same
# mirrors, checked with the same keyrings. Nothing about the mirrors is
# written into the project; it is all read here, when the build runs.
win_apt_sources() {
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

# win_apt DIR PROGRAM ARGS...: apt-get or apt-cache with its state, cache and
# source lists in DIR, leaving the machine's own apt set-up as it is.
win_apt() {
  local dir=$1 program=$2
  shift 2
  # As root, apt would hand downloads to its _apt user, who cannot write into
  # the developer's build folder; the download then runs as root anyway.
  "$program" -o Dir::State="$dir/state" -o Dir::State::status=/var/lib/dpkg/status \
    -o Dir::Cache="$dir/cache" -o Dir::Etc::sourcelist="$dir/sources.list" \
    -o Dir::Etc::sourceparts="$dir/sources.list.d" -o APT::Sandbox::User="$(id -un)" "$@"
}

# win_apt_source APT_DIR DEST: fetches and unpacks each source package into
# DEST, the newest version first. A mirror may list a version whose files it
# does not hold (seen with a security update); the next older one is then
# taken, and the log says so.
win_apt_source() {
  local apt=$1 dest=$2 binary source version fetched
  for binary in "${QUILLORY_WIN_SOURCES[@]}"; do
    source=$(win_apt "$apt" apt-cache showsrc "$binary" | sed -n 's/^Package: //p' | head -n 1)
    [ -n "$source" ] || { echo "no source package builds $binary"; return 1; }
    fetched=
    for version in $(win_apt "$apt" apt-cache showsrc "$source" | sed -n 's/^Version: //p' |
                     sort -u | sort -r -V); do
      if (cd "$dest" && win_apt "$apt" apt-get source "$source=$version"); then
        fetched=$version
        break
      fi
      echo "WARNING: $source $version could not be fetched; trying an older version"
    done
    [ -n "$fetched" ] || { echo "no version of $source could be fetched"; return 1; }
    echo "USING: $source $fetched"
  done
}

win_fetch_sources() {
  local deps=$1 apt=$1/apt
  mkdir -p "$apt/state/lists/partial" "$apt/cache/archives/partial" "$apt/sources.list.d" "$deps/src"
  : >"$apt/sources.list"
  win_apt_sources >"$apt/sources.list.d/machine-deb-src.sources"
  if [ ! -s "$apt/sources.list.d/machine-deb-src.sources" ]; then
    quillory_say "FAILED: no deb entry found in /etc/apt/sources.list or /etc/apt/sources.list.d/"
    return 1
  fi
  quillory_step "Reading the source package lists of this machine's apt mirrors" \
    "$deps/logs/apt-update.log" win_apt "$apt" apt-get update || return
  quillory_step "Fetching the Debian source packages of ${QUILLORY_WIN_SOURCES[*]}" \
    "$deps/logs/apt-source.log" win_apt_source "$apt" "$deps/src" || return
  sed -n 's/^\(USING\|WARNING\): /  /p' "$deps/logs/apt-source.log" >&2
}

# --- The libraries ---------------------------------------------------------------

# win_source_dir DEPS NAME: the unpacked source tree of source package NAME.
win_source_dir() {
  local dir
  for dir in "$1"/src/"$2"-*/; do
    [ -d "$dir" ] && { printf '%s' "${dir%/}"; return 0; }
  done
  quillory_say "FAILED: no unpacked source of $2 in $1/src"
  return 1
}

# win_cmake_library DEPS NAME SOURCE OPTIONS...: configures, builds and
# installs one library into DEPS/prefix, static, with the Windows toolchain.
win_cmake_library() {
  local deps=$1 name=$2 src=$3 jobs
  shift 3
  jobs=${QUILLORY_JOBS:-2}
  win_cached_step "$deps/stamps/$name" "Building $name for Windows" "$deps/logs/$name.log" \
    win_cmake_install "$deps" "$name" "$src" "$jobs" "$@"
}

win_cmake_install() {
  local deps=$1 name=$2 src=$3 jobs=$4
  shift 4
  rm -rf "$deps/build/$name"
  cmake -S "$src" -B "$deps/build/$name" -G Ninja \
    -DCMAKE_TOOLCHAIN_FILE="$PWD/$QUILLORY_WIN_TOOLCHAIN" \
    -DQUILLORY_WINDOWS_PREFIX="$deps/prefix" -DCMAKE_PREFIX_PATH="$deps/prefix" \
    -DCMAKE_INSTALL_PREFIX="$deps/prefix" -DCMAKE_BUILD_TYPE=Release \
    -DBUILD_SHARED_LIBS=OFF "$@" &&
    cmake --build "$deps/build/$name" -j "$jobs" &&
    cmake --install "$deps/build/$name"
}

# win_licence DEPS NAME FILE...: keeps the licence texts shipped with the zip.
win_licence() {
  local deps=$1 name=$2 out
  shift 2
  out="$deps/prefix/licences/$name.txt"
  mkdir -p "$(dirname "$out")"
  : >"$out"
  local file
  for file in "$@"; do
    [ -f "$file" ] || { quillory_say "FAILED: licence text $file is missing"; return 1; }
    { printf '==> %s <==\n' "$(basename "$file")"; cat "$file"; printf '\n'; } >>"$out"
  done
}

# win_build_dependencies: the libraries linked into quillory.exe, built from
# Debian's sources once into $QUILLORY_WIN_BUILD/deps; a rebuild reuses them.
win_build_dependencies() {
  local deps=$PWD/$QUILLORY_WIN_BUILD/deps src
  if [ ! -f "$deps/stamps/sources" ]; then
    rm -rf "$deps/src" "$deps/apt"
    win_fetch_sources "$deps" || return
    mkdir -p "$deps/stamps" && touch "$deps/stamps/sources"
  else
    quillory_say "Debian source packages: cached in $deps/src"
  fi

  # zlib is Debian's own MinGW build of it (libz-mingw-w64-dev).
  local zlib=(-DZLIB_LIBRARY="$QUILLORY_WIN_SYSROOT/lib/libz.a" -DZLIB_INCLUDE_DIR="$QUILLORY_WIN_SYSROOT/include")

  src=$(win_source_dir "$deps" libpng1.6) || return
  win_cmake_library "$deps" libpng "$src" "${zlib[@]}" \
    -DPNG_SHARED=OFF -DPNG_STATIC=ON -DPNG_TESTS=OFF -DPNG_EXECUTABLES=OFF || return
  win_licence "$deps" libpng "$src/LICENSE" "$src/debian/copyright" || return

  # Only TrueType outlines are read: no bitmap-PNG or shaped fonts. zlib stays
  # in (FreeType's own copy of it would clash with libpng's at link time).
  src=$(win_source_dir "$deps" freetype) || return
  win_cmake_library "$deps" freetype "$src" "${zlib[@]}" -DFT_REQUIRE_ZLIB=ON \
    -DFT_DISABLE_BZIP2=ON -DFT_DISABLE_PNG=ON -DFT_DISABLE_HARFBUZZ=ON \
    -DFT_DISABLE_BROTLI=ON || return
  win_licence "$deps" freetype "$src/docs/FTL.TXT" "$src/debian/copyright" || return

  src=$(win_source_dir "$deps" freeglut) || return
  win_cmake_library "$deps" freeglut "$src" -DFREEGLUT_BUILD_SHARED_LIBS=OFF \
    -DFREEGLUT_BUILD_STATIC_LIBS=ON -DFREEGLUT_BUILD_DEMOS=OFF -DFREEGLUT_GLES=OFF || return
  win_licence "$deps" freeglut "$src/COPYING" "$src/debian/copyright" || return

  # SDL is used for audio output only; the subsystems it can build without are
  # left out (not video: its Windows build needs the video code all the same).
  src=$(win_source_dir "$deps" libsdl2) || return
  win_cmake_library "$deps" SDL2 "$src" -DSDL_SHARED=OFF -DSDL_STATIC=ON -DSDL_TEST=OFF \
    -DSDL_RENDER=OFF -DSDL_JOYSTICK=OFF -DSDL_HAPTIC=OFF -DSDL_HIDAPI=OFF \
    -DSDL_SENSOR=OFF -DSDL_POWER=OFF -DSDL_LOCALE=OFF -DSDL_MISC=OFF || return
  win_licence "$deps" SDL2 "$src/LICENSE.txt" "$src/debian/copyright" || return

  # MP3 through SDL_mixer's own dr_mp3 decoder; no other format is played.
  src=$(win_source_dir "$deps" libsdl2-mixer) || return
  win_cmake_library "$deps" SDL2_mixer "$src" -DSDL2MIXER_SAMPLES=OFF -DSDL2MIXER_CMD=OFF \
    -DSDL2MIXER_VENDORED=OFF -DSDL2MIXER_DEPS_SHARED=OFF -DSDL2MIXER_FLAC=OFF \
    -DSDL2MIXER_MOD=OFF -DSDL2MIXER_MIDI=OFF -DSDL2MIXER_OPUS=OFF -DSDL2MIXER_VORBIS=OFF \
    -DSDL2MIXER_WAVE=OFF -DSDL2MIXER_MP3=ON -DSDL2MIXER_MP3_DRMP3=ON \
    -DSDL2MIXER_MP3_MPG123=OFF || return
  win_licence "$deps" SDL2_mixer "$src/LICENSE.txt" "$src/debian/copyright" || return

  # Linked in too: zlib, and the compiler's C, C++ and thread runtimes.
  win_licence "$deps" zlib /usr/share/doc/libz-mingw-w64-dev/copyright || return
  win_licence "$deps" mingw-w64-runtime /usr/share/doc/mingw-w64-x86-64-dev/copyright \
    /usr/share/doc/gcc-mingw-w64-base/copyright || return
}

# --- The zip and its tests -------------------------------------------------------

# Windows' own DLLs that quillory.exe may import: the system libraries of
# every Windows since 7, msvcrt.dll (MinGW-w64's C runtime) among them.
QUILLORY_WIN_SYSTEM_DLLS=(
  advapi32.dll gdi32.dll glu32.dll imm32.dll kernel32.dll msvcrt.dll ole32.dll oleaut32.dll
  opengl32.dll setupapi.dll shell32.dll user32.dll version.dll winmm.dll
)

# win_pack_zip GAME_BUILD: lays out the player's folder and zips it; prints
# the zip's path.
win_pack_zip() {
  local game_build=$1 version name stage licences=$PWD/$QUILLORY_WIN_BUILD/deps/prefix/licences
  version=$(sed -n 's/^CMAKE_PROJECT_VERSION:STATIC=//p' "$game_build/CMakeCache.txt")
  [ -n "$version" ] || { quillory_say "FAILED: no project version in $game_build/CMakeCache.txt"; return 1; }
  [ -f LICENSE ] || { quillory_say "FAILED: the project's LICENSE is missing at the project root"; return 1; }
  name=quillory-$version-windows-x64
  stage=$QUILLORY_WIN_BUILD/$name
  quillory_say "Packing $name.zip"
  rm -rf "$stage" "$QUILLORY_WIN_BUILD/$name.zip"
  mkdir -p "$stage/licences"
  cp "$game_build/quillory.exe" app/windows/README.txt LICENSE "$stage/" &&
    cp -r "$game_build/run/images" "$game_build/run/fonts" "$game_build/run/audio" "$stage/" &&
    cp "$licences"/*.txt "$stage/licences/" &&
    (cd "$QUILLORY_WIN_BUILD" && zip -q -r -9 "$name.zip" "$name") ||
    { quillory_say "FAILED: packing $stage into $name.zip"; return 1; }
  printf '%s\n' "$QUILLORY_WIN_BUILD/$name.zip"
}

# win_check_imports EXE: fails unless every DLL the exe imports is one that
# Windows itself ships, so the player needs nothing beside the exe.
win_check_imports() {
  local exe=$1 dll foreign=()
  mapfile -t imports < <(x86_64-w64-mingw32-objdump -p "$exe" | sed -n 's/^[[:space:]]*DLL Name: //p')
  quillory_say "quillory.exe imports: ${imports[*]}"
  for dll in "${imports[@]}"; do
    [[ " ${QUILLORY_WIN_SYSTEM_DLLS[*]} " == *" ${dll,,} "* ]] || foreign+=("$dll")
  done
  if [ "${#foreign[@]}" -ne 0 ]; then
    quillory_say "FAILED: quillory.exe imports DLLs that Windows does not ship: ${foreign[*]}"
    return 1
  fi
  quillory_say "Import check passed: system DLLs only"
}

# win_prepare_prefix: boots the Wine prefix in WINEPREFIX (slow the first
# time) and makes it look like a Windows machine without a sound device.
win_prepare_prefix() {
  wineboot -i &&
    # No audio driver: Wine's ALSA driver would print the host's complaints
    # about the missing sound card, which a Windows machine does not.
    wine reg add 'HKCU\Software\Wine\Drivers' /v Audio /d '' /f &&
    # Wine copies the X server's DISPLAY into the Windows environment, where
    # Windows has none; freeglut would take it for a display device name and
    # warn. "DISPLAY" is the name of the screen device on Windows.
    wine reg add 'HKCU\Environment' /v DISPLAY /d DISPLAY /f
}

# win_play_test ZIP: plays the end-to-end whole-game test against the
# unpacked zip's quillory.exe, started as "wine quillory.exe", in a Wine prefix
# and under an X server of this run's own.
win_play_test() {
  local zip=$1 work status=0 logs=$PWD/$QUILLORY_WIN_BUILD/logs
  # The test program and its helpers come from the Linux build.
  quillory_build build || { quillory_say "FAILED: the Linux build of the test program"; return 1; }
  work=$(mktemp -d)
  unzip -q "$zip" -d "$work/unpacked" || { quillory_say "FAILED: unpacking $zip"; return 1; }
  (
    set -e
    quillory_start_xvfb
    trap quillory_stop_xvfb EXIT
    export WINEPREFIX=$work/wine WINEARCH=win64 WINEDEBUG=-all
    # No .NET or HTML engine: Wine would otherwise offer to download them.
    export WINEDLLOVERRIDES="mscoree,mshtml="
    quillory_step "Preparing a fresh Wine prefix" "$logs/wineboot.log" win_prepare_prefix
    export QUILLORY_GAME_FOLDER
    QUILLORY_GAME_FOLDER=$(echo "$work"/unpacked/quillory-*)
    export QUILLORY_GAME_COMMAND="wine quillory.exe"
    quillory_step "Playing a whole game against wine quillory.exe" "$logs/play-test.log" \
      env LC_ALL=C build/tests/e2e/e2e_tests --gtest_filter='PlayTest.*'
  ) || status=$?
  WINEPREFIX=$work/wine wineserver -k 2>/dev/null || true
  rm -rf "$work"
  return "$status"
}
