# Runs lupdate over a copy of a .ts file and fails when any text is unfinished (new, changed or
# never translated) or the copy differs from the file in the repository (stale entries).
# cmake -DLUPDATE=... -DTS=... -DWORK=... -DOPTIONS=... -DSOURCES=... -P CheckTranslations.cmake
file(REMOVE_RECURSE ${WORK})
file(MAKE_DIRECTORY ${WORK})
get_filename_component(name ${TS} NAME)
file(COPY ${TS} DESTINATION ${WORK})
set(list ${WORK}/sources.lst)
string(REPLACE ";" "\n" lines "${SOURCES}")
file(WRITE ${list} "${lines}\n")
execute_process(COMMAND ${LUPDATE} ${OPTIONS} @${list} -ts ${WORK}/${name}
                RESULT_VARIABLE rc OUTPUT_VARIABLE out ERROR_VARIABLE out)
if(NOT rc EQUAL 0)
  message(FATAL_ERROR "lupdate failed:\n${out}")
endif()
file(STRINGS ${WORK}/${name} unfinished REGEX "type=\"unfinished\"")
list(LENGTH unfinished count)
if(count GREATER 0)
  message(FATAL_ERROR "${count} texts of the window have no English in ${name} (run the target "
                      "update_translations and translate them):\n${out}")
endif()
file(READ ${TS} before)
file(READ ${WORK}/${name} after)
if(NOT before STREQUAL after)
  message(FATAL_ERROR "${name} is not up to date with the sources (run the target update_translations)")
endif()
message(STATUS "${name}: every text translated")
