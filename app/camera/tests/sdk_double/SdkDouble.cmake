# vz_sdk_double(<name> FAMILY <KQCCD|KQCMOS|KQGE|KQUVC> SHAPE <cmos|uvc|gige|none> [OMIT <names...>])
# One build of the scripted camera-library double: it exports exactly the
# family's names as the binding lists them in camera_sdk_families.h, less
# those omitted, plus the test hooks. A name the shape's source gives an
# entry of its own (DoubleCmosShape_<name>, DoubleUvcShape_<name>) exports
# that entry; every other name exports the plain logging entry.
set(VZ_SDK_DOUBLE_DIR ${CMAKE_CURRENT_LIST_DIR})
set(VZ_SDK_FAMILIES_HEADER ${CMAKE_CURRENT_LIST_DIR}/../../camera_sdk_families.h)
set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS ${VZ_SDK_FAMILIES_HEADER}
                                                          ${VZ_SDK_DOUBLE_DIR}/double_cmos_shape.cpp
                                                          ${VZ_SDK_DOUBLE_DIR}/double_uvc_shape.cpp
                                                          ${VZ_SDK_DOUBLE_DIR}/double_gige_shape.cpp)

add_library(vz_sdk_double_core OBJECT ${VZ_SDK_DOUBLE_DIR}/double_script.cpp ${VZ_SDK_DOUBLE_DIR}/double_library.cpp
                                      ${VZ_SDK_DOUBLE_DIR}/double_view.cpp ${VZ_SDK_DOUBLE_DIR}/double_entries.cpp
                                      ${VZ_SDK_DOUBLE_DIR}/double_plain.cpp ${VZ_SDK_DOUBLE_DIR}/double_main.cpp)
target_include_directories(vz_sdk_double_core PUBLIC ${VZ_SDK_DOUBLE_DIR} ${CMAKE_CURRENT_LIST_DIR}/../..
                                                     ${PROJECT_SOURCE_DIR}/sdk/usb/dll)

function(vz_sdk_double name)
  cmake_parse_arguments(PARSE_ARGV 1 arg "" "FAMILY;SHAPE" "OMIT")
  file(READ ${VZ_SDK_FAMILIES_HEADER} families)
  string(REGEX MATCH "#define VZ_${arg_FAMILY}_EXPORTS\\(X\\)[^#]*" block "${families}")
  string(REGEX MATCHALL "X\\([a-z]+, [A-Za-z0-9_]+\\)" rows "${block}")
  if(NOT rows)
    message(FATAL_ERROR "vz_sdk_double: no export list for ${arg_FAMILY}")
  endif()

  set(shaped "")
  if(arg_SHAPE STREQUAL "cmos")
    set(shape_source ${VZ_SDK_DOUBLE_DIR}/double_cmos_shape.cpp)
    set(prefix DoubleCmosShape_)
  elseif(arg_SHAPE STREQUAL "uvc")
    set(shape_source ${VZ_SDK_DOUBLE_DIR}/double_uvc_shape.cpp)
    set(prefix DoubleUvcShape_)
  elseif(arg_SHAPE STREQUAL "gige")
    set(shape_source ${VZ_SDK_DOUBLE_DIR}/double_gige_shape.cpp)
    set(prefix DoubleGigeShape_)
  else()
    set(shape_source ${VZ_SDK_DOUBLE_DIR}/double_no_shape.cpp)
    set(prefix "")
  endif()
  if(prefix)
    file(READ ${shape_source} source)
    string(REGEX MATCHALL "${prefix}([A-Za-z0-9_]+)\\(" definitions "${source}")
    foreach(definition IN LISTS definitions)
      string(REGEX REPLACE "${prefix}([A-Za-z0-9_]+)\\($" "\\1" entry "${definition}")
      list(APPEND shaped ${entry})
    endforeach()
    # Entries made by a macro name themselves in the macro's uses.
    string(REGEX MATCHALL "VZ_DOUBLE_[A-Z0-9_]+\\((KQ[A-Z]*_[A-Za-z0-9_]+)" uses "${source}")
    foreach(use IN LISTS uses)
      string(REGEX REPLACE "VZ_DOUBLE_[A-Z0-9_]+\\(" "" entry "${use}")
      list(APPEND shaped ${entry})
    endforeach()
  endif()

  set(def "EXPORTS\n")
  foreach(row IN LISTS rows)
    string(REGEX REPLACE "X\\([a-z]+, ([A-Za-z0-9_]+)\\)" "\\1" entry "${row}")
    if(entry IN_LIST arg_OMIT)
      continue()
    endif()
    if(entry IN_LIST shaped)
      string(APPEND def "    ${entry} = ${prefix}${entry}\n")
    else()
      string(APPEND def "    ${entry} = DoublePlain_${entry}\n")
    endif()
  endforeach()
  foreach(hook SdkDouble_SetScript SdkDouble_DeliverFrames SdkDouble_WaitFrames SdkDouble_CopyLastFrame
               SdkDouble_WaitCompletions)
    string(APPEND def "    ${hook}\n")
  endforeach()
  file(CONFIGURE OUTPUT ${CMAKE_CURRENT_BINARY_DIR}/sdk_double/${name}.def CONTENT "${def}")

  add_library(${name} SHARED ${shape_source} ${CMAKE_CURRENT_BINARY_DIR}/sdk_double/${name}.def)
  target_link_libraries(${name} PRIVATE vz_sdk_double_core)
  set_target_properties(${name} PROPERTIES PREFIX "" RUNTIME_OUTPUT_DIRECTORY ${VZ_CAMERA_FIXTURES})
endfunction()
