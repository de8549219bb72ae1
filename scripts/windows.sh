# windows.sh: the steps of the Windows build, sourced by ./windows from the
# project root, after scripts/debian_sources.sh. Fetches the libraries'
# Debian source packages, cross-builds them once into a cache, then builds
# quillory.exe and packs the zip. Every long step logs to a file, shows that
# it is alive, and on failure says what failed, where the log is, and shows
# the log's tail.

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

# --- The libraries ---------------------------------------------------------------

# win_cmake_library DEPS NAME SOURCE OPTIONS...: configures, builds and
# installs one library into DEPS/prefix, static, with the Windows toolchain.
win_cmake_library() {
  local deps=$1
  shift
  debian_cmake_library "$deps" "$QUILLORY_WIN_TOOLCHAIN" Windows "$@" \
    -DQUILLORY_WINDOWS_PREFIX="$deps/prefix"
}

# win_build_dependencies: the libraries linked into quillory.exe, built from
# Debian's sources once into $QUILLORY_WIN_BUILD/deps; a rebuild reuses them.
win_build_dependencies() {
  local deps=$PWD/$QUILLORY_WIN_BUILD/deps src
  debian_fetch_sources "$deps" "${QUILLORY_WIN_SOURCES[@]}" || return

  # zlib is Debian's own MinGW build of it (libz-mingw-w64-dev).
  local zlib=(-DZLIB_LIBRARY="$QUILLORY_WIN_SYSROOT/lib/libz.a" -DZLIB_INCLUDE_DIR="$QUILLORY_WIN_SYSROOT/include")

  src=$(debian_source_dir "$deps" libpng1.6) || return
  win_cmake_library "$deps" libpng "$src" "${zlib[@]}" "${DEBIAN_PNG_OPTIONS[@]}" || return
  debian_licence "$deps" libpng "$src/LICENSE" "$src/debian/copyright" || return

  src=$(debian_source_dir "$deps" freetype) || return
  win_cmake_library "$deps" freetype "$src" "${zlib[@]}" "${DEBIAN_FREETYPE_OPTIONS[@]}" || return
  debian_licence "$deps" freetype "$src/docs/FTL.TXT" "$src/debian/copyright" || return

  src=$(debian_source_dir "$deps" freeglut) || return
  win_cmake_library "$deps" freeglut "$src" -DFREEGLUT_BUILD_SHARED_LIBS=OFF \
    -DFREEGLUT_BUILD_STATIC_LIBS=ON -DFREEGLUT_BUILD_DEMOS=OFF -DFREEGLUT_GLES=OFF || return
  debian_licence "$deps" freeglut "$src/COPYING" "$src/debian/copyright" || return

  # Not without video: SDL's Windows build needs the video code all the same.
  src=$(debian_source_dir "$deps" libsdl2) || return
  win_cmake_library "$deps" SDL2 "$src" "${DEBIAN_SDL2_OPTIONS[@]}" || return
  debian_licence "$deps" SDL2 "$src/LICENSE.txt" "$src/debian/copyright" || return

  src=$(debian_source_dir "$deps" libsdl2-mixer) || return
  win_cmake_library "$deps" SDL2_mixer "$src" "${DEBIAN_SDL2_MIXER_OPTIONS[@]}" || return
  debian_licence "$deps" SDL2_mixer "$src/LICENSE.txt" "$src/debian/copyright" || return

  # Linked in too: zlib, and the compiler's C, C++ and thread runtimes.
  debian_licence "$deps" zlib /usr/share/doc/libz-mingw-w64-dev/copyright || return
  debian_licence "$deps" mingw-w64-runtime /usr/share/doc/mingw-w64-x86-64-dev/copyright \
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
    quillory_step "Playing a whole game, and a turn in German, against wine quillory.exe" "$logs/play-test.log" \
      env LC_ALL=C build/tests/e2e/e2e_tests --gtest_filter='PlayTest.*:LanguageTest.*'
  ) || status=$?
  WINEPREFIX=$work/wine wineserver -k 2>/dev/null || true
  rm -rf "$work"
  return "$status"
}
