# windows_dependencies.cmake: the libraries of the Windows build, as the same
# targets the Linux build gets from find_package and pkg-config.
#
# Included by the top CMakeLists.txt when building for Windows. The libraries
# are static, cross-built by scripts/windows.sh from Debian's source packages
# into QUILLORY_WINDOWS_PREFIX; OpenGL, GLU and the Windows system libraries
# come with the compiler. Static libraries carry no list of what they need in
# turn, so each target names the Windows system libraries of its library.
if(NOT QUILLORY_WINDOWS_PREFIX OR NOT EXISTS ${QUILLORY_WINDOWS_PREFIX}/lib)
  message(FATAL_ERROR "QUILLORY_WINDOWS_PREFIX must name the libraries built by ./windows")
endif()
set(prefix ${QUILLORY_WINDOWS_PREFIX})

find_package(OpenGL REQUIRED COMPONENTS OpenGL)
find_library(QUILLORY_ZLIB NAMES libz.a REQUIRED)

# quillory_windows_library(TARGET FILE [INCLUDES dir...] [DEFINES def...] [LIBS lib...])
function(quillory_windows_library target file)
  cmake_parse_arguments(L "" "" "INCLUDES;DEFINES;LIBS" ${ARGN})
  if(NOT EXISTS ${prefix}/lib/${file})
    message(FATAL_ERROR "${prefix}/lib/${file} is missing: run ./windows to build the libraries")
  endif()
  add_library(${target} STATIC IMPORTED GLOBAL)
  set_target_properties(${target} PROPERTIES
    IMPORTED_LOCATION ${prefix}/lib/${file}
    INTERFACE_INCLUDE_DIRECTORIES "${prefix}/include;${L_INCLUDES}"
    INTERFACE_COMPILE_DEFINITIONS "${L_DEFINES}"
    INTERFACE_LINK_LIBRARIES "${L_LIBS}")
endfunction()

quillory_windows_library(PNG::PNG libpng16.a LIBS ${QUILLORY_ZLIB})
quillory_windows_library(Freetype::Freetype libfreetype.a INCLUDES ${prefix}/include/freetype2
  LIBS ${QUILLORY_ZLIB})
# FREEGLUT_STATIC: the header declares the functions for static linking, not
# as imports from freeglut.dll.
quillory_windows_library(GLUT::GLUT libfreeglut_static.a DEFINES FREEGLUT_STATIC
  LIBS OpenGL::GLU OpenGL::GL gdi32 winmm user32)
# SDL's audio drivers (WASAPI, DirectSound, winmm) and its Windows helpers.
quillory_windows_library(quillory_sdl2 libSDL2.a INCLUDES ${prefix}/include/SDL2
  LIBS kernel32 user32 gdi32 winmm imm32 ole32 oleaut32 version uuid advapi32 setupapi shell32)
quillory_windows_library(PkgConfig::SDL2_MIXER libSDL2_mixer.a INCLUDES ${prefix}/include/SDL2
  LIBS quillory_sdl2)
