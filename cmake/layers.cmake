# The folders as layers the compiler enforces. Includes are written from the
# repository root ("common/bitmap.h"), so the root itself cannot be an include
# directory: every folder would see every other. Each layer instead gets its
# own include directory under the build folder, holding links to its own
# folder and to the folders below it and nothing else; an include of a higher
# folder finds no file there and fails to compile. (A quoted include is looked
# up beside the including file first, but no folder has a subfolder named
# after another, so that finds nothing either.)

# tilerack_layer(<folder> [SEES <lower folders>...])
# Adds the static library tilerack_<folder> from the folder's sources (on a
# native build only the portable ones, not *_win.cpp), compiled against the
# layer's include directory and linked PRIVATE to every layer it sees. The
# include directory is PUBLIC, so a program or test linking a layer sees what
# that layer sees.
function(tilerack_layer folder)
  cmake_parse_arguments(LAYER "" "" "SEES" ${ARGN})
  set(view ${CMAKE_BINARY_DIR}/layers/${folder})
  file(MAKE_DIRECTORY ${view})
  set(visible ${LAYER_SEES} ${folder})

  # A link left from an earlier configuration with other layers goes.
  file(GLOB entries LIST_DIRECTORIES true ${view}/*)
  foreach(entry ${entries})
    get_filename_component(name ${entry} NAME)
    if(NOT name IN_LIST visible)
      if(NOT IS_SYMLINK ${entry})
        message(FATAL_ERROR "${entry} is no link; remove it and configure again")
      endif()
      file(REMOVE ${entry})
    endif()
  endforeach()

  foreach(seen ${visible})
    set(link ${view}/${seen})
    if(IS_SYMLINK ${link} OR IS_DIRECTORY ${link})
      continue()
    endif()
    file(CREATE_LINK ${CMAKE_SOURCE_DIR}/${seen} ${link} RESULT failure SYMBOLIC)
    if(failure AND CMAKE_HOST_WIN32)
      # Symbolic links need a right Windows does not give every user; a
      # directory junction needs none.
      file(TO_NATIVE_PATH ${link} native_link)
      file(TO_NATIVE_PATH ${CMAKE_SOURCE_DIR}/${seen} native_target)
      execute_process(COMMAND cmd /c mklink /J ${native_link} ${native_target}
        RESULT_VARIABLE failure OUTPUT_QUIET)
    endif()
    if(failure)
      message(FATAL_ERROR "cannot link ${link} to ${CMAKE_SOURCE_DIR}/${seen}: ${failure}")
    endif()
  endforeach()

  file(GLOB sources CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/${folder}/*.cpp)
  if(NOT WIN32)
    list(FILTER sources EXCLUDE REGEX "_win\\.cpp$")
  endif()
  # The program's entry is the program's, not the library's.
  list(FILTER sources EXCLUDE REGEX "/panel/tilerack\\.cpp$")

  add_library(tilerack_${folder} STATIC ${sources})
  target_include_directories(tilerack_${folder} PUBLIC ${view})
  list(TRANSFORM LAYER_SEES PREPEND tilerack_ OUTPUT_VARIABLE lower)
  target_link_libraries(tilerack_${folder} PRIVATE ${lower})
  # A static library needs nothing built from the ones it links, so its
  # sources compile alongside theirs rather than after them.
  set_target_properties(tilerack_${folder} PROPERTIES OPTIMIZE_DEPENDENCIES ON)
  set_property(GLOBAL APPEND PROPERTY TILERACK_LAYERS tilerack_${folder})

  if(WIN32)
    # Every header also compiles on its own against the layer's directory, so
    # an upward include in a header none of the layer's sources includes is
    # refused too. (Only here: some chief headers need <windows.h>.)
    file(GLOB headers CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/${folder}/*.h)
    set(units)
    foreach(header ${headers})
      get_filename_component(name ${header} NAME)
      set(unit ${CMAKE_BINARY_DIR}/header_checks/${folder}/${name}.cpp)
      file(CONFIGURE OUTPUT ${unit} CONTENT "#include \"${folder}/${name}\"\n")
      list(APPEND units ${unit})
    endforeach()
    add_library(tilerack_${folder}_headers OBJECT ${units})
    target_include_directories(tilerack_${folder}_headers PRIVATE ${view})
  endif()
endfunction()

# tilerack_layer_check(<name> <folder> <header> ALLOWED|REFUSED)
# A test that compiles tests/layers/include_probe.cpp, which includes
# <header>, with exactly the include directories of the layer <folder>. An
# ALLOWED include must build; a REFUSED one must fail, and fail because the
# header is not found, so a compiler that fails on everything passes nothing.
function(tilerack_layer_check name folder header expect)
  set(probe layer_probe_${name})
  add_library(${probe} OBJECT EXCLUDE_FROM_ALL ${CMAKE_SOURCE_DIR}/tests/layers/include_probe.cpp)
  target_include_directories(${probe} PRIVATE
    $<TARGET_PROPERTY:tilerack_${folder},INCLUDE_DIRECTORIES>)
  target_compile_definitions(${probe} PRIVATE "LAYER_PROBE_HEADER=\"${header}\"")
  add_test(NAME Layers.${name}
    COMMAND ${CMAKE_COMMAND} --build ${CMAKE_BINARY_DIR} --target ${probe})
  # Two builds in one tree at once would trip over each other.
  set_tests_properties(Layers.${name} PROPERTIES RESOURCE_LOCK layer_probe_build)
  if(expect STREQUAL "REFUSED")
    string(REPLACE "." "\\." pattern ${header})
    # g++: "h: No such file or directory"; clang: "'h' file not found";
    # MSVC: "Cannot open include file: 'h'".
    set_tests_properties(Layers.${name} PROPERTIES PASS_REGULAR_EXPRESSION
      "${pattern}: No such file or directory|'${pattern}' file not found|Cannot open include file: '${pattern}'")
  elseif(NOT expect STREQUAL "ALLOWED")
    message(FATAL_ERROR "tilerack_layer_check: ALLOWED or REFUSED, not '${expect}'")
  endif()
endfunction()
