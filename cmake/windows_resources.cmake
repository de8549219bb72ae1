# windows_resources.cmake: the Windows resources of quillory.exe, its icon
# (named GLUT_ICON, the name freeglut loads for its window; Explorer shows the
# exe's first icon, which is this one) and its version information.
#
# Included by the top CMakeLists.txt for the Windows build. The icon is the
# committed assets/icons/quillory.ico, which tools/render_art.sh packs from
# the icon's PNG sizes.
enable_language(RC)

set(QUILLORY_ICO ${PROJECT_SOURCE_DIR}/assets/icons/quillory.ico)

# The version resource wants the version as four 16-bit numbers.
set(QUILLORY_RC ${PROJECT_BINARY_DIR}/quillory.rc)
configure_file(${PROJECT_SOURCE_DIR}/app/windows/quillory.rc.in ${QUILLORY_RC} @ONLY)
set_source_files_properties(${QUILLORY_RC} PROPERTIES OBJECT_DEPENDS ${QUILLORY_ICO})
target_sources(quillory PRIVATE ${QUILLORY_RC})
