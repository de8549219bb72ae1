# windows_resources.cmake: the Windows resources of quillory.exe, its icon
# (named GLUT_ICON, the name freeglut loads for its window; Explorer shows the
# exe's first icon, which is this one) and its version information.
#
# Included by the top CMakeLists.txt for the Windows build. The .ico is packed
# at build time from the committed PNG icons by scripts/pack_icon.sh.
enable_language(RC)

file(GLOB QUILLORY_ICON_PNGS CONFIGURE_DEPENDS ${PROJECT_SOURCE_DIR}/assets/icons/quillory_*.png)
if(NOT QUILLORY_ICON_PNGS)
  message(FATAL_ERROR "No icons found as assets/icons/quillory_<size>.png")
endif()
list(SORT QUILLORY_ICON_PNGS COMPARE NATURAL) # smallest first
set(QUILLORY_ICO ${PROJECT_BINARY_DIR}/quillory.ico)
add_custom_command(OUTPUT ${QUILLORY_ICO}
  COMMAND bash ${PROJECT_SOURCE_DIR}/scripts/pack_icon.sh ${QUILLORY_ICO} ${QUILLORY_ICON_PNGS}
  DEPENDS ${PROJECT_SOURCE_DIR}/scripts/pack_icon.sh ${QUILLORY_ICON_PNGS}
  COMMENT "Packing the icons into quillory.ico"
  VERBATIM)

# The version resource wants the version as four 16-bit numbers.
set(QUILLORY_RC ${PROJECT_BINARY_DIR}/quillory.rc)
configure_file(${PROJECT_SOURCE_DIR}/app/windows/quillory.rc.in ${QUILLORY_RC} @ONLY)
set_source_files_properties(${QUILLORY_RC} PROPERTIES OBJECT_DEPENDS ${QUILLORY_ICO})
target_sources(quillory PRIVATE ${QUILLORY_RC})
