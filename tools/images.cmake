# quillory_art: paints the ten screen pictures under assets/images/ and the
# application icon under assets/icons/.
#   cmake --build build --target quillory_art && build/tools/quillory_art assets/images assets/icons
add_executable(quillory_art
  images/main.cpp
  images/raster.cpp
  images/shapes.cpp
  images/text.cpp
  images/png_writer.cpp
  images/style.cpp
  images/widgets.cpp
  images/screens.cpp
  images/icons.cpp)
target_include_directories(quillory_art PRIVATE ${PROJECT_SOURCE_DIR})
target_compile_options(quillory_art PRIVATE ${QUILLORY_WARNINGS})
target_link_libraries(quillory_art PRIVATE Freetype::Freetype PNG::PNG)
