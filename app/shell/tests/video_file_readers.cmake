# The readers we did not write that check the files Mikra saved (DIR):
# ffprobe for the recording, ImageMagick's identify for the snapshot. Linux
# programs; a check exits 77 (skipped) when either is missing.
find_program(FFPROBE ffprobe)
find_program(IDENTIFY identify)
if(NOT FFPROBE OR NOT IDENTIFY)
  message("ffprobe or identify is not installed")
  cmake_language(EXIT 77)
endif()

# DIR/recording.avi's first video stream read as "width,height,rate" must
# be `expected`, with at least `min_frames` frames.
function(check_recording expected min_frames)
  execute_process(COMMAND ${FFPROBE} -v error -select_streams v:0 -count_frames
                          -show_entries stream=width,height,r_frame_rate,nb_read_frames -of csv=p=0 ${DIR}/recording.avi
                  OUTPUT_VARIABLE out ERROR_VARIABLE err RESULT_VARIABLE rc OUTPUT_STRIP_TRAILING_WHITESPACE)
  if(NOT rc EQUAL 0 OR NOT out MATCHES "^${expected},([0-9]+)$" OR CMAKE_MATCH_1 LESS min_frames)
    message(FATAL_ERROR "recording.avi: expected ${expected} and frames, read '${out}' (exit ${rc}) ${err}")
  endif()
  message(STATUS "recording.avi: ${out}")
endfunction()

# identify's `format` of DIR/snapshot.bmp must match the regular expression
# `pattern`; `what` says what was expected.
function(check_snapshot format pattern what)
  execute_process(COMMAND ${IDENTIFY} -format "${format}" ${DIR}/snapshot.bmp
                  OUTPUT_VARIABLE out ERROR_VARIABLE err RESULT_VARIABLE rc)
  if(NOT rc EQUAL 0 OR NOT out MATCHES "${pattern}")
    message(FATAL_ERROR "snapshot.bmp: expected ${what}, read '${out}' (exit ${rc}) ${err}")
  endif()
  message(STATUS "snapshot.bmp: ${out}")
endfunction()
