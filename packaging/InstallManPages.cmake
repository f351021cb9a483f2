# Install step: writes the manual pages for the prefix they are installed under (which
# `cmake --install --prefix` may choose after the build) and installs them compressed, each into
# the folder of its section. The install(CODE) that includes this sets the OAKRIDGE_MAN_* values.
set(work ${OAKRIDGE_MAN_WORK})
file(REMOVE_RECURSE ${work})
file(MAKE_DIRECTORY ${work})
set(folder ${OAKRIDGE_MAN_PROGRAM_DIR})
if(NOT IS_ABSOLUTE ${folder})
    set(folder ${CMAKE_INSTALL_PREFIX}/${folder})
endif()
execute_process(
    COMMAND ${OAKRIDGE_MAN_AWK} -v dir=${work} -v version=${OAKRIDGE_MAN_VERSION}
            -v date=${OAKRIDGE_MAN_DATE} -v folder=${folder}/ -f ${OAKRIDGE_MAN_SCRIPT} ${OAKRIDGE_MAN_SOURCE}
    RESULT_VARIABLE status)
if(status)
    message(FATAL_ERROR "The manual pages could not be made from ${OAKRIDGE_MAN_SOURCE}")
endif()
file(GLOB pages ${work}/*.[1-9])
if(NOT pages)
    message(FATAL_ERROR "${OAKRIDGE_MAN_SOURCE} holds no manual page")
endif()
# Without a time stamp, so two installs of the same source are identical.
execute_process(COMMAND ${OAKRIDGE_MAN_GZIP} -n -9 -f ${pages} RESULT_VARIABLE status)
if(status)
    message(FATAL_ERROR "gzip failed on the manual pages")
endif()
set(mandir ${OAKRIDGE_MAN_DIR})
if(NOT IS_ABSOLUTE ${mandir})
    set(mandir ${CMAKE_INSTALL_PREFIX}/${mandir})
endif()
foreach(page ${pages})
    string(REGEX MATCH "[1-9]$" section ${page})
    file(INSTALL ${page}.gz DESTINATION ${mandir}/man${section})
endforeach()
