# Runs the peer camera test against the standard GigE Vision test camera;
# skipped when that program is not installed.
include(${CMAKE_CURRENT_LIST_DIR}/../../../cmake/ExpectOutput.cmake)
require_programs(CAMERA arv-fake-gv-camera-0.8)
execute_process(COMMAND ${CMAKE_COMMAND} -E env KQGE_PEER_CAMERA=${CAMERA} ${TEST} --gtest_brief=1
                RESULT_VARIABLE result)
if(NOT result EQUAL 0)
  message(FATAL_ERROR "peer camera test failed: ${result}")
endif()
