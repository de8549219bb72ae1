# mingw-w64-x86_64.cmake: CMake toolchain for 64-bit Windows, cross-built on
# Debian with g++-mingw-w64-x86-64-posix (the posix-threads variant, whose
# libstdc++ has std::thread, which the screen images' decoders use).
#
# Used by ./windows for the game and by cmake/libraries/ for the libraries
# it builds. QUILLORY_WINDOWS_PREFIX, when set, is the folder those
# libraries are installed into; find_* calls look there and in the compiler's
# own sysroot only, never in the build machine's /usr.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)

set(QUILLORY_MINGW_TRIPLET x86_64-w64-mingw32)
set(CMAKE_C_COMPILER ${QUILLORY_MINGW_TRIPLET}-gcc-posix)
set(CMAKE_CXX_COMPILER ${QUILLORY_MINGW_TRIPLET}-g++-posix)
set(CMAKE_RC_COMPILER ${QUILLORY_MINGW_TRIPLET}-windres)
set(CMAKE_AR ${QUILLORY_MINGW_TRIPLET}-gcc-ar-posix)
set(CMAKE_RANLIB ${QUILLORY_MINGW_TRIPLET}-gcc-ranlib-posix)

set(CMAKE_FIND_ROOT_PATH /usr/${QUILLORY_MINGW_TRIPLET})
if(DEFINED ENV{QUILLORY_WINDOWS_PREFIX})
  set(QUILLORY_WINDOWS_PREFIX $ENV{QUILLORY_WINDOWS_PREFIX})
endif()
if(QUILLORY_WINDOWS_PREFIX)
  list(PREPEND CMAKE_FIND_ROOT_PATH ${QUILLORY_WINDOWS_PREFIX})
endif()
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

# One self-contained exe: the C and C++ runtimes and winpthreads are linked in,
# so the player needs no MinGW DLL beside it.
set(CMAKE_EXE_LINKER_FLAGS_INIT -static)
