# For the scripts (cmake -P) that read our files with outside programs:
# expect_output(<what> <expected> <command...>) runs the command and stops
# the script when it fails or its output is not the expected text.
function(expect_output what expected)
  execute_process(COMMAND ${ARGN} OUTPUT_VARIABLE out ERROR_VARIABLE err RESULT_VARIABLE rc
                  OUTPUT_STRIP_TRAILING_WHITESPACE)
  if(NOT rc EQUAL 0 OR NOT out STREQUAL expected)
    message(FATAL_ERROR "${what}: expected '${expected}', read '${out}' (exit ${rc}) ${err}")
  endif()
  message(STATUS "${what}: ${out}")
endfunction()
