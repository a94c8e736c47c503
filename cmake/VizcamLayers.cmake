# Mikra's libraries stack in layers: a target may link its own layer and the
# layers below it, never one above. The check runs once every folder is
# read, so a link that breaks the stack (a test's included) fails the
# configure step instead of growing into a cycle.

# The layers of app/, lowest first. Every target of a folder (and of the
# folders it adds) is in that folder's layer; the platform stand-ins are
# below them all. The language folder holds only resources and their
# numbers, which every layer may use.
set(VIZCAM_APP_LAYERS
  app/lang
  app/common
  app/controls
  app/measure
  app/camera
  app/workspace
  app/analysis
  app/shell/browser
  app/shell
  app
)

# The targets declared in `dir` and in the folders it adds.
function(_vizcam_targets_under dir out)
  get_property(targets DIRECTORY "${dir}" PROPERTY BUILDSYSTEM_TARGETS)
  get_property(subdirs DIRECTORY "${dir}" PROPERTY SUBDIRECTORIES)
  foreach(sub IN LISTS subdirs)
    _vizcam_targets_under("${sub}" more)
    list(APPEND targets ${more})
  endforeach()
  set(${out} ${targets} PARENT_SCOPE)
endfunction()

# vizcam_check_layers(<folders...>): the folders of the top-level list.
function(vizcam_check_layers)
  set(ranked)
  foreach(folder IN LISTS ARGN)
    if(folder MATCHES "^platform/")
      set(rank 0)
    elseif(folder STREQUAL "app" OR folder MATCHES "^app/")
      list(FIND VIZCAM_APP_LAYERS "${folder}" index)
      if(index LESS 0)
        message(FATAL_ERROR "${folder} has no layer: place it in VIZCAM_APP_LAYERS (cmake/VizcamLayers.cmake).")
      endif()
      math(EXPR rank "${index} + 1")
    else()
      continue()
    endif()
    _vizcam_targets_under("${PROJECT_SOURCE_DIR}/${folder}" targets)
    foreach(target IN LISTS targets)
      set(rank_${target} ${rank})
      set(folder_${target} ${folder})
      list(APPEND ranked ${target})
    endforeach()
  endforeach()

  list(JOIN VIZCAM_APP_LAYERS " < " stack)
  foreach(target IN LISTS ranked)
    get_target_property(type ${target} TYPE)
    set(links)
    if(NOT type STREQUAL "INTERFACE_LIBRARY")
      get_target_property(direct ${target} LINK_LIBRARIES)
      if(direct)
        list(APPEND links ${direct})
      endif()
    endif()
    get_target_property(interface ${target} INTERFACE_LINK_LIBRARIES)
    if(interface)
      list(APPEND links ${interface})
    endif()
    foreach(link IN LISTS links)
      # A static library's private links are kept as $<LINK_ONLY:name>.
      string(REGEX REPLACE "^\\$<LINK_ONLY:(.+)>$" "\\1" link "${link}")
      if(DEFINED rank_${link} AND rank_${link} GREATER rank_${target})
        message(FATAL_ERROR "${target} (${folder_${target}}) links ${link} (${folder_${link}}), a higher layer. "
                            "The layers: platform < ${stack}.")
      endif()
    endforeach()
  endforeach()
endfunction()
