# The core as libraries whose dependencies run one way, shared by the main build and fuzz/:
#
#   veltrum_frame      src/frame: entry and dispatch, run-state, data file, report, dialogs
#   veltrum_families   src/independent, src/paired, src/blocked, src/crossover, src/frequency:
#                      the tests, on the frame
#   veltrum_catalogue  src/catalogue.cpp: the letters joined to the frame's dispatch loop
#   veltrum_headless   src/headless: the Linux host, on the frame (not in the Windows build)
#   veltrum_core       the first three together, with every header of src/ for the callers
#
# Each library compiles against a folder of links to the source folders it may use
# (<build>/layers/NAME), never against src/ itself, so an include of a layer above fails to build.
#
# veltrum_add_core(ROOT) builds them from ROOT/src (the fuzzing build passes a Windows-1252 copy);
# with HEADLESS it adds veltrum_headless, whose templates come from ROOT's resource script.

function(veltrum_layer name root)  # ARGN: the paths below src/ the layer may include
  set(dir "${CMAKE_BINARY_DIR}/layers/${name}")
  file(MAKE_DIRECTORY "${dir}")
  foreach(path ${ARGN})
    if(NOT EXISTS "${dir}/${path}")
      file(CREATE_LINK "${root}/src/${path}" "${dir}/${path}" SYMBOLIC)
    endif()
  endforeach()
  set(VELTRUM_LAYER_DIR "${dir}" PARENT_SCOPE)
endfunction()

function(veltrum_add_core root resources)
  set(families independent paired blocked crossover frequency)

  file(GLOB frame_sources CONFIGURE_DEPENDS "${root}/src/frame/*.cpp")
  add_library(veltrum_frame STATIC ${frame_sources})
  veltrum_layer(frame "${root}" frame)
  target_include_directories(veltrum_frame PRIVATE "${VELTRUM_LAYER_DIR}" "${resources}")
  target_link_libraries(veltrum_frame PUBLIC Boost::headers)
  target_compile_definitions(veltrum_frame PUBLIC BOOST_MATH_DOMAIN_ERROR_POLICY=ignore_error)

  set(family_sources)
  foreach(family ${families})
    file(GLOB sources CONFIGURE_DEPENDS "${root}/src/${family}/*.cpp")
    list(APPEND family_sources ${sources})
  endforeach()
  add_library(veltrum_families STATIC ${family_sources})
  veltrum_layer(families "${root}" frame ${families})
  target_include_directories(veltrum_families PRIVATE "${VELTRUM_LAYER_DIR}" "${resources}")
  target_link_libraries(veltrum_families PUBLIC veltrum_frame)

  add_library(veltrum_catalogue STATIC "${root}/src/catalogue.cpp")
  veltrum_layer(catalogue "${root}" frame ${families} veltrum.hpp)
  target_include_directories(veltrum_catalogue PRIVATE "${VELTRUM_LAYER_DIR}" "${resources}")
  target_link_libraries(veltrum_catalogue PUBLIC veltrum_families)

  add_library(veltrum_core INTERFACE)
  target_include_directories(veltrum_core INTERFACE "${root}/src" "${resources}")
  target_link_libraries(veltrum_core INTERFACE veltrum_catalogue)

  if(NOT ARGV2 STREQUAL "HEADLESS")
    return()
  endif()
  # The dialog templates are compiled into the headless host from the one resource script.
  set(script "${CMAKE_CURRENT_BINARY_DIR}/resource_script.cpp")
  add_custom_command(
    OUTPUT "${script}"
    COMMAND ${CMAKE_COMMAND} -DOUT=${script} -DRC=${resources}/VELTRUM.rc -DRC_H=${resources}/VELTRUM_R.h
            -P "${VELTRUM_CMAKE_DIR}/embed_resources.cmake"
    DEPENDS "${resources}/VELTRUM.rc" "${resources}/VELTRUM_R.h" "${VELTRUM_CMAKE_DIR}/embed_resources.cmake"
    COMMENT "Embedding the resource script for the headless host")
  file(GLOB headless_sources CONFIGURE_DEPENDS "${root}/src/headless/*.cpp")
  add_library(veltrum_headless STATIC ${headless_sources} "${script}")
  veltrum_layer(headless "${root}" frame headless)
  target_include_directories(veltrum_headless PRIVATE "${VELTRUM_LAYER_DIR}" "${resources}")
  target_link_libraries(veltrum_headless PUBLIC veltrum_frame)
endfunction()

set(VELTRUM_CMAKE_DIR "${CMAKE_CURRENT_LIST_DIR}")
