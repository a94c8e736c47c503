# Reads the pictures the controller's Wine test rendered (DIR) with
# ImageMagick, a reader we did not write. Exits 77 (skipped) when it is not
# installed.
include(${CMAKE_CURRENT_LIST_DIR}/../../../cmake/ExpectOutput.cmake)
require_programs(IDENTIFY identify CONVERT convert)

foreach(entry "zoom2.bmp;82 62" "zoom2.png;82 62" "zoom1.tif;41 31" "half.jpg;20 15" "half.bmp;20 15")
  list(GET entry 0 name)
  list(GET entry 1 size)
  expect_output(${name} "${size}" ${IDENTIFY} -format "%w %h" ${DIR}/${name})
endforeach()

# The line at y 10 of the picture, drawn at zoom 2, in its green; the blue
# picture beside and below it.
foreach(name zoom2.bmp zoom2.png)
  expect_output("${name} line" "0,255,0" ${CONVERT} ${DIR}/${name} -format "%[fx:int(255*p{41,20}.r)],%[fx:int(255*p{41,20}.g)],%[fx:int(255*p{41,20}.b)]" info:)
  expect_output("${name} picture" "0,0,255" ${CONVERT} ${DIR}/${name} -format "%[fx:int(255*p{41,60}.r)],%[fx:int(255*p{41,60}.g)],%[fx:int(255*p{41,60}.b)]" info:)
endforeach()
