# Reads the files Mikra wrote with the test capture source as its DirectShow
# camera (DIR).
include(${CMAKE_CURRENT_LIST_DIR}/video_file_readers.cmake)

# The source's size at the 10 frames per second of the test's [TPF].
check_recording("640,480,10/1" 2)

# The snapshot is the source's picture: red counts the column, green the
# row from the bottom (479 mod 256 = 223 at the top).
check_snapshot("%w %h %[pixel:p{5,479}] %[pixel:p{200,0}]"
               "^640 480 srgb\\(5,0,[0-9]+\\) srgb\\(200,223,[0-9]+\\)$" "the source's 640 x 480 picture")
