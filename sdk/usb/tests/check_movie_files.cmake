# Reads the movies the Wine writer test made (DIR) with ffprobe, a Linux
# program. Exits 77 (skipped) when it is missing.
include(${CMAKE_CURRENT_LIST_DIR}/../../../cmake/ExpectOutput.cmake)
require_programs(FFPROBE ffprobe)

foreach(entry "uncompressed.avi;rawvideo,64,48,40/1,3" "grey_rle.avi;msrle,64,48,40/1,5")
  list(GET entry 0 name)
  list(GET entry 1 expected)
  expect_output(${name} "${expected}"
    ${FFPROBE} -v error -select_streams v:0 -count_frames
               -show_entries stream=codec_name,width,height,r_frame_rate,nb_read_frames
               -of csv=p=0 ${DIR}/${name})
endforeach()
