# Reads the pictures the view's save commands wrote in its Wine test (DIR)
# with ImageMagick, a reader we did not write. Exits 77 (skipped) when it is
# not installed.
include(${CMAKE_CURRENT_LIST_DIR}/../../../cmake/ExpectOutput.cmake)
require_programs(IDENTIFY identify CONVERT convert)

file(GLOB copies ${DIR}/red_*.bmp)
list(LENGTH copies count)
if(NOT count EQUAL 1)
  message(FATAL_ERROR "expected one saved copy red_*.bmp in ${DIR}, found ${count}")
endif()
foreach(path ${copies} ${DIR}/chosen.jpg ${DIR}/chosen.tiff)
  get_filename_component(name ${path} NAME)
  expect_output(${name} "40 30" ${IDENTIFY} -format "%w %h" ${path})
endforeach()
# The lossless copies keep the picture's red.
foreach(path ${copies} ${DIR}/chosen.tiff)
  get_filename_component(name ${path} NAME)
  expect_output("${name} colour" "255,0,0" ${CONVERT} ${path} -format
                "%[fx:int(255*p{30,20}.r)],%[fx:int(255*p{30,20}.g)],%[fx:int(255*p{30,20}.b)]" info:)
endforeach()
