# install_windows.cmake: the player's folder in the Windows zip, included by
# packaging/install.cmake: quillory.exe beside everything it reads (images/,
# fonts/, audio/, as in the run folder), the readme, the game's licence and
# the libraries' licences (licences/, written when ./windows built them).
install(TARGETS quillory RUNTIME DESTINATION .)
install(FILES ${PROJECT_SOURCE_DIR}/app/windows/README.txt ${PROJECT_SOURCE_DIR}/LICENSE DESTINATION .)
install(DIRECTORY ${PROJECT_SOURCE_DIR}/assets/images ${PROJECT_SOURCE_DIR}/assets/audio DESTINATION .)
install(FILES ${QUILLORY_FONT_SOURCE} DESTINATION fonts RENAME courier.ttf)
install(FILES ${QUILLORY_FONT_LICENCE} DESTINATION fonts RENAME courier-LICENSE.txt)
install(DIRECTORY ${QUILLORY_WINDOWS_PREFIX}/licences DESTINATION .)
