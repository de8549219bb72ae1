# language_folders.cmake: lays out one run folder per language in a data
# folder, for packaging/language.sh to choose from. The game reads
# ./images/, ./fonts/ and ./audio/ from the folder it starts in; DATA holds
# them in English, and DATA/images/<language>/ each language's pictures.
# For every such language DATA/languages/<language>/ gets:
#   images/<picture>  a link to the language's picture, or to the English one
#                     where the language has none (never a missing picture);
#   fonts, audio      links to DATA's own, shared by every language.
# The links are relative, so the folder works wherever it is installed.
#
# Run as `cmake -DDATA=<folder> -P language_folders.cmake`: the build runs it
# on its run folder, the install rules on the installed data folder.
if(NOT IS_DIRECTORY "${DATA}/images")
  message(FATAL_ERROR "language_folders.cmake: DATA must name a run folder holding images/")
endif()

file(REMOVE_RECURSE "${DATA}/languages")
file(GLOB pictures RELATIVE "${DATA}/images" "${DATA}/images/*.png")
file(GLOB entries RELATIVE "${DATA}/images" "${DATA}/images/*")
foreach(language IN LISTS entries)
  if(NOT IS_DIRECTORY "${DATA}/images/${language}")
    continue()
  endif()
  set(folder "${DATA}/languages/${language}")
  file(MAKE_DIRECTORY "${folder}/images")
  # rwxr-xr-x whatever the umask, as the install rules make their folders.
  file(CHMOD "${DATA}/languages" "${folder}" "${folder}/images"
       PERMISSIONS OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ GROUP_EXECUTE
                   WORLD_READ WORLD_EXECUTE)
  file(CREATE_LINK ../../fonts "${folder}/fonts" SYMBOLIC)
  file(CREATE_LINK ../../audio "${folder}/audio" SYMBOLIC)
  foreach(picture IN LISTS pictures)
    set(shown ../../../images/${picture})
    if(EXISTS "${DATA}/images/${language}/${picture}")
      set(shown ../../../images/${language}/${picture})
    endif()
    file(CREATE_LINK "${shown}" "${folder}/images/${picture}" SYMBOLIC)
  endforeach()
endforeach()
