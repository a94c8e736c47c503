# Cross toolchain: mingw-w64 x86_64 with the posix thread model, so that
# std::thread and std::mutex work; runtime libraries are linked statically
# by the project so that every binary stands alone.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR AMD64)

set(CMAKE_C_COMPILER x86_64-w64-mingw32-gcc-posix)
set(CMAKE_CXX_COMPILER x86_64-w64-mingw32-g++-posix)
set(CMAKE_RC_COMPILER x86_64-w64-mingw32-windres)
set(CMAKE_ASM_NASM_OBJECT_FORMAT win64)

# The cross-built dependencies live in the project's cache (see scripts/setup.sh).
if(DEFINED ENV{VIZCAM_DEPS_DIR})
  set(VIZCAM_MINGW_PREFIX "$ENV{VIZCAM_DEPS_DIR}/mingw64")
else()
  get_filename_component(VIZCAM_MINGW_PREFIX "${CMAKE_CURRENT_LIST_DIR}/../.cache/deps/mingw64" ABSOLUTE)
endif()
set(CMAKE_FIND_ROOT_PATH /usr/x86_64-w64-mingw32 "${VIZCAM_MINGW_PREFIX}")
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)
