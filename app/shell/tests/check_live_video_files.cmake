# Reads the files Mikra wrote in a live-video test (DIR) with readers we
# did not write, which are Linux programs: ffprobe for the recording,
# ImageMagick's identify for the snapshot. Exits 77 (skipped) when either is
# missing.
find_program(FFPROBE ffprobe)
find_program(IDENTIFY identify)
if(NOT FFPROBE OR NOT IDENTIFY)
  message("ffprobe or identify is not installed")
  cmake_language(EXIT 77)
endif()

execute_process(COMMAND ${FFPROBE} -v error -select_streams v:0 -count_frames
                        -show_entries stream=width,height,r_frame_rate,nb_read_frames -of csv=p=0 ${DIR}/recording.avi
                OUTPUT_VARIABLE out ERROR_VARIABLE err RESULT_VARIABLE rc OUTPUT_STRIP_TRAILING_WHITESPACE)
# Both camera libraries record on a 40 fps grid.
if(NOT rc EQUAL 0 OR NOT out MATCHES "^752,480,40/1,([0-9]+)$" OR CMAKE_MATCH_1 LESS 1)
  message(FATAL_ERROR "recording.avi: expected 752,480 at 40/1 and frames, read '${out}' (exit ${rc}) ${err}")
endif()
message(STATUS "recording.avi: ${out}")

execute_process(COMMAND ${IDENTIFY} -format "%w %h" ${DIR}/snapshot.bmp OUTPUT_VARIABLE out ERROR_VARIABLE err
                RESULT_VARIABLE rc)
if(NOT rc EQUAL 0 OR NOT out STREQUAL "752 480")
  message(FATAL_ERROR "snapshot.bmp: expected '752 480', read '${out}' (exit ${rc}) ${err}")
endif()
message(STATUS "snapshot.bmp: ${out}")

# The centred crosshair of the test's Config.ini (green) is burnt into the
# saved frame at column 752 / 2, next to the camera's picture.
execute_process(COMMAND ${IDENTIFY} -format "%[pixel:p{376,10}]" ${DIR}/snapshot.bmp OUTPUT_VARIABLE out
                ERROR_VARIABLE err RESULT_VARIABLE rc)
if(NOT rc EQUAL 0 OR NOT out STREQUAL "srgb(0,255,0)")
  message(FATAL_ERROR "snapshot.bmp: expected the green line at column 376, read '${out}' (exit ${rc}) ${err}")
endif()
