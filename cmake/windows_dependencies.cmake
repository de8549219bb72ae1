# windows_dependencies.cmake: the libraries of the Windows build, as the same
# targets the Linux build gets from find_package and pkg-config.
#
# Included by the top CMakeLists.txt when building for Windows. The libraries
# are static, cross-built by cmake/libraries/ from Debian's source packages
# into QUILLORY_WINDOWS_PREFIX; OpenGL, GLU and the Windows system libraries
# come with the compiler. Static libraries carry no list of what they need in
# turn, so each target names the Windows system libraries of its library.
if(NOT QUILLORY_WINDOWS_PREFIX OR NOT EXISTS ${QUILLORY_WINDOWS_PREFIX}/lib)
  message(FATAL_ERROR "QUILLORY_WINDOWS_PREFIX must name the libraries built by ./windows")
endif()

find_package(OpenGL REQUIRED COMPONENTS OpenGL)
find_library(QUILLORY_ZLIB NAMES libz.a REQUIRED)

include(${CMAKE_CURRENT_LIST_DIR}/prefix_library.cmake)
set(prefix ${QUILLORY_WINDOWS_PREFIX})

quillory_prefix_library(PNG::PNG ${prefix} libpng16.a LIBS ${QUILLORY_ZLIB})
quillory_prefix_library(Freetype::Freetype ${prefix} libfreetype.a
  INCLUDES ${prefix}/include/freetype2
  LIBS ${QUILLORY_ZLIB})
# FREEGLUT_STATIC: the header declares the functions for static linking, not
# as imports from freeglut.dll.
quillory_prefix_library(GLUT::GLUT ${prefix} libfreeglut_static.a DEFINES FREEGLUT_STATIC
  LIBS OpenGL::GLU OpenGL::GL gdi32 winmm user32)
# SDL's audio drivers (WASAPI, DirectSound, winmm) and its Windows helpers.
quillory_prefix_library(quillory_sdl2 ${prefix} libSDL2.a INCLUDES ${prefix}/include/SDL2
  LIBS kernel32 user32 gdi32 winmm imm32 ole32 oleaut32 version uuid advapi32 setupapi shell32)
quillory_prefix_library(PkgConfig::SDL2_MIXER ${prefix} libSDL2_mixer.a
  INCLUDES ${prefix}/include/SDL2
  LIBS quillory_sdl2)
