# Every tests/core/test_*.cpp is a core test (no widgets, also run under the
# sanitizers); every tests/gui/test_*.cpp is a window test run offscreen.
set(ARDEMO_TEST_ENV_SCRIPT ${CMAKE_SOURCE_DIR}/scripts/test-env.sh)

function(ardemo_register name label)
  add_test(NAME ${name} COMMAND ${ARDEMO_TEST_ENV_SCRIPT} $<TARGET_FILE:${name}>)
  set_tests_properties(${name} PROPERTIES LABELS "${label}" TIMEOUT 300)
endfunction()

macro(ardemo_core_tests)
  find_package(Qt6 REQUIRED COMPONENTS Core Test)
  file(GLOB _tests CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/tests/core/test_*.cpp)
  foreach(src ${_tests})
    get_filename_component(name ${src} NAME_WE)
    add_executable(${name} ${src})
    target_link_libraries(${name} PRIVATE ardemo_core Qt6::Core Qt6::Test)
    ardemo_avertissements(${name})
    set_target_properties(${name} PROPERTIES AUTOMOC ON)
    ardemo_register(${name} core)
  endforeach()
  # The readers of numbers again under a locale with a decimal comma.
  foreach(name test_nombres test_fichierini test_fichiercal)
    add_test(NAME ${name}_fr COMMAND ${ARDEMO_TEST_ENV_SCRIPT} $<TARGET_FILE:${name}>)
    set_tests_properties(${name}_fr PROPERTIES LABELS core TIMEOUT 300 SKIP_RETURN_CODE 77
                         ENVIRONMENT ARDEMO_TEST_LOCALE=fr_FR.UTF-8)
  endforeach()
endmacro()

macro(ardemo_gui_tests)
  file(GLOB _tests CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/tests/gui/test_*.cpp)
  foreach(src ${_tests})
    get_filename_component(name ${src} NAME_WE)
    add_executable(${name} ${src})
    target_link_libraries(${name} PRIVATE ardemo_ui Qt6::Test)
    ardemo_avertissements(${name})
    ardemo_register(${name} gui)
  endforeach()
endmacro()

# Fuzzing harnesses: every tests/fuzz/fuzz_*.cpp, built by clang with libFuzzer
# and the sanitizers into <build>/fuzz/ (ARDEMO_FUZZ); scripts/fuzz.sh runs them.
macro(ardemo_fuzz_targets)
  file(GLOB _fuzz CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/tests/fuzz/fuzz_*.cpp)
  foreach(src ${_fuzz})
    get_filename_component(name ${src} NAME_WE)
    add_executable(${name} ${src})
    target_link_libraries(${name} PRIVATE ardemo_core)
    ardemo_avertissements(${name})
    target_link_options(${name} PRIVATE -fsanitize=fuzzer,address,undefined)
    set_target_properties(${name} PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/fuzz)
  endforeach()
endmacro()

# Script tests: tests/scripts/test_*.sh, given the build folder; and the include
# graph (scripts/dependances.py), so that ctest alone catches a wrong include.
macro(ardemo_script_tests)
  add_test(NAME dependances COMMAND /usr/bin/python3 ${CMAKE_SOURCE_DIR}/scripts/dependances.py)
  set_tests_properties(dependances PROPERTIES LABELS "scripts" TIMEOUT 60)
  file(GLOB _scripts CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/tests/scripts/test_*.sh)
  foreach(src ${_scripts})
    get_filename_component(name ${src} NAME_WE)
    add_test(NAME ${name} COMMAND sh ${src} ${CMAKE_BINARY_DIR})
    set_tests_properties(${name} PROPERTIES LABELS "scripts" TIMEOUT 300)
  endforeach()
endmacro()

# End to end: the real program under a private X server (tests/e2e/).
macro(ardemo_e2e_tests)
  add_test(NAME e2e COMMAND /usr/bin/python3 ${CMAKE_SOURCE_DIR}/tests/e2e/test_e2e.py $<TARGET_FILE:ardemo>)
  add_test(NAME e2e_impression
           COMMAND /usr/bin/python3 ${CMAKE_SOURCE_DIR}/tests/e2e/test_e2e.py $<TARGET_FILE:ardemo> --impression)
  # The same scenario under a real window manager (openbox) on the private display.
  add_test(NAME e2e_openbox
           COMMAND /usr/bin/python3 ${CMAKE_SOURCE_DIR}/tests/e2e/test_e2e.py $<TARGET_FILE:ardemo> --openbox)
  # 77: a step this machine cannot run (no CUPS server, no window manager), reported
  # as skipped with its reason.
  set_tests_properties(e2e e2e_impression e2e_openbox PROPERTIES LABELS "e2e" TIMEOUT 600 RUN_SERIAL TRUE SKIP_RETURN_CODE 77)
  # A seeded random walk of 60 s through the program's windows (seed printed).
  add_test(NAME e2e_marche COMMAND /usr/bin/python3 ${CMAKE_SOURCE_DIR}/tests/e2e/test_marche.py $<TARGET_FILE:ardemo>)
  set_tests_properties(e2e_marche PROPERTIES LABELS "e2e" TIMEOUT 300 RUN_SERIAL TRUE SKIP_RETURN_CODE 77)
  # The Debian package: cpack, lintian, validators, dpkg into a private root, a start under Xvfb.
  add_test(NAME e2e_paquet COMMAND /usr/bin/python3 ${CMAKE_SOURCE_DIR}/tests/e2e/test_paquet.py ${CMAKE_BINARY_DIR})
  set_tests_properties(e2e_paquet PROPERTIES LABELS "e2e;paquet" TIMEOUT 300 RUN_SERIAL TRUE SKIP_RETURN_CODE 77)
endmacro()
