# cpack.cmake: every archive of the game, packed by CPack from what the
# install rules (packaging/install.cmake) lay down: the Debian package on
# Linux, and the zips of Windows and of the browser's web folder. Included
# from the top CMakeLists after the install rules; `cpack` in the build
# folder packs (./package, ./windows and ./web run it). The version is the
# project's.
set(CPACK_PACKAGE_NAME quillory)
set(CPACK_PACKAGE_VENDOR "The Quillory developers")
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "two-player pass-and-play drawing game")
set(CPACK_PACKAGE_DESCRIPTION
    "Quillory is a drawing game for two players who share one computer, one mouse
and one keyboard. In a turn a player draws on the canvas in one of ten
colours, then writes a line about the picture, and passes the mouse on; the
partner's line shows under the canvas while the next picture is drawn.
Pictures keep growing over every turn, and at the end both are shown side by
side.")

if(WIN32 OR EMSCRIPTEN)
  set(CPACK_GENERATOR ZIP)
  if(WIN32)
    # The zip unzips into a folder of its own.
    set(CPACK_PACKAGE_FILE_NAME quillory-${PROJECT_VERSION}-windows-x64)
  else()
    # index.html at the zip's root, as game portals that take an HTML5 zip expect.
    set(CPACK_PACKAGE_FILE_NAME quillory-${PROJECT_VERSION}-web)
    set(CPACK_INCLUDE_TOPLEVEL_DIRECTORY OFF)
  endif()
  include(CPack)
  return()
endif()

# The Debian package. Dependencies come from dpkg-shlibdeps, plus the font
# package the font link points into, and the sound libraries, which the game
# loads by name once its first frame is on screen (Mix_OpenAudioDevice came
# with SDL_mixer 2.0.2).
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGING_INSTALL_PREFIX ${CMAKE_INSTALL_PREFIX})
# Stage through DESTDIR, so the install rules see the real prefix (the font
# link is computed from it).
set(CPACK_SET_DESTDIR ON)
set(CPACK_STRIP_FILES ON)
set(CPACK_INSTALL_DEFAULT_DIRECTORY_PERMISSIONS ${CMAKE_INSTALL_DEFAULT_DIRECTORY_PERMISSIONS})

set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_MAINTAINER ${QUILLORY_MAINTAINER})
set(CPACK_DEBIAN_PACKAGE_SECTION games)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_DEPENDS "fonts-anonymous-pro, libsdl2-2.0-0, libsdl2-mixer-2.0-0 (>= 2.0.2)")
set(CPACK_DEBIAN_PACKAGE_GENERATE_SHLIBS OFF)

include(CPack)
