# install_web.cmake: the static web folder, included by
# packaging/install.cmake: index.html at its root (where game portals that
# take an HTML5 zip look), the program (quillory.js, .wasm, and .data, which
# holds the pictures, music and font), the page's icon, the game's licence and
# the licences of the libraries (written when ./web built them) and the font.
install(FILES ${PROJECT_SOURCE_DIR}/app/web/index.html DESTINATION .)
install(FILES $<TARGET_FILE:quillory> $<TARGET_FILE_DIR:quillory>/quillory.wasm
              $<TARGET_FILE_DIR:quillory>/quillory.data DESTINATION .)
install(FILES ${PROJECT_SOURCE_DIR}/assets/icons/quillory_32.png DESTINATION . RENAME favicon.png)
install(FILES ${PROJECT_SOURCE_DIR}/LICENSE DESTINATION .)
install(DIRECTORY ${QUILLORY_WEB_PREFIX}/licences DESTINATION .)
install(FILES ${QUILLORY_FONT_LICENCE} DESTINATION licences RENAME font-anonymous-pro.txt)
