# licence.cmake: cmake -P licence.cmake OUT FILE...: writes the licence texts
# FILE... into OUT, each under a "==> name <==" line; fails when one is missing.
math(EXPR last "${CMAKE_ARGC} - 1")
set(out ${CMAKE_ARGV3})
file(WRITE ${out} "")
foreach(i RANGE 4 ${last})
  set(file ${CMAKE_ARGV${i}})
  if(NOT EXISTS ${file})
    message(FATAL_ERROR "licence text ${file} is missing")
  endif()
  get_filename_component(name ${file} NAME)
  file(READ ${file} text)
  file(APPEND ${out} "==> ${name} <==\n${text}\n")
endforeach()
