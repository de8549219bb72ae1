# web.sh: the steps of the browser build, sourced by ./web from the project
# root, after scripts/debian_sources.sh. Fetches the libraries' Debian source
# packages, builds them once with Debian's emcc into a cache, then builds the
# game into quillory.js, .wasm and .data and packs the static site's zip.
# Every long step logs to a file under build-web/logs/ or build-web/deps/logs/.

QUILLORY_WEB_BUILD=${QUILLORY_WEB_BUILD:-build-web}
QUILLORY_WEB_TOOLCHAIN=cmake/emscripten.cmake
# Debian packages the browser build needs on the build machine.
QUILLORY_WEB_PACKAGES=(emscripten nodejs cmake ninja-build make dpkg-dev zip unzip fonts-anonymous-pro)
# The browser tests: headless Chromium, WebKitGTK's browser driven over
# WebDriver under an X server with Mesa's GL, and a local web server.
QUILLORY_WEB_TEST_PACKAGES=(chromium webkit2gtk-driver xvfb libgl1-mesa-dri python3)
# The Debian binary packages whose source packages are built with emcc, in build order.
QUILLORY_WEB_SOURCES=(zlib1g-dev libpng-dev libfreetype-dev libsdl2-dev libsdl2-mixer-dev)
# The page's icon: the game's own, at the size browsers show in a tab.
QUILLORY_WEB_ICON=assets/icons/quillory_32.png

QUILLORY_LOG_DIR=$QUILLORY_WEB_BUILD/logs

# Emscripten runs node for its JavaScript passes, and its node modules are
# Debian packages under /usr/share/nodejs, which a node that is not Debian's
# own does not search.
export NODE_PATH=/usr/share/nodejs

# --- The libraries ---------------------------------------------------------------

# web_cmake_library DEPS NAME SOURCE OPTIONS...: configures, builds and
# installs one library into DEPS/prefix with emcc, static.
web_cmake_library() {
  local deps=$1
  shift
  debian_cmake_library "$deps" "$QUILLORY_WEB_TOOLCHAIN" "the browser" "$@" \
    -DQUILLORY_WEB_PREFIX="$deps/prefix"
}

# web_zlib_install DEPS SOURCE: zlib through its own configure script; its
# CMake build needs files that Debian's trimmed source tarball leaves out.
# The script builds in the source tree, so it runs in a copy of it.
web_zlib_install() {
  local deps=$1 src=$2
  rm -rf "$deps/build/zlib"
  mkdir -p "$deps/build"
  cp -r "$src" "$deps/build/zlib"
  (cd "$deps/build/zlib" &&
    emconfigure ./configure --static --prefix="$deps/prefix" &&
    emmake make -j "${QUILLORY_JOBS:-2}" libz.a &&
    emmake make install)
}

# web_build_dependencies: the libraries linked into the game, built from
# Debian's sources once into $QUILLORY_WEB_BUILD/deps; a rebuild reuses them.
web_build_dependencies() {
  local deps=$PWD/$QUILLORY_WEB_BUILD/deps src
  debian_fetch_sources "$deps" "${QUILLORY_WEB_SOURCES[@]}" || return

  src=$(debian_source_dir "$deps" zlib) || return
  debian_cached_step "$deps/stamps/zlib" "Building zlib for the browser" "$deps/logs/zlib.log" \
    web_zlib_install "$deps" "$src" || return
  debian_licence "$deps" zlib "$src/debian/copyright" || return
  local zlib=(-DZLIB_LIBRARY="$deps/prefix/lib/libz.a" -DZLIB_INCLUDE_DIR="$deps/prefix/include")

  # No SIMD paths: they are written for CPUs, not for WebAssembly.
  src=$(debian_source_dir "$deps" libpng1.6) || return
  web_cmake_library "$deps" libpng "$src" "${zlib[@]}" "${DEBIAN_PNG_OPTIONS[@]}" \
    -DPNG_HARDWARE_OPTIMIZATIONS=OFF || return
  debian_licence "$deps" libpng "$src/LICENSE" "$src/debian/copyright" || return

  src=$(debian_source_dir "$deps" freetype) || return
  web_cmake_library "$deps" freetype "$src" "${zlib[@]}" "${DEBIAN_FREETYPE_OPTIONS[@]}" || return
  debian_licence "$deps" freetype "$src/docs/FTL.TXT" "$src/debian/copyright" || return

  # SDL plays into the page's Web Audio context. GLUT owns the canvas, so
  # SDL's video is left out; so are threads, which a page has only when its
  # server sends extra headers.
  src=$(debian_source_dir "$deps" libsdl2) || return
  web_cmake_library "$deps" SDL2 "$src" "${DEBIAN_SDL2_OPTIONS[@]}" -DSDL_VIDEO=OFF \
    -DSDL_THREADS=OFF || return
  debian_licence "$deps" SDL2 "$src/LICENSE.txt" "$src/debian/copyright" || return

  src=$(debian_source_dir "$deps" libsdl2-mixer) || return
  web_cmake_library "$deps" SDL2_mixer "$src" "${DEBIAN_SDL2_MIXER_OPTIONS[@]}" || return
  debian_licence "$deps" SDL2_mixer "$src/LICENSE.txt" "$src/debian/copyright" || return

  # Linked in too: Emscripten's runtime and its C and C++ libraries.
  debian_licence "$deps" emscripten-runtime /usr/share/doc/emscripten/copyright || return
}

# --- The game and its folder -------------------------------------------------------

# web_build_game: configures and builds quillory.js, .wasm and .data in
# $QUILLORY_WEB_BUILD/game, against the libraries of web_build_dependencies.
web_build_game() {
  local game_build=$QUILLORY_WEB_BUILD/game
  quillory_say "Compiler: Debian's emscripten $(emcc -dumpversion), with clang $(clang-14 -dumpversion)"
  quillory_step "Configuring the browser build in $game_build" "$QUILLORY_LOG_DIR/game-configure.log" \
    cmake -S . -B "$game_build" -G Ninja -DCMAKE_TOOLCHAIN_FILE="$PWD/$QUILLORY_WEB_TOOLCHAIN" \
    -DQUILLORY_WEB_PREFIX="$PWD/$QUILLORY_WEB_BUILD/deps/prefix" -DCMAKE_BUILD_TYPE=Release \
    -DQUILLORY_TESTS=OFF -DQUILLORY_BENCH=OFF || return
  quillory_step "Building quillory.js, quillory.wasm and quillory.data" "$QUILLORY_LOG_DIR/game-build.log" \
    cmake --build "$game_build" -j "${QUILLORY_JOBS:-2}"
}

# web_pack_zip: lays out the static web folder and zips its contents, with
# index.html at the zip's root as game portals expect; prints the folder's
# path (the zip is that path with .zip).
web_pack_zip() {
  local game_build=$QUILLORY_WEB_BUILD/game version name site
  local licences=$QUILLORY_WEB_BUILD/deps/prefix/licences
  version=$(sed -n 's/^CMAKE_PROJECT_VERSION:STATIC=//p' "$game_build/CMakeCache.txt")
  [ -n "$version" ] || { quillory_say "FAILED: no project version in $game_build/CMakeCache.txt"; return 1; }
  name=quillory-$version-web
  site=$QUILLORY_WEB_BUILD/$name
  quillory_say "Packing $name.zip"
  rm -rf "$site" "$site.zip"
  mkdir -p "$site/licences"
  cp app/web/index.html "$game_build"/quillory.{js,wasm,data} LICENSE "$site/" &&
    cp "$QUILLORY_WEB_ICON" "$site/favicon.png" &&
    cp "$licences"/*.txt "$site/licences/" &&
    cp "$game_build/run/fonts/courier-LICENSE.txt" "$site/licences/font-anonymous-pro.txt" &&
    node scripts/web_languages.mjs "$game_build/run" "$site" >&2 &&
    (cd "$site" && zip -q -r -9 "../$name.zip" .) ||
    { quillory_say "FAILED: packing $site into $name.zip"; return 1; }
  printf '%s\n' "$site"
}

# web_report_sizes SITE: says what a player downloads: each of the program's
# files raw and gzip-compressed, as a web server would send it.
web_report_sizes() {
  local site=$1 file
  for file in "$site"/quillory.{wasm,js,data}; do
    quillory_say "  $(basename "$file"): $(stat -c %s "$file") bytes, $(gzip -9 -c "$file" | wc -c) gzipped"
  done
}

# web_serve SITE: serves the folder on 127.0.0.1 until Ctrl+C, on
# QUILLORY_WEB_PORT when free, otherwise on any free port.
web_serve() {
  local site=$1 port
  port=$(python3 - "${QUILLORY_WEB_PORT:-8000}" <<'PY'
import socket, sys
s = socket.socket()
try:
    s.bind(("127.0.0.1", int(sys.argv[1])))
except OSError:
    s.bind(("127.0.0.1", 0))
print(s.getsockname()[1])
PY
  ) || return
  quillory_say "Open http://127.0.0.1:$port/ in a browser to play; Ctrl+C stops the server"
  python3 -m http.server --bind 127.0.0.1 --directory "$site" "$port"
}
