# Native (Linux) flavour: the portable parts of the layers, their unit tests,
# benchmarks and fuzz targets, and the checks that the layers hold and that
# the texts stay in their table.
find_package(GTest REQUIRED)
enable_testing()

tilerack_layer(common)
tilerack_layer(items SEES common)
tilerack_layer(dialogs SEES common items)
tilerack_layer(panel SEES common items dialogs)

file(GLOB UNIT_TEST_SOURCES CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/tests/unit/*.cpp)
add_executable(unit_tests ${UNIT_TEST_SOURCES})
target_link_libraries(unit_tests PRIVATE tilerack_panel GTest::gtest GTest::gtest_main)
target_compile_definitions(unit_tests PRIVATE
  TILERACK_TEST_DATA_DIR="${CMAKE_SOURCE_DIR}/tests/data"
  TILERACK_SOURCE_DIR="${CMAKE_SOURCE_DIR}")
include(GoogleTest)
gtest_discover_tests(unit_tests DISCOVERY_TIMEOUT 60)

if(TILERACK_BENCH)
  find_package(benchmark QUIET)
  if(benchmark_FOUND)
    file(GLOB BENCH_SOURCES CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/bench/*_bench.cpp)
    foreach(src ${BENCH_SOURCES})
      get_filename_component(name ${src} NAME_WE)
      add_executable(${name} ${src})
      target_compile_options(${name} PRIVATE -O2)
      target_link_libraries(${name} PRIVATE tilerack_panel benchmark::benchmark)
    endforeach()
  endif()
endif()

if(TILERACK_FUZZ)
  # The layers are instrumented too, or the fuzzer would be blind to the
  # code it is meant to explore; UB reports abort so that the fuzzer counts
  # them.
  set(TILERACK_SANITIZERS -fsanitize=address,undefined -fno-sanitize-recover=all)
  # clang converts no code pages. The fuzz targets only feed bytes to the file
  # readers, so the core's literals may stay UTF-8 in this build; the unit
  # tests, which check code page 1251 bytes, belong to the g++ build.
  get_property(dir_options DIRECTORY PROPERTY COMPILE_OPTIONS)
  list(REMOVE_ITEM dir_options -fexec-charset=CP1251)
  set_property(DIRECTORY PROPERTY COMPILE_OPTIONS ${dir_options})
  set_target_properties(unit_tests PROPERTIES EXCLUDE_FROM_ALL ON)
  get_property(layers GLOBAL PROPERTY TILERACK_LAYERS)
  foreach(layer ${layers})
    get_target_property(layer_options ${layer} COMPILE_OPTIONS)
    list(REMOVE_ITEM layer_options -fexec-charset=CP1251)
    set_target_properties(${layer} PROPERTIES COMPILE_OPTIONS "${layer_options}")
    target_compile_options(${layer} PRIVATE ${TILERACK_SANITIZERS} -fsanitize=fuzzer-no-link)
    target_link_options(${layer} INTERFACE ${TILERACK_SANITIZERS})
  endforeach()
  file(GLOB FUZZ_SOURCES CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/tests/fuzz/*_fuzz.cpp)
  foreach(src ${FUZZ_SOURCES})
    get_filename_component(name ${src} NAME_WE)
    add_executable(${name} ${src})
    target_compile_options(${name} PRIVATE -fsanitize=fuzzer ${TILERACK_SANITIZERS})
    target_link_options(${name} PRIVATE -fsanitize=fuzzer ${TILERACK_SANITIZERS})
    target_link_libraries(${name} PRIVATE tilerack_dialogs)
  endforeach()
endif()

# The layers hold (ctest): each layer refuses an include of the layer above
# it (and panel/ from the bottom), and takes one of its own or of the layer
# below, so the refusals cannot come from a compiler that builds nothing.
# Declared after the fuzz options, so the probes compile with the layers'
# flags in either build.
tilerack_layer_check(CommonRefusesItems common "items/shortcut.h" REFUSED)
tilerack_layer_check(CommonRefusesPanel common "panel/strip_layout.h" REFUSED)
tilerack_layer_check(CommonTakesCommon common "common/geometry.h" ALLOWED)
tilerack_layer_check(ItemsRefusesDialogs items "dialogs/path_quoting.h" REFUSED)
tilerack_layer_check(ItemsTakesCommon items "common/bitmap.h" ALLOWED)
tilerack_layer_check(DialogsRefusesPanel dialogs "panel/strip_layout.h" REFUSED)
tilerack_layer_check(DialogsTakesItems dialogs "items/shortcut.h" ALLOWED)
tilerack_layer_check(PanelTakesDialogs panel "dialogs/path_quoting.h" ALLOWED)

# The texts stay in their table (ctest): no program source outside
# common/app_texts.h holds a text the user sees, and the check refuses
# exactly the texts planted in tests/texts/planted.cpp, in a scratch tree.
find_package(Python3 REQUIRED COMPONENTS Interpreter)
add_test(NAME Texts.OnlyInTheTable
  COMMAND Python3::Interpreter ${CMAKE_SOURCE_DIR}/tests/texts/check_texts.py ${CMAKE_SOURCE_DIR})
add_test(NAME Texts.PlantedTextsRefused
  COMMAND Python3::Interpreter ${CMAKE_SOURCE_DIR}/tests/texts/check_texts.py
    --self-test ${CMAKE_SOURCE_DIR}/tests/texts/planted.cpp ${CMAKE_SOURCE_DIR})

# The panel window and its collaborators (ctest): no file of panel/ but the
# window's own includes panel/sysmain.h, and panel/'s includes form no cycle;
# the check refuses exactly a planted collaborator and a planted cycle.
add_test(NAME Layers.PanelSeenThroughHosts
  COMMAND Python3::Interpreter ${CMAKE_SOURCE_DIR}/tests/layers/check_panel_includes.py ${CMAKE_SOURCE_DIR})
add_test(NAME Layers.PanelPlantedIncludesRefused
  COMMAND Python3::Interpreter ${CMAKE_SOURCE_DIR}/tests/layers/check_panel_includes.py
    --self-test ${CMAKE_SOURCE_DIR})

# Writes the shipped icon collection (scripts/make-icons-dat.sh).
add_executable(make_icons_dat ${CMAKE_SOURCE_DIR}/tools/make_icons_dat.cpp)
target_link_libraries(make_icons_dat PRIVATE tilerack_common)
