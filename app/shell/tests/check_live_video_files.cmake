# Reads the files Mikra wrote in a live-video test (DIR).
include(${CMAKE_CURRENT_LIST_DIR}/video_file_readers.cmake)

# Both camera libraries record on a 40 fps grid.
check_recording("752,480,40/1" 1)

check_snapshot("%w %h" "^752 480$" "'752 480'")

# The centred crosshair of the test's Config.ini (green) is burnt into the
# saved frame at column 752 / 2, next to the camera's picture.
check_snapshot("%[pixel:p{376,10}]" "^srgb\\(0,255,0\\)$" "the green line at column 376")
