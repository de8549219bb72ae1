# The browser's benchmark pages, built like the game's page: the same
# libraries, browser module and link settings. bench/web_figures.sh builds and
# serves them: the drawing benchmark's frame times, and a bare GLUT page whose
# first frame is the floor the game's is measured against.
# --profiling-funcs keeps the functions' names, so a profile of the drawing
# page can tell the game's code from the GL layer's.
add_executable(web_drawing_bench web_drawing_bench.cpp random_drawing.cpp)
target_link_libraries(web_drawing_bench PRIVATE quillory_drawing quillory_view quillory_web)
target_link_options(web_drawing_bench PRIVATE --profiling-funcs)
add_executable(web_bare_window bare_window.cpp)
target_compile_definitions(web_bare_window PRIVATE BARE_PICTURE=0)
# The bare page that also shows one full-screen picture: what the title's
# picture alone costs the renderer.
add_executable(web_bare_picture bare_window.cpp)
target_compile_definitions(web_bare_picture PRIVATE BARE_PICTURE=1)
foreach(page web_bare_window web_bare_picture)
  target_link_libraries(${page} PRIVATE quillory_view quillory_web)
endforeach()
foreach(page web_drawing_bench web_bare_window web_bare_picture)
  target_compile_options(${page} PRIVATE ${QUILLORY_WARNINGS})
  # Emscripten's HTML minifier crashes at -O1 and above; the page stays as written.
  target_link_options(${page} PRIVATE ${QUILLORY_WEB_LINK_OPTIONS} -sMINIFY_HTML=0)
  set_target_properties(${page} PROPERTIES SUFFIX .html)
endforeach()
