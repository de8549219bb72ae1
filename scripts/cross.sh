# cross.sh: the one recipe of the cross builds, sourced by ./windows and ./web
# after scripts/setup.sh. Builds the libraries from Debian's source packages
# (cmake/libraries/, cached after the first run), configures and builds the
# game with the platform's toolchain file, then lays out the player's folder
# and packs its zip from the game's install rules with CPack (packaging/).
# Every step logs under build-PLATFORM/logs/ or build-PLATFORM/deps/logs/.

# cross_build PLATFORM: windows or web. Sets CROSS_GAME (the game's build
# folder), CROSS_ZIP and CROSS_FOLDER (the zip's contents, unpacked).
cross_build() {
  local platform=$1 toolchain prefix_variable options=() build deps started=$SECONDS
  case $platform in
    windows) toolchain=cmake/mingw-w64-x86_64.cmake prefix_variable=QUILLORY_WINDOWS_PREFIX
      options=(-DCMAKE_EXE_LINKER_FLAGS_RELEASE=-s) ;; # the player gets no debugging symbols
    web) toolchain=cmake/emscripten.cmake prefix_variable=QUILLORY_WEB_PREFIX ;;
  esac
  build=build-$platform
  deps=$PWD/$build/deps
  CROSS_GAME=$build/game
  QUILLORY_LOG_DIR=$build/logs
  quillory_step "Building the libraries from Debian's source packages in $build/deps/" \
    "$(quillory_log libraries)" cross_cmake cmake/libraries "$deps/build" \
    -DQUILLORY_PLATFORM="$platform" -DQUILLORY_TOOLCHAIN="$PWD/$toolchain" \
    -DQUILLORY_LOG_DIR="$deps/logs" -DCMAKE_INSTALL_PREFIX="$deps/prefix" || return
  sed -n 's/^USING: //p' "$deps"/logs/*-download.log >"$deps/logs/sources.log"
  quillory_say "Debian's sources used: $(paste -s -d ',' "$deps/logs/sources.log" | sed 's/,/, /g')"

  quillory_step "Building the game in $CROSS_GAME/" "$(quillory_log game)" cross_cmake . "$CROSS_GAME" \
    -DCMAKE_TOOLCHAIN_FILE="$PWD/$toolchain" -D"$prefix_variable=$deps/prefix" \
    -DCMAKE_BUILD_TYPE=Release -DQUILLORY_TESTS=OFF -DQUILLORY_BENCH=OFF "${options[@]}" || return
  quillory_say "Compiler: $(cross_compiler "$CROSS_GAME")"

  quillory_step "Packing the zip with CPack" "$(quillory_log cpack)" cmake -E chdir "$CROSS_GAME" cpack || return
  CROSS_ZIP=$(sed -n 's/^CPack: - package: \(.*\) generated\.$/\1/p' "$QUILLORY_LOG_DIR/cpack.log")
  mv "$CROSS_ZIP" "$build/"
  CROSS_ZIP=$build/$(basename "$CROSS_ZIP")
  CROSS_FOLDER=${CROSS_ZIP%.zip}
  rm -rf "$CROSS_FOLDER"
  quillory_step "Laying out $CROSS_FOLDER/" "$(quillory_log folder)" \
    cmake --install "$CROSS_GAME" --prefix "$CROSS_FOLDER" || return
  quillory_say "Built $CROSS_ZIP ($(du -k "$CROSS_ZIP" | cut -f1) KiB) in $((SECONDS - started)) s"
}

# cross_cmake SOURCE BUILD OPTION...: configures BUILD from SOURCE with Ninja, then builds it.
cross_cmake() {
  cmake -S "$1" -B "$2" -G Ninja "${@:3}" && cmake --build "$2"
}

# cross_compiler BUILD: the compiler the toolchain file chose: its own first
# line of --version, and the compiler underneath as CMake identified it.
cross_compiler() {
  local found=$1/CMakeFiles/*/CMakeCXXCompiler.cmake compiler
  compiler=$(sed -n 's/^set(CMAKE_CXX_COMPILER "\(.*\)")$/\1/p' $found)
  printf '%s (%s %s)\n' "$("$compiler" --version | head -n 1)" \
    "$(sed -n 's/^set(CMAKE_CXX_COMPILER_ID "\(.*\)")$/\1/p' $found)" \
    "$(sed -n 's/^set(CMAKE_CXX_COMPILER_VERSION "\(.*\)")$/\1/p' $found)"
}
