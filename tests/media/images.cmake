# The PNG loader, compiled into its test program with AddressSanitizer and
# UBSan, and the screen images drawn in a real GL context.
find_package(ZLIB REQUIRED)
# The GL driver is unloaded before the exit-time leak check, so the loader's
# program checks for leaks itself after its last test.
quillory_test(png_texture_test
  SOURCES png_texture_test.cpp
  SANITIZED_SOURCES ${PROJECT_SOURCE_DIR}/media/png_texture.cpp
  LIBS OpenGL::GL PNG::PNG ZLIB::ZLIB quillory_asset_file
  ENVIRONMENT "ASAN_OPTIONS=leak_check_at_exit=0")

quillory_test(screen_images_test
  SOURCES screen_images_test.cpp
  LIBS quillory_media OpenGL::GLU)
