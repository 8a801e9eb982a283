# Runs one simulator script and compares standard output, and for a case with an .err-prefix
# file also standard error and the exit status 2.
execute_process(COMMAND ${SIM} ${DIR}/${CASE}.txt
                OUTPUT_VARIABLE out ERROR_VARIABLE err RESULT_VARIABLE rc)
file(READ ${DIR}/${CASE}.out expected)
if(NOT out STREQUAL expected)
    file(WRITE ${CMAKE_CURRENT_BINARY_DIR}/${CASE}.got "${out}")
    message(FATAL_ERROR "${CASE}: output differs from ${CASE}.out (see ${CASE}.got)")
endif()
if(EXISTS ${DIR}/${CASE}.err-prefix)
    file(READ ${DIR}/${CASE}.err-prefix prefix)
    string(STRIP "${prefix}" prefix)
    string(FIND "${err}" "${prefix}" at)
    if(NOT rc EQUAL 2 OR NOT at EQUAL 0)
        message(FATAL_ERROR "${CASE}: expected exit 2 and an error starting '${prefix}', got ${rc}: ${err}")
    endif()
elseif(NOT rc EQUAL 0)
    message(FATAL_ERROR "${CASE}: exit status ${rc}: ${err}")
endif()
