# Reads the files the Wine DLL test wrote (DIR) with readers we did not
# write, which are Linux programs: ffprobe for the recording, ImageMagick's
# identify for the pictures. Exits 77 (skipped) when either is missing.
include(${CMAKE_CURRENT_LIST_DIR}/../../../cmake/ExpectOutput.cmake)
require_programs(FFPROBE ffprobe IDENTIFY identify)

# Three frames were recorded at 640 x 480 on the 40 fps grid; the empty
# positions between them are no frames.
expect_output("recording.avi" "rawvideo,640,480,40/1,3"
  ${FFPROBE} -v error -select_streams v:0 -count_frames
             -show_entries stream=codec_name,width,height,r_frame_rate,nb_read_frames
             -of csv=p=0 ${DIR}/recording.avi)

foreach(entry "raw.bmp;640 480" "rgb.bmp;640 480" "rgb.jpg;640 480" "half.bmp;320 240" "half.jpg;320 240"
              "frame8.bmp;37 21" "frame24.bmp;37 21" "frame8.jpg;37 21" "frame24.jpg;37 21"
              "fpga_turned.bmp;480 640" "fpga_turned.jpg;480 640" "yuv_turned.bmp;480 640" "yuv_turned.jpg;480 640"
              "zundra_turned.bmp;480 640" "zundra_turned.jpg;480 640" "zundra_trigger00001.jpg;640 480")
  list(GET entry 0 name)
  list(GET entry 1 size)
  expect_output(${name} "${size}" ${IDENTIFY} -format "%w %h" ${DIR}/${name})
endforeach()
