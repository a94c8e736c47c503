# Reads the files Mikra wrote with the test capture source as its DirectShow
# camera (DIR) with readers we did not write: ffprobe for the recording,
# ImageMagick's identify for the snapshot. Exits 77 (skipped) when either is
# missing.
find_program(FFPROBE ffprobe)
find_program(IDENTIFY identify)
if(NOT FFPROBE OR NOT IDENTIFY)
  message("ffprobe or identify is not installed")
  cmake_language(EXIT 77)
endif()

# The source's size at the 10 frames per second of the test's [TPF].
execute_process(COMMAND ${FFPROBE} -v error -select_streams v:0 -count_frames
                        -show_entries stream=width,height,r_frame_rate,nb_read_frames -of csv=p=0 ${DIR}/recording.avi
                OUTPUT_VARIABLE out ERROR_VARIABLE err RESULT_VARIABLE rc OUTPUT_STRIP_TRAILING_WHITESPACE)
if(NOT rc EQUAL 0 OR NOT out MATCHES "^640,480,10/1,([0-9]+)$" OR CMAKE_MATCH_1 LESS 2)
  message(FATAL_ERROR "recording.avi: expected 640,480 at 10/1 and frames, read '${out}' (exit ${rc}) ${err}")
endif()
message(STATUS "recording.avi: ${out}")

# The snapshot is the source's picture: red counts the column, green the
# row from the bottom (479 mod 256 = 223 at the top).
execute_process(COMMAND ${IDENTIFY} -format "%w %h %[pixel:p{5,479}] %[pixel:p{200,0}]" ${DIR}/snapshot.bmp
                OUTPUT_VARIABLE out ERROR_VARIABLE err RESULT_VARIABLE rc)
if(NOT rc EQUAL 0 OR NOT out MATCHES "^640 480 srgb\\(5,0,[0-9]+\\) srgb\\(200,223,[0-9]+\\)$")
  message(FATAL_ERROR "snapshot.bmp: expected the source's 640 x 480 picture, read '${out}' (exit ${rc}) ${err}")
endif()
message(STATUS "snapshot.bmp: ${out}")
