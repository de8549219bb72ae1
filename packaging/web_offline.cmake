# web_offline.cmake: writes the web folder's service worker, run by
# packaging/install_web.cmake as the folder's last install step, once every
# other file is in place. The worker (app/web/service-worker.js) gets the list
# of the folder's files to keep, and its cache's name: the game's version
# (QUILLORY_VERSION, set by the install rules) and a hash of every file's
# contents, so a folder that changes in any file replaces the older cache.
# The prefix may be relative (cmake --install --prefix), to the current directory.
get_filename_component(folder "$ENV{DESTDIR}${CMAKE_INSTALL_PREFIX}" ABSOLUTE)
set(worker service-worker.js)
file(GLOB_RECURSE files LIST_DIRECTORIES false RELATIVE ${folder} ${folder}/*)
list(REMOVE_ITEM files ${worker})
list(SORT files)
set(hashes "")
set(names "")
foreach(file IN LISTS files)
  file(SHA256 ${folder}/${file} hash)
  string(APPEND hashes "${hash} ${file}\n")
  string(APPEND names "\n  \"${file}\",")
endforeach()
string(SHA256 hash "${hashes}")
string(SUBSTRING ${hash} 0 16 hash)
file(READ ${CMAKE_CURRENT_LIST_DIR}/../app/web/${worker} source)
string(REPLACE "const CACHE = \"quillory-version-hash\";"
               "const CACHE = \"quillory-${QUILLORY_VERSION}-${hash}\";" source "${source}")
string(REPLACE "const FILES = [];" "const FILES = [${names}\n];" source "${source}")
file(WRITE ${folder}/${worker} "${source}")
list(LENGTH files count)
message(STATUS "Service worker: ${count} files kept offline, cache quillory-${QUILLORY_VERSION}-${hash}")
