# Launch to first frame of the real game, under the X server of the session.
if(TARGET quillory_test_support)
  add_executable(startup_bench startup_bench.cpp)
  target_compile_options(startup_bench PRIVATE ${QUILLORY_WARNINGS})
  target_link_libraries(startup_bench PRIVATE quillory_test_support benchmark::benchmark)
  add_dependencies(startup_bench quillory)
endif()
