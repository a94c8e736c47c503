# Reads the stills and recordings of capture_graph_test and dshow_camera_test (DIR) with
# readers we did not write: ImageMagick's identify, tiffinfo and ffprobe.
# Exits 77 (skipped) when one is missing.
find_program(FFPROBE ffprobe)
find_program(IDENTIFY identify)
find_program(TIFFINFO tiffinfo)
if(NOT FFPROBE OR NOT IDENTIFY OR NOT TIFFINFO)
  message("ffprobe, identify or tiffinfo is not installed")
  cmake_language(EXIT 77)
endif()

foreach(still still.bmp still.jpg still.tiff)
  execute_process(COMMAND ${IDENTIFY} -format "%w %h" ${DIR}/${still} OUTPUT_VARIABLE out ERROR_VARIABLE err
                  RESULT_VARIABLE rc)
  if(NOT rc EQUAL 0 OR NOT out STREQUAL "640 480")
    message(FATAL_ERROR "${still}: expected '640 480', read '${out}' (exit ${rc}) ${err}")
  endif()
endforeach()
# The test source's bottom row (row 0 of its bottom-up frames) has green 0,
# the top row green 479 mod 256 = 223; red counts the column.
execute_process(COMMAND ${IDENTIFY} -format "%[pixel:p{5,479}] %[pixel:p{5,0}]" ${DIR}/still.bmp
                OUTPUT_VARIABLE out ERROR_VARIABLE err RESULT_VARIABLE rc)
if(NOT rc EQUAL 0 OR NOT out MATCHES "^srgb\\(5,0,[0-9]+\\) srgb\\(5,223,[0-9]+\\)$")
  message(FATAL_ERROR "still.bmp: unexpected pixels '${out}' (exit ${rc}) ${err}")
endif()
execute_process(COMMAND ${TIFFINFO} ${DIR}/still.tiff OUTPUT_VARIABLE out ERROR_VARIABLE err RESULT_VARIABLE rc)
if(NOT rc EQUAL 0 OR NOT out MATCHES "Image Width: 640 Image Length: 480")
  message(FATAL_ERROR "still.tiff: tiffinfo read '${out}' (exit ${rc}) ${err}")
endif()

execute_process(COMMAND ${FFPROBE} -v error -select_streams v:0 -count_frames
                        -show_entries stream=width,height,nb_read_frames -of csv=p=0 ${DIR}/recording.avi
                OUTPUT_VARIABLE out ERROR_VARIABLE err RESULT_VARIABLE rc OUTPUT_STRIP_TRAILING_WHITESPACE)
if(NOT rc EQUAL 0 OR NOT out MATCHES "^640,480,([0-9]+)$" OR CMAKE_MATCH_1 LESS 5)
  message(FATAL_ERROR "recording.avi: expected 640,480 and frames, read '${out}' (exit ${rc}) ${err}")
endif()
message(STATUS "recording.avi: ${out}")

# The DirectShow camera's recording, at the 1280 x 1024 its test configured.
execute_process(COMMAND ${FFPROBE} -v error -select_streams v:0 -count_frames
                        -show_entries stream=width,height,nb_read_frames -of csv=p=0 ${DIR}/camera_recording.avi
                OUTPUT_VARIABLE out ERROR_VARIABLE err RESULT_VARIABLE rc OUTPUT_STRIP_TRAILING_WHITESPACE)
if(NOT rc EQUAL 0 OR NOT out MATCHES "^1280,1024,([0-9]+)$" OR CMAKE_MATCH_1 LESS 2)
  message(FATAL_ERROR "camera_recording.avi: expected 1280,1024 and frames, read '${out}' (exit ${rc}) ${err}")
endif()
message(STATUS "camera_recording.avi: ${out}")
