# prefix_library.cmake: quillory_prefix_library(), the one way the cross
# builds (cmake/windows_dependencies.cmake, cmake/web_dependencies.cmake) name
# a static library that their script built into a prefix folder, as an
# imported target like those find_package gives the Linux build.

# quillory_prefix_library(TARGET PREFIX FILE [INCLUDES dir...] [DEFINES def...] [LIBS lib...]):
# TARGET is PREFIX/lib/FILE with PREFIX/include and INCLUDES on its users' include path.
function(quillory_prefix_library target prefix file)
  cmake_parse_arguments(L "" "" "INCLUDES;DEFINES;LIBS" ${ARGN})
  if(NOT EXISTS ${prefix}/lib/${file})
    message(FATAL_ERROR "${prefix}/lib/${file} is missing: run ./windows or ./web to build it")
  endif()
  add_library(${target} STATIC IMPORTED GLOBAL)
  set_target_properties(${target} PROPERTIES
    IMPORTED_LOCATION ${prefix}/lib/${file}
    INTERFACE_INCLUDE_DIRECTORIES "${prefix}/include;${L_INCLUDES}"
    INTERFACE_COMPILE_DEFINITIONS "${L_DEFINES}"
    INTERFACE_LINK_LIBRARIES "${L_LIBS}")
endfunction()
