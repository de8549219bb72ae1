# install.cmake: what each platform ships, as install() rules, included from
# the top CMakeLists; packaging/cpack.cmake packs it. Where each platform's
# files are declared, one install() line per file or folder:
#   Linux, the Debian game (the .deb, `cmake --install`): this file, below
#   Windows, the player's folder in the zip: packaging/install_windows.cmake
#   the browser, the static web folder and its zip: packaging/install_web.cmake
# Every platform installs assets/images/ and assets/audio/ as whole folders,
# so a picture added there, in a subfolder too, ships without a new line.
if(WIN32)
  include(${CMAKE_CURRENT_LIST_DIR}/install_windows.cmake)
  return()
elseif(EMSCRIPTEN)
  include(${CMAKE_CURRENT_LIST_DIR}/install_web.cmake)
  return()
endif()

# Linux: the program goes to lib/games/quillory/, its launcher to games/, its
# data to share/games/quillory/, and the desktop entry, AppStream metainfo,
# icons, manual page, changelog and copyright to the places the desktop and
# Debian look for them. The desktop entry and the metainfo carry every
# language of po/ (msgfmt merges the catalogues in), and the data folder a
# run folder per language. The default prefix is /usr/local; ./package
# installs with /usr.
include(GNUInstallDirs)

set(QUILLORY_APP_ID io.github.quillory.Quillory)
# The one release date of this version, for the changelog, metainfo and manual.
set(QUILLORY_RELEASE_DATE 2026-12-08)
set(QUILLORY_RELEASE_DATE_RFC2822 "Tue, 08 Dec 2026 23:00:00 +0000")
# A placeholder address until the project has a mailing list.
set(QUILLORY_MAINTAINER "The Quillory developers <quillory@example.org>" CACHE STRING
    "Maintainer of the Debian package: name <address>")

# Debian's games layout; GNUInstallDirs has no names for these folders.
set(QUILLORY_INSTALL_GAMESDIR games CACHE STRING "Launcher folder, under the prefix")
set(QUILLORY_INSTALL_PROGRAMDIR lib/games/quillory CACHE STRING "Program folder, under the prefix")
set(QUILLORY_INSTALL_DATADIR ${CMAKE_INSTALL_DATADIR}/games/quillory CACHE STRING
    "Data folder (images, fonts, audio), under the prefix")
set(QUILLORY_INSTALL_DOCDIR ${CMAKE_INSTALL_DATADIR}/doc/quillory)
foreach(dir GAMESDIR PROGRAMDIR DATADIR)
  set(QUILLORY_FULL_${dir} ${CMAKE_INSTALL_PREFIX}/${QUILLORY_INSTALL_${dir}})
endforeach()

# Folders the installer makes are rwxr-xr-x whatever the umask.
set(CMAKE_INSTALL_DEFAULT_DIRECTORY_PERMISSIONS
    OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ GROUP_EXECUTE WORLD_READ WORLD_EXECUTE)

# The launcher finds the program and data relative to itself.
file(RELATIVE_PATH QUILLORY_DATA_FROM_LAUNCHER ${QUILLORY_FULL_GAMESDIR} ${QUILLORY_FULL_DATADIR})
file(RELATIVE_PATH QUILLORY_PROGRAM_FROM_LAUNCHER ${QUILLORY_FULL_GAMESDIR}
     ${QUILLORY_FULL_PROGRAMDIR}/quillory)
set(packaging ${PROJECT_SOURCE_DIR}/packaging)
set(generated ${PROJECT_BINARY_DIR}/packaging)
# The launcher chooses the language with the piece ./play sources too.
file(READ ${packaging}/language.sh QUILLORY_LANGUAGE_CHOICE)
configure_file(${packaging}/quillory.in ${generated}/quillory @ONLY)
configure_file(${packaging}/${QUILLORY_APP_ID}.metainfo.xml.in
               ${generated}/english/${QUILLORY_APP_ID}.metainfo.xml @ONLY)
configure_file(${packaging}/quillory.6.in ${generated}/quillory.6 @ONLY)
configure_file(${packaging}/changelog.in ${generated}/changelog @ONLY)

# Debian wants the manual page and changelog compressed, without a time stamp.
find_program(QUILLORY_GZIP gzip REQUIRED)
set(compressed)
foreach(name quillory.6 changelog)
  add_custom_command(OUTPUT ${generated}/${name}.gz
    COMMAND ${QUILLORY_GZIP} -9nc ${generated}/${name} > ${generated}/${name}.gz
    DEPENDS ${generated}/${name}
    COMMENT "Compressing ${name}")
  list(APPEND compressed ${generated}/${name}.gz)
endforeach()
add_custom_target(compressed_docs ALL DEPENDS ${compressed})

# The desktop entry and the metainfo in every language, from the catalogues.
find_program(QUILLORY_MSGFMT msgfmt REQUIRED)
set(po_dir ${PROJECT_SOURCE_DIR}/po)
file(GLOB catalogues CONFIGURE_DEPENDS ${po_dir}/*.po)
add_custom_command(OUTPUT ${generated}/${QUILLORY_APP_ID}.desktop
  COMMAND ${QUILLORY_MSGFMT} --desktop --template=${packaging}/${QUILLORY_APP_ID}.desktop
          -d ${po_dir} -o ${generated}/${QUILLORY_APP_ID}.desktop
  DEPENDS ${packaging}/${QUILLORY_APP_ID}.desktop ${po_dir}/LINGUAS ${catalogues}
  COMMENT "Translating the desktop entry")
add_custom_command(OUTPUT ${generated}/${QUILLORY_APP_ID}.metainfo.xml
  COMMAND ${QUILLORY_MSGFMT} --xml --template=${generated}/english/${QUILLORY_APP_ID}.metainfo.xml
          -d ${po_dir} -o ${generated}/${QUILLORY_APP_ID}.metainfo.xml
  DEPENDS ${generated}/english/${QUILLORY_APP_ID}.metainfo.xml ${po_dir}/LINGUAS ${catalogues}
  COMMENT "Translating the AppStream metainfo")
add_custom_target(translated_entries ALL DEPENDS
  ${generated}/${QUILLORY_APP_ID}.desktop ${generated}/${QUILLORY_APP_ID}.metainfo.xml)

install(TARGETS quillory RUNTIME DESTINATION ${QUILLORY_INSTALL_PROGRAMDIR})
install(PROGRAMS ${generated}/quillory DESTINATION ${QUILLORY_INSTALL_GAMESDIR})
install(DIRECTORY ${PROJECT_SOURCE_DIR}/assets/images ${PROJECT_SOURCE_DIR}/assets/audio
        DESTINATION ${QUILLORY_INSTALL_DATADIR})

# fonts/courier.ttf links to the font package's file. The link text is
# relative, computed at install time for the prefix being installed to (so
# `--prefix` works too), and resolves in the installed system; inside a
# staging folder (DESTDIR, and CPack, which stages through DESTDIR) it points
# at the same place under that folder, where the font package is not.
# The folder is made by an install rule, whose folders take the permissions
# above; one made by the code itself would take the installing user's umask.
install(DIRECTORY DESTINATION ${QUILLORY_INSTALL_DATADIR}/fonts)
install(CODE "
  set(fonts \"\${CMAKE_INSTALL_PREFIX}/${QUILLORY_INSTALL_DATADIR}/fonts\")
  file(RELATIVE_PATH link \"\${fonts}\" \"${QUILLORY_FONT_SOURCE}\")
  message(STATUS \"Linking: \$ENV{DESTDIR}\${fonts}/courier.ttf -> \${link}\")
  file(CREATE_LINK \"\${link}\" \"\$ENV{DESTDIR}\${fonts}/courier.ttf\" SYMBOLIC)")
# A run folder per language, of links into the installed pictures, font and music.
install(CODE "
  set(DATA \"\$ENV{DESTDIR}\${CMAKE_INSTALL_PREFIX}/${QUILLORY_INSTALL_DATADIR}\")
  message(STATUS \"Laying out a run folder per language in: \${DATA}/languages\")
  include(\"${packaging}/language_folders.cmake\")")

install(FILES ${generated}/${QUILLORY_APP_ID}.desktop
        DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
install(FILES ${generated}/${QUILLORY_APP_ID}.metainfo.xml
        DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)
foreach(size 16 32 48 64 128 256)
  install(FILES ${PROJECT_SOURCE_DIR}/assets/icons/quillory_${size}.png
          DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/${size}x${size}/apps
          RENAME quillory.png)
endforeach()
install(FILES ${PROJECT_SOURCE_DIR}/assets/icons/quillory.svg
        DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps)
install(FILES ${generated}/quillory.6.gz DESTINATION ${CMAKE_INSTALL_MANDIR}/man6)
install(FILES ${generated}/changelog.gz ${packaging}/copyright
        DESTINATION ${QUILLORY_INSTALL_DOCDIR})
