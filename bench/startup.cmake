# Launch to first frame of the real game against a bare GLUT window of the same
# size and display mode, under the X server of the session.
if(TARGET quillory_test_support)
  add_executable(bare_window bare_window.cpp)
  target_compile_options(bare_window PRIVATE ${QUILLORY_WARNINGS})
  target_include_directories(bare_window PRIVATE ${PROJECT_SOURCE_DIR})
  target_link_libraries(bare_window PRIVATE OpenGL::GL GLUT::GLUT)
  target_compile_definitions(bare_window PRIVATE BARE_PICTURE=0)

  add_executable(startup_bench startup_bench.cpp)
  target_compile_options(startup_bench PRIVATE ${QUILLORY_WARNINGS})
  target_link_libraries(startup_bench PRIVATE quillory_test_support)
  target_compile_definitions(startup_bench PRIVATE BARE_WINDOW_BINARY="$<TARGET_FILE:bare_window>")
  add_dependencies(startup_bench quillory bare_window)
endif()
