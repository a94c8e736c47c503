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

# require_programs(<VAR> <program> [<VAR> <program>...]) finds each program
# into its variable; when any is missing the script ends saying "not
# installed: " and the programs, which the tests take as skipped (their
# SKIP_REGULAR_EXPRESSION), with code 77 where CMake can exit with a code.
macro(require_programs)
  set(_missing)
  set(_args ${ARGN})
  while(_args)
    list(POP_FRONT _args _var _program)
    find_program(${_var} ${_program})
    if(NOT ${_var})
      list(APPEND _missing ${_program})
    endif()
  endwhile()
  if(_missing)
    if(CMAKE_VERSION VERSION_GREATER_EQUAL 3.29)
      message("not installed: ${_missing}")
      cmake_language(EXIT 77)
    endif()
    message(FATAL_ERROR "not installed: ${_missing}")
  endif()
endmacro()
