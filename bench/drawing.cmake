# The drawing benchmark: one live-view display pass against a bare loop that
# sends the same GL primitives, under the X server and Mesa's software renderer.
add_executable(drawing_bench ${CMAKE_CURRENT_SOURCE_DIR}/drawing_bench.cpp ${CMAKE_CURRENT_SOURCE_DIR}/random_drawing.cpp)
target_compile_options(drawing_bench PRIVATE ${QUILLORY_WARNINGS})
target_link_libraries(drawing_bench PRIVATE quillory_drawing quillory_test_support benchmark::benchmark)
