# Regenerates the pictures into a scratch folder and fails if any differs from
# the committed copy, so an edited map cannot be committed without its pictures.
#   cmake -DTOOL=<mofu_art> -DASSETS=<assets dir> -DOUT=<scratch dir> -P compare_art.cmake

file(REMOVE_RECURSE "${OUT}")
execute_process(COMMAND "${TOOL}" "${ASSETS}/src" "${OUT}" RESULT_VARIABLE result)
if(NOT result EQUAL 0)
  message(FATAL_ERROR "mofu_art rejected the sources in ${ASSETS}/src")
endif()

set(stale "")
foreach(name neko1.gif neko2.gif mofu.ico mofu.png)
  if(NOT EXISTS "${ASSETS}/${name}")
    list(APPEND stale "${name} (missing)")
    continue()
  endif()
  file(SHA256 "${OUT}/${name}" generated)
  file(SHA256 "${ASSETS}/${name}" committed)
  if(NOT generated STREQUAL committed)
    list(APPEND stale "${name}")
  endif()
endforeach()

if(stale)
  list(JOIN stale ", " stale)
  message(FATAL_ERROR "Out of date with assets/src: ${stale}. "
                      "Build the 'art' target and commit the pictures.")
endif()
