# Windows flavour: the platform layer, the panel window library, the program
# and the Windows-side end-to-end tests.
enable_language(RC)
add_compile_definitions(UNICODE _UNICODE WIN32_LEAN_AND_MEAN NOMINMAX _WIN32_WINNT=0x0601)
set(STATIC_FLAGS -static -static-libgcc -static-libstdc++)

file(GLOB PLATFORM_SOURCES CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/platform/*.cpp)
file(GLOB WIN_UI_SOURCES CONFIGURE_DEPENDS
  ${CMAKE_SOURCE_DIR}/items/*_win.cpp
  ${CMAKE_SOURCE_DIR}/panel/*_win.cpp
  ${CMAKE_SOURCE_DIR}/dialogs/*_win.cpp)
set(WIN_LIBS comctl32 comdlg32 shell32 ole32 gdi32 user32 msimg32 shlwapi uuid)

# The panel's window code as one library: the program and the tests link it.
add_library(tilerack_ui STATIC ${PLATFORM_SOURCES} ${WIN_UI_SOURCES})
target_link_libraries(tilerack_ui PUBLIC tilerack_core ${WIN_LIBS})

add_executable(tilerack WIN32 ${CMAKE_SOURCE_DIR}/panel/tilerack.cpp ${CMAKE_SOURCE_DIR}/res/tilerack.rc)
target_link_libraries(tilerack PRIVATE tilerack_ui)
# Symbols stripped: the shipped program stays one small file.
target_link_options(tilerack PRIVATE ${STATIC_FLAGS} -municode -s)
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

file(GLOB E2E_SOURCES CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/tests/e2e/*.cpp)
add_executable(e2e_tests ${E2E_SOURCES})
target_link_libraries(e2e_tests PRIVATE tilerack_ui gtest)
target_link_options(e2e_tests PRIVATE ${STATIC_FLAGS})

# Windows-side benchmark for `make bench` (run under Wine by scripts/run-win-bench.sh).
add_executable(picker_fill_bench ${CMAKE_SOURCE_DIR}/bench/picker_fill_bench_win.cpp)
target_link_libraries(picker_fill_bench PRIVATE tilerack_ui)
target_link_options(picker_fill_bench PRIVATE ${STATIC_FLAGS})
