# Project-wide settings and the helpers every folder uses to declare tests,
# fuzzers and benchmarks.

if(WIN32)
  # Every binary stands alone: static libgcc, libstdc++ and winpthread.
  add_link_options(-static -static-libgcc -static-libstdc++)
  add_compile_definitions(UNICODE _UNICODE _WIN32_WINNT=0x0601 WINVER=0x0601 NOMINMAX)
  add_compile_options(-Wall -Wextra)
  # Programs, libraries and tests share one folder, as they do when installed:
  # a program finds Config.ini, the language libraries and the camera
  # libraries beside itself.
  set(CMAKE_RUNTIME_OUTPUT_DIRECTORY "${CMAKE_BINARY_DIR}/bin")
  # Tests run under Wine inside one session (Xvfb display, prefix, persistent
  # wineserver) that the fixture tests below start and stop.
  set(VIZCAM_WINE_SESSION "${CMAKE_BINARY_DIR}/wine-session")
  set(CMAKE_CROSSCOMPILING_EMULATOR "${PROJECT_SOURCE_DIR}/scripts/wine-run.sh;${VIZCAM_WINE_SESSION}")
else()
  add_compile_options(-Wall -Wextra)
  if(VIZCAM_SANITIZE)
    add_compile_options(-fsanitize=address,undefined -fno-sanitize-recover=all -fno-omit-frame-pointer)
    add_link_options(-fsanitize=address,undefined -fno-sanitize-recover=all)
  endif()
  if(VIZCAM_TSAN)
    if(VIZCAM_SANITIZE)
      message(FATAL_ERROR "VIZCAM_TSAN and VIZCAM_SANITIZE cannot be combined")
    endif()
    add_compile_options(-fsanitize=thread -fno-omit-frame-pointer)
    add_link_options(-fsanitize=thread)
  endif()
endif()

find_package(GTest REQUIRED)

if(WIN32 AND BUILD_TESTING)
  add_test(NAME wine_session_start
           COMMAND "${PROJECT_SOURCE_DIR}/scripts/wine-session.sh" start "${VIZCAM_WINE_SESSION}")
  add_test(NAME wine_session_stop
           COMMAND "${PROJECT_SOURCE_DIR}/scripts/wine-session.sh" stop "${VIZCAM_WINE_SESSION}")
  set_tests_properties(wine_session_start PROPERTIES FIXTURES_SETUP wine_session TIMEOUT 600)
  set_tests_properties(wine_session_stop PROPERTIES FIXTURES_CLEANUP wine_session)
  add_test(NAME wine_session_layout
           COMMAND "${PROJECT_SOURCE_DIR}/scripts/check-wine-session.sh" "${VIZCAM_WINE_SESSION}")
  set_tests_properties(wine_session_layout PROPERTIES FIXTURES_REQUIRED wine_session)
  # Every deliverable is PE32+ and needs no DLL beyond Windows' own.
  add_test(NAME pe_imports COMMAND "${PROJECT_SOURCE_DIR}/scripts/check-pe.sh" "${CMAKE_BINARY_DIR}/bin")
endif()

# Windows test programs start from a main that gives each process a
# temporary folder of its own (platform/testing/windows_test_main.cpp).
if(WIN32 AND BUILD_TESTING)
  add_library(vz_test_main STATIC "${PROJECT_SOURCE_DIR}/platform/testing/windows_test_main.cpp")
  target_link_libraries(vz_test_main PUBLIC GTest::gtest)
endif()

# vizcam_test(<name> SOURCES <files...> [LIBS <targets...>] [LABELS <labels...>])
# A GoogleTest executable registered with CTest; on win64 it runs under Wine.
function(vizcam_test name)
  cmake_parse_arguments(PARSE_ARGV 1 arg "" "" "SOURCES;LIBS;LABELS")
  if(NOT BUILD_TESTING)
    return()
  endif()
  add_executable(${name} ${arg_SOURCES})
  if(WIN32)
    target_link_libraries(${name} PRIVATE ${arg_LIBS} vz_test_main GTest::gtest)
  else()
    target_link_libraries(${name} PRIVATE ${arg_LIBS} GTest::gtest GTest::gtest_main)
  endif()
  target_include_directories(${name} PRIVATE ${PROJECT_SOURCE_DIR}/platform/testing)
  add_test(NAME ${name} COMMAND ${name} --gtest_brief=1)
  set_tests_properties(${name} PROPERTIES TIMEOUT 120 LABELS "${arg_LABELS}")
  if(WIN32)
    set_tests_properties(${name} PROPERTIES FIXTURES_REQUIRED wine_session)
    # Windows of one test process shown while another tracks a menu, drags
    # with the mouse captured or checks the focus take the X focus, and Wine
    # then cancels the other's mode: tests that make windows run one at a time.
    if("wine" IN_LIST arg_LABELS OR "windows" IN_LIST arg_LABELS)
      set_property(TEST ${name} APPEND PROPERTY RESOURCE_LOCK desktop)
    endif()
  endif()
endfunction()

# vizcam_fuzzer(<name> SOURCES <files...> [LIBS <targets...>] [CORPUS <dir>])
# A libFuzzer target (native clang builds with VIZCAM_FUZZERS); CTest runs it
# for a bounded time over its seed corpus so every run exercises the parser.
function(vizcam_fuzzer name)
  cmake_parse_arguments(PARSE_ARGV 1 arg "" "CORPUS" "SOURCES;LIBS")
  if(WIN32 OR NOT VIZCAM_FUZZERS)
    return()
  endif()
  add_executable(${name} ${arg_SOURCES})
  target_compile_options(${name} PRIVATE -fsanitize=fuzzer)
  target_link_options(${name} PRIVATE -fsanitize=fuzzer)
  target_link_libraries(${name} PRIVATE ${arg_LIBS})
  set(work "${CMAKE_CURRENT_BINARY_DIR}/${name}-corpus")
  file(MAKE_DIRECTORY "${work}")
  add_test(NAME ${name}
           COMMAND ${name} -max_total_time=20 -artifact_prefix=${CMAKE_CURRENT_BINARY_DIR}/${name}- -rss_limit_mb=1024 -malloc_limit_mb=256
                   "${work}" "${arg_CORPUS}")
  set_tests_properties(${name} PROPERTIES TIMEOUT 120 LABELS fuzz)
endfunction()

# vizcam_benchmark(<name> SOURCES <files...> [LIBS <targets...>])
# Built with VIZCAM_BENCHMARKS: natively (bench preset) and for Windows
# (bench-win64 preset, Google Benchmark from the dependency cache), where it
# runs under Wine.
function(vizcam_benchmark name)
  cmake_parse_arguments(PARSE_ARGV 1 arg "" "" "SOURCES;LIBS")
  if(NOT VIZCAM_BENCHMARKS)
    return()
  endif()
  find_package(benchmark REQUIRED)
  add_executable(${name} ${arg_SOURCES})
  target_link_libraries(${name} PRIVATE ${arg_LIBS} benchmark::benchmark benchmark::benchmark_main)
  target_include_directories(${name} PRIVATE ${PROJECT_SOURCE_DIR}/platform/testing)
endfunction()
