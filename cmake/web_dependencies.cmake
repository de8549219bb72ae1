# web_dependencies.cmake: the libraries of the browser build, as the same
# targets the Linux build gets from find_package and pkg-config, and the link
# settings of the page's program.
#
# Included by the top CMakeLists.txt when building with Emscripten (the
# toolchain is cmake/emscripten.cmake). zlib, libpng, FreeType, SDL2 and
# SDL2_mixer are static, built by cmake/libraries/ with emcc from Debian's
# source packages into QUILLORY_WEB_PREFIX, and linked by path: Emscripten's
# ports of them come from a frozen cache and would try to download (the flag
# -lSDL2_mixer silently maps to such a port). WebGL and GLUT are
# Emscripten's own JavaScript libraries, which emcc links by itself; the
# OpenGL 1.x and GLU calls on top of WebGL are browser/legacy_gl.cpp's.
if(NOT QUILLORY_WEB_PREFIX OR NOT EXISTS ${QUILLORY_WEB_PREFIX}/lib)
  message(FATAL_ERROR "QUILLORY_WEB_PREFIX must name the libraries built by ./web")
endif()

include(${CMAKE_CURRENT_LIST_DIR}/prefix_library.cmake)
set(prefix ${QUILLORY_WEB_PREFIX})

quillory_prefix_library(quillory_zlib ${prefix} libz.a)
quillory_prefix_library(PNG::PNG ${prefix} libpng16.a LIBS quillory_zlib)
quillory_prefix_library(Freetype::Freetype ${prefix} libfreetype.a
  INCLUDES ${prefix}/include/freetype2
  LIBS quillory_zlib)
quillory_prefix_library(quillory_sdl2 ${prefix} libSDL2.a INCLUDES ${prefix}/include/SDL2)
quillory_prefix_library(PkgConfig::SDL2_MIXER ${prefix} libSDL2_mixer.a
  INCLUDES ${prefix}/include/SDL2
  LIBS quillory_sdl2)

# GL, GLU and GLUT: headers in Emscripten's sysroot, code linked by emcc.
foreach(target OpenGL::GL OpenGL::GLU GLUT::GLUT)
  add_library(${target} INTERFACE IMPORTED GLOBAL)
endforeach()
# The sysroot has only the standard part of freeglut's headers; browser/
# supplies the <GL/freeglut.h> the game includes.
set_target_properties(GLUT::GLUT PROPERTIES
  INTERFACE_INCLUDE_DIRECTORIES ${PROJECT_SOURCE_DIR}/browser/include)

# The program's link settings, each one for a reason:
set(QUILLORY_WEB_LINK_OPTIONS
  # The game's OpenGL 1.x is drawn by browser/legacy_gl.cpp on WebGL 1;
  # html5.h's context-loss events tell it when to make its objects again.
  # The drawings grow all game long; the heap grows with them.
  -sALLOW_MEMORY_GROWTH
  # Emscripten enables every WebGL extension the browser offers when it makes
  # the context, a few tens of ms before the first frame with SwiftShader;
  # the GL layer uses WebGL 1 alone and enables none.
  -sGL_SUPPORT_AUTOMATIC_ENABLE_EXTENSIONS=0
  # SDL's audio, built outside Emscripten's ports, calls these from its
  # JavaScript without declaring them; without them opening the audio device
  # fails with a ReferenceError. autoResumeAudioContext also starts the music
  # at the first click or key, as browsers allow sound only after one. The
  # names start with "$", which CMake's escaping garbles on a command line,
  # so they are read from a file.
  -sDEFAULT_LIBRARY_FUNCS_TO_INCLUDE=@${CMAKE_CURRENT_LIST_DIR}/web_library_functions.txt)
