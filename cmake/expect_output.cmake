# expect_output(<what> <expected> <command...>): runs the command of a check
# script and fails the script unless it exits 0 and prints exactly
# <expected> (trailing blanks dropped).
function(expect_output what expected)
  execute_process(COMMAND ${ARGN} OUTPUT_VARIABLE out ERROR_VARIABLE err RESULT_VARIABLE rc
                  OUTPUT_STRIP_TRAILING_WHITESPACE)
  if(NOT rc EQUAL 0 OR NOT out STREQUAL expected)
    message(FATAL_ERROR "${what}: expected '${expected}', read '${out}' (exit ${rc}) ${err}")
  endif()
  message(STATUS "${what}: ${out}")
endfunction()
