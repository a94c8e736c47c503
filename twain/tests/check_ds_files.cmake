# Reads the BMP files the data source wrote in the Windows test (DIR) with
# ImageMagick, a reader we did not write: size and depth, and every pixel
# against the rows the test decoded from the same file.
include(${CMAKE_CURRENT_LIST_DIR}/../../cmake/ExpectOutput.cmake)
require_programs(IDENTIFY identify CONVERT convert)

# The test camera delivers 1280 x 1024.
foreach(entry "colour;rgb;DirectClass sRGB" "grey;gray;PseudoClass Gray")
  list(GET entry 0 name)
  list(GET entry 1 kind)
  list(GET entry 2 class)
  expect_output("${name}.bmp" "1280 1024 8 ${class}" ${IDENTIFY} -format "%w %h %z %r" ${DIR}/${name}.bmp)
  execute_process(COMMAND ${CONVERT} ${DIR}/${name}.bmp -depth 8 ${kind}:${DIR}/${name}.magick.${kind}
                  RESULT_VARIABLE failed)
  if(failed)
    message(FATAL_ERROR "${name}.bmp: ImageMagick could not read it")
  endif()
  execute_process(COMMAND ${CMAKE_COMMAND} -E compare_files ${DIR}/${name}.magick.${kind} ${DIR}/${name}.${kind}
                  RESULT_VARIABLE differs)
  if(differs)
    message(FATAL_ERROR "${name}.bmp: ImageMagick reads other pixels than the file holds")
  endif()
endforeach()
