# emscripten.cmake: CMake toolchain for the browser build, with Debian's
# emscripten package (on Debian's clang and binaryen, whichever versions the
# release ships).
#
# Used by ./web for the game and by cmake/libraries/ for the libraries it
# builds from Debian's sources. It wraps Debian's own Emscripten toolchain
# file and works around what that file gets wrong with the node this machine
# runs. QUILLORY_WEB_PREFIX, when set, is the folder those libraries are
# installed into; find_* calls look there and in Emscripten's sysroot only.
set(QUILLORY_EMSCRIPTEN_ROOT /usr/share/emscripten)

# Debian's toolchain file would make the plain `node` the emulator that runs
# try_run checks and node-run programs, and emcmake would add a flag node 20
# rejects; so the emulator is set here, before that file is read. Its
# NODE_PATH, where Emscripten's JavaScript modules are, comes from
# scripts/setup.sh. --no-experimental-fetch: under node 20 the generated
# loader sees a global fetch and uses it to read the .wasm by file path,
# which fails.
find_program(QUILLORY_NODE NAMES node nodejs REQUIRED)
set(CMAKE_CROSSCOMPILING_EMULATOR ${QUILLORY_NODE} --no-experimental-fetch
  CACHE STRING "Runs a program built for the browser under node")

include(${QUILLORY_EMSCRIPTEN_ROOT}/cmake/Modules/Platform/Emscripten.cmake)

if(DEFINED ENV{QUILLORY_WEB_PREFIX})
  set(QUILLORY_WEB_PREFIX $ENV{QUILLORY_WEB_PREFIX})
endif()
if(QUILLORY_WEB_PREFIX)
  list(PREPEND CMAKE_FIND_ROOT_PATH ${QUILLORY_WEB_PREFIX})
endif()

# C++ exceptions are off in Emscripten unless asked for at both compiling and
# linking; the game throws when its font fails to load, and must report that
# rather than abort.
set(CMAKE_CXX_FLAGS_INIT -fexceptions)
set(CMAKE_EXE_LINKER_FLAGS_INIT -fexceptions)
