# Reads the pictures the Windows files test wrote (DIR) with readers we did
# not write, which are Linux programs: ImageMagick's identify and convert,
# and tiffinfo. Skipped when one is missing.
include(${CMAKE_CURRENT_LIST_DIR}/../../../cmake/ExpectOutput.cmake)
require_programs(IDENTIFY identify CONVERT convert TIFFINFO tiffinfo)

set(cn "图")
# Width, height, depth, class; the top-left pixel of the upright picture
# (stored row 2, column 0: blue 10, green 140, red 250; grey 60; 16-bit 200).
foreach(entry "grey8_${cn}.bmp;7 3 8 PseudoClass Gray;srgb(60,60,60)"
              "colour24_${cn}.bmp;7 3 8 DirectClass sRGB;srgb(250,140,10)"
              "grey8_${cn}.tif;7 3 8 DirectClass Gray;gray(60)"
              "wide16_${cn}.tif;7 3 16 DirectClass Gray;200"
              "colour24_${cn}.tif;7 3 8 DirectClass sRGB;srgb(250,140,10)"
              "grey8_${cn}.png;7 3 8 PseudoClass Gray;gray(60)"
              "wide16_${cn}.png;7 3 16 DirectClass Gray;200"
              "colour24_${cn}.png;7 3 8 DirectClass sRGB;srgb(250,140,10)")
  list(GET entry 0 name)
  list(GET entry 1 format)
  list(GET entry 2 pixel)
  expect_output(${name} "${format}" ${IDENTIFY} -format "%w %h %z %r" ${DIR}/${name})
  if(name MATCHES "^wide16")
    set(query "%[fx:int(65535*p{0,0}.r+0.5)]")
  else()
    set(query "%[pixel:p{0,0}]")
  endif()
  expect_output("${name} top-left pixel" "${pixel}" ${CONVERT} ${DIR}/${name} -format "${query}" info:)
endforeach()
expect_output("colour24_${cn}.jpg" "7 3 sRGB" ${IDENTIFY} -format "%w %h %[colorspace]" ${DIR}/colour24_${cn}.jpg)
expect_output("grey8_${cn}.jpg" "7 3 Gray" ${IDENTIFY} -format "%w %h %[colorspace]" ${DIR}/grey8_${cn}.jpg)

execute_process(COMMAND ${TIFFINFO} ${DIR}/colour24_${cn}.tif OUTPUT_VARIABLE tags ERROR_VARIABLE tags)
foreach(tag "Image Width: 7 Image Length: 3" "Bits/Sample: 8" "Compression Scheme: None"
            "Photometric Interpretation: RGB color" "Orientation: row 0 top, col 0 lhs" "Samples/Pixel: 3"
            "Rows/Strip: " "Planar Configuration: single image plane")
  string(FIND "${tags}" "${tag}" at)
  if(at EQUAL -1)
    message(FATAL_ERROR "colour24_${cn}.tif: no '${tag}' in\n${tags}")
  endif()
endforeach()
message(STATUS "colour24_${cn}.tif: TIFF tags present")
