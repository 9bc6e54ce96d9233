# Windows flavour: the layers with their Windows parts and the platform
# layer, the program and the Windows-side end-to-end tests.
enable_language(RC)
add_compile_definitions(UNICODE _UNICODE WIN32_LEAN_AND_MEAN NOMINMAX _WIN32_WINNT=0x0601)
set(STATIC_FLAGS -static -static-libgcc -static-libstdc++)

# Compiled for size, unused functions left out at the link: the loader reads
# the whole program into fresh memory at every start (Wine does so for any
# image whose sections are not page-aligned), so each 100 KB of code costs
# start-up time and working set. The pixel loops, run over every pixel of
# the panel on each paint and slide, keep the speed of -O2.
add_compile_options($<$<CONFIG:Release>:-Os> -ffunction-sections -fdata-sections)
add_link_options(-Wl,--gc-sections)
set_source_files_properties(
  ${CMAKE_SOURCE_DIR}/common/bitmap.cpp ${CMAKE_SOURCE_DIR}/common/bmp_codec.cpp
  ${CMAKE_SOURCE_DIR}/common/covered_picture.cpp ${CMAKE_SOURCE_DIR}/common/scaled_picture.cpp
  ${CMAKE_SOURCE_DIR}/panel/background_blend.cpp ${CMAKE_SOURCE_DIR}/panel/item_glyph.cpp
  PROPERTIES COMPILE_OPTIONS $<$<CONFIG:Release>:-O2>)

# comctl32, comdlg32, shell32, ole32, oleacc and oleaut32 are delay-loaded: import libraries
# made from the functions listed in platform/delayload bind each at its first
# call, so the process starts without loading them (several megabytes and
# milliseconds under Wine), and comctl32, comdlg32 and ole32 stay unloaded
# until a tooltip, a dialog, the shell or assistive technology needs them.
set(DELAYED_DLLS comctl32 comdlg32 shell32 ole32 oleacc oleaut32)
if(MSVC)
  # The linker's own delay loading does the same.
  set(WIN_LIBS ${DELAYED_DLLS} gdi32 user32 msimg32 shlwapi uuid delayimp)
  list(TRANSFORM DELAYED_DLLS PREPEND "/DELAYLOAD:" OUTPUT_VARIABLE DELAYLOAD_OPTIONS)
  list(TRANSFORM DELAYLOAD_OPTIONS APPEND ".dll")
  add_link_options(${DELAYLOAD_OPTIONS})
  add_custom_target(delay_libs)
else()
  if(NOT CMAKE_DLLTOOL)
    find_program(CMAKE_DLLTOOL NAMES dlltool x86_64-w64-mingw32-dlltool REQUIRED)
  endif()
  set(DELAYLOAD_DIR ${CMAKE_SOURCE_DIR}/platform/delayload)
  set(DELAY_LIBS)
  foreach(dll ${DELAYED_DLLS})
    set(delay_lib ${CMAKE_BINARY_DIR}/lib${dll}_delay.a)
    add_custom_command(OUTPUT ${delay_lib}
      COMMAND ${CMAKE_DLLTOOL} --input-def ${DELAYLOAD_DIR}/${dll}.def --dllname ${dll}.dll --output-delaylib ${delay_lib}
      DEPENDS ${DELAYLOAD_DIR}/${dll}.def VERBATIM)
    list(APPEND DELAY_LIBS ${delay_lib})
  endforeach()
  add_custom_target(delay_libs DEPENDS ${DELAY_LIBS})
  set(WIN_LIBS ${DELAY_LIBS} gdi32 user32 msimg32 shlwapi uuid)
endif()

# The layers, each with its Windows parts; the Windows parts of items/ use
# the platform layer, so here it lies between common/ and items/. The program
# and the tests link the top layer.
tilerack_layer(common)
tilerack_layer(platform SEES common)
add_dependencies(tilerack_platform delay_libs)
target_link_libraries(tilerack_platform PRIVATE ${WIN_LIBS})
tilerack_layer(items SEES common platform)
tilerack_layer(dialogs SEES common platform items)
tilerack_layer(panel SEES common platform items dialogs)

add_executable(tilerack WIN32 ${CMAKE_SOURCE_DIR}/panel/tilerack.cpp ${CMAKE_SOURCE_DIR}/res/tilerack.rc)
target_link_libraries(tilerack PRIVATE tilerack_panel)
# Symbols stripped: the shipped program stays one small file. No link time is
# stamped in, so the same sources give the same bytes and a release can be
# made again and compared.
target_link_options(tilerack PRIVATE ${STATIC_FLAGS} -municode -s -Wl,--no-insert-timestamp)
# The version resource reads the generated version header; the pictures and
# the manifest are taken in whole.
set_source_files_properties(${CMAKE_SOURCE_DIR}/res/tilerack.rc PROPERTIES
  OBJECT_DEPENDS "${CMAKE_BINARY_DIR}/generated/tilerack_version.h;${CMAKE_SOURCE_DIR}/res/mainicon.ico;${CMAKE_SOURCE_DIR}/res/bright.bmp;${CMAKE_SOURCE_DIR}/res/tilerack.manifest")
# The icon collection lies beside the program.
configure_file(${CMAKE_SOURCE_DIR}/res/icons/icons.dat ${CMAKE_BINARY_DIR}/icons.dat COPYONLY)

# GoogleTest built from source with the cross compiler.
set(gtest_force_shared_crt OFF CACHE BOOL "" FORCE)
set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
set(BUILD_GMOCK OFF CACHE BOOL "" FORCE)
add_subdirectory(/usr/src/googletest ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL)
target_compile_options(gtest PRIVATE -fexec-charset=UTF-8)
target_compile_options(gtest_main PRIVATE -fexec-charset=UTF-8)

# Helper program started by items in the tests: records its arguments and folder.
add_executable(probe WIN32 ${CMAKE_SOURCE_DIR}/tests/e2e/probe/probe.cpp)
target_link_options(probe PRIVATE ${STATIC_FLAGS})

# Helper library planted beside a copy of the program by the DLL search
# scenarios: leaves a marker file when any process loads it.
add_library(planted_library SHARED ${CMAKE_SOURCE_DIR}/tests/e2e/planted_library/planted_library.cpp)
set_target_properties(planted_library PROPERTIES PREFIX "")
target_link_options(planted_library PRIVATE ${STATIC_FLAGS})

file(GLOB E2E_SOURCES CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/tests/e2e/*.cpp)
add_executable(e2e_tests ${E2E_SOURCES})
target_link_libraries(e2e_tests PRIVATE tilerack_panel gtest)
# The tests include helpers of tests/ by root path too.
target_include_directories(e2e_tests PRIVATE ${CMAKE_SOURCE_DIR})
target_link_options(e2e_tests PRIVATE ${STATIC_FLAGS})
add_dependencies(e2e_tests planted_library)

# Windows-side benchmark for `make bench` (run under Wine by scripts/run-win-bench.sh).
add_executable(picker_fill_bench ${CMAKE_SOURCE_DIR}/bench/picker_fill_bench_win.cpp)
target_link_libraries(picker_fill_bench PRIVATE tilerack_panel)
# The benchmarks also include their own and the tests' helpers by root path.
target_include_directories(picker_fill_bench PRIVATE ${CMAKE_SOURCE_DIR})
target_link_options(picker_fill_bench PRIVATE ${STATIC_FLAGS})

# A folder item's menu of 2000 files against a bare program's (bench/folder_menu_bench_win.cpp).
add_executable(folder_menu_bench ${CMAKE_SOURCE_DIR}/bench/folder_menu_bench_win.cpp)
target_link_libraries(folder_menu_bench PRIVATE tilerack_panel)
target_include_directories(folder_menu_bench PRIVATE ${CMAKE_SOURCE_DIR})
target_link_options(folder_menu_bench PRIVATE ${STATIC_FLAGS})

# Start-up, idle, item-file and closing figures of the real program against
# the least window program (bench/startup_bench_win.cpp), and the show sequence.
add_executable(least_window WIN32 ${CMAKE_SOURCE_DIR}/bench/least_window_win.cpp)
target_link_options(least_window PRIVATE ${STATIC_FLAGS} -municode -s)
add_executable(startup_bench ${CMAKE_SOURCE_DIR}/bench/startup_bench_win.cpp
  ${CMAKE_SOURCE_DIR}/tests/e2e/shorts_file_builder.cpp)
target_link_libraries(startup_bench PRIVATE tilerack_panel psapi)
target_include_directories(startup_bench PRIVATE ${CMAKE_SOURCE_DIR})
target_link_options(startup_bench PRIVATE ${STATIC_FLAGS} -municode)
add_executable(show_sequence_bench ${CMAKE_SOURCE_DIR}/bench/show_sequence_bench_win.cpp
  ${CMAKE_SOURCE_DIR}/tests/e2e/shorts_file_builder.cpp)
target_link_libraries(show_sequence_bench PRIVATE tilerack_panel)
target_include_directories(show_sequence_bench PRIVATE ${CMAKE_SOURCE_DIR})
target_link_options(show_sequence_bench PRIVATE ${STATIC_FLAGS})

# The demo list of `make run` (scripts/run-panel.sh).
add_executable(make_demo_list ${CMAKE_SOURCE_DIR}/tools/make_demo_list_win.cpp)
target_link_libraries(make_demo_list PRIVATE tilerack_panel)
target_include_directories(make_demo_list PRIVATE ${CMAKE_SOURCE_DIR})
target_link_options(make_demo_list PRIVATE ${STATIC_FLAGS} -municode)

# The release check's helper (tests/dist/): reads a program's version
# resource, writes and compares item files, closes a running panel.
add_executable(dist_driver ${CMAKE_SOURCE_DIR}/tests/dist/dist_driver.cpp
  ${CMAKE_SOURCE_DIR}/tests/e2e/shorts_file_builder.cpp)
target_include_directories(dist_driver PRIVATE ${CMAKE_SOURCE_DIR})
target_link_libraries(dist_driver PRIVATE version)
target_link_options(dist_driver PRIVATE ${STATIC_FLAGS} -municode)
