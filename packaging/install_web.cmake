# install_web.cmake: the static web folder, included by
# packaging/install.cmake: index.html at its root (where game portals that
# take an HTML5 zip look), the program (quillory.js, .wasm, and .data, which
# holds the pictures but the title, the music and the font), the title
# (images/titlescreen.png, which the page fetches itself), the page's icon,
# the game's licence and the licences of the libraries (written when ./web
# built them) and the font;
# and each language's page sentences (languages/<language>.json) and pictures
# (images/<language>/), which the page fetches only for a player of that
# language, written with the page by scripts/web_languages.mjs.
set(page ${PROJECT_BINARY_DIR}/page)
file(GLOB language_pictures CONFIGURE_DEPENDS ${PROJECT_SOURCE_DIR}/assets/images/*/*.png)
file(GLOB catalogues CONFIGURE_DEPENDS ${PROJECT_SOURCE_DIR}/po/*.po)
add_custom_command(OUTPUT ${page}/index.html
  COMMAND ${CMAKE_COMMAND} -E rm -rf ${page}
  COMMAND ${QUILLORY_NODE} scripts/web_languages.mjs app/web/index.html assets ${page}
  DEPENDS ${PROJECT_SOURCE_DIR}/app/web/index.html ${PROJECT_SOURCE_DIR}/scripts/web_languages.mjs
          ${PROJECT_SOURCE_DIR}/po/LINGUAS ${catalogues} ${language_pictures}
  WORKING_DIRECTORY ${PROJECT_SOURCE_DIR}
  COMMENT "Writing the page and its languages"
  VERBATIM)
add_custom_target(web_page ALL DEPENDS ${page}/index.html)
install(DIRECTORY ${page}/ DESTINATION .)
install(FILES $<TARGET_FILE:quillory> $<TARGET_FILE_DIR:quillory>/quillory.wasm
              $<TARGET_FILE_DIR:quillory>/quillory.data DESTINATION .)
install(FILES ${PROJECT_SOURCE_DIR}/assets/${QUILLORY_WEB_TITLE} DESTINATION images)
install(FILES ${PROJECT_SOURCE_DIR}/assets/icons/quillory_32.png DESTINATION . RENAME favicon.png)
install(FILES ${PROJECT_SOURCE_DIR}/LICENSE DESTINATION .)
install(DIRECTORY ${QUILLORY_WEB_PREFIX}/licences DESTINATION .)
install(FILES ${QUILLORY_FONT_LICENCE} DESTINATION licences RENAME font-anonymous-pro.txt)
install(FILES ${PROJECT_SOURCE_DIR}/app/web/manifest.webmanifest DESTINATION .)
install(DIRECTORY ${PROJECT_SOURCE_DIR}/assets/icons/web/ DESTINATION icons)
install(CODE "set(QUILLORY_VERSION ${PROJECT_VERSION})")
install(SCRIPT ${PROJECT_SOURCE_DIR}/packaging/web_offline.cmake)
