# Helpers shared by the folders' CMakeLists.txt files.

set(TARV_WARNINGS -Wall -Wextra -Wno-unused-parameter)

# A plain C++ library: no Qt, no AUTOMOC.
function(tarv_plain_library name)
  cmake_parse_arguments(ARG "" "" "SOURCES;LIBS" ${ARGN})
  add_library(${name} STATIC ${ARG_SOURCES})
  target_include_directories(${name} PUBLIC ${PROJECT_SOURCE_DIR}/src)
  target_compile_options(${name} PRIVATE ${TARV_WARNINGS})
  target_link_libraries(${name} PUBLIC ${ARG_LIBS})
endfunction()

# A library of windows and widgets: Qt with AUTOMOC.
function(tarv_qt_library name)
  cmake_parse_arguments(ARG "" "" "SOURCES;LIBS" ${ARGN})
  add_library(${name} STATIC ${ARG_SOURCES})
  set_target_properties(${name} PROPERTIES AUTOMOC ON)
  target_include_directories(${name} PUBLIC ${PROJECT_SOURCE_DIR}/src)
  target_compile_options(${name} PRIVATE ${TARV_WARNINGS})
  target_link_libraries(${name} PUBLIC ${ARG_LIBS} Qt6::Widgets Qt6::OpenGLWidgets Qt6::OpenGL)
endfunction()

# The plain test binaries share one precompiled header of outside headers only (GoogleTest and the standard
# library, never our own headers): each of their files then parses about two seconds less, which adds up on a
# two-core machine. A small host program with the tests' own flags builds it once per build folder.
# Widget tests don't share it: Qt's test module gives every folder its own QT_TESTCASE_* macros, which make a
# shared header unusable (GCC falls back to the plain headers with -Winvalid-pch), one header per binary costs more
# than it saves on their few files, and Qt's headers load no faster precompiled than parsed.
option(TARV_PCH "Precompile GoogleTest and standard headers for the plain tests" ON)
function(tarv_plain_test_pch name)
  if(NOT TARV_PCH)
    return()
  endif()
  if(NOT TARGET tarv_plain_test_pch)
    add_executable(tarv_plain_test_pch ${PROJECT_SOURCE_DIR}/cmake/PchHost.cpp)
    target_compile_options(tarv_plain_test_pch PRIVATE ${TARV_WARNINGS})
    target_link_libraries(tarv_plain_test_pch PRIVATE GTest::gtest)
    target_precompile_headers(tarv_plain_test_pch PRIVATE
      <algorithm> <array> <cmath> <cstdint> <cstring> <filesystem> <functional> <map> <memory> <optional>
      <string> <unordered_map> <vector> <gtest/gtest.h>)
  endif()
  target_precompile_headers(${name} REUSE_FROM tarv_plain_test_pch)
endfunction()

# A program run by hand, never by a test: the sanitizer build, which exists to run the tests, leaves it out.
function(tarv_by_hand)
  if(TARV_SANITIZE)
    set_target_properties(${ARGN} PROPERTIES EXCLUDE_FROM_ALL ON)
  endif()
endfunction()

# A test binary of plain logic: GoogleTest's own main.
function(tarv_plain_test name)
  cmake_parse_arguments(ARG "" "" "SOURCES;LIBS" ${ARGN})
  add_executable(${name} ${ARG_SOURCES})
  target_compile_options(${name} PRIVATE ${TARV_WARNINGS})
  target_link_libraries(${name} PRIVATE ${ARG_LIBS} tarv_test_support GTest::gtest GTest::gtest_main)
  tarv_plain_test_pch(${name})
  gtest_discover_tests(${name} DISCOVERY_TIMEOUT 60)
endfunction()

# A test binary of widgets: our own main() picks the offscreen platform when there is no display.
function(tarv_widget_test name)
  cmake_parse_arguments(ARG "" "" "SOURCES;LIBS" ${ARGN})
  add_executable(${name} ${ARG_SOURCES})
  set_target_properties(${name} PROPERTIES AUTOMOC ON)
  target_compile_options(${name} PRIVATE ${TARV_WARNINGS})
  target_link_libraries(${name} PRIVATE ${ARG_LIBS} tarv_test_support tarv_qt_test_main
                        Qt6::Widgets Qt6::Test GTest::gtest)
  gtest_discover_tests(${name} DISCOVERY_TIMEOUT 60 PROPERTIES ENVIRONMENT "QT_QPA_PLATFORM=offscreen")
endfunction()

# A test binary that draws with OpenGL: every run (discovery included) gets its own X server.
find_program(XVFB_RUN xvfb-run)
function(tarv_gl_test name)
  cmake_parse_arguments(ARG "" "" "SOURCES;LIBS" ${ARGN})
  add_executable(${name} ${ARG_SOURCES})
  set_target_properties(${name} PROPERTIES AUTOMOC ON)
  target_compile_options(${name} PRIVATE ${TARV_WARNINGS})
  target_compile_definitions(${name} PRIVATE TARV_GL_TEST=1)
  target_link_libraries(${name} PRIVATE ${ARG_LIBS} tarv_test_support tarv_qt_test_main
                        Qt6::Widgets Qt6::OpenGLWidgets Qt6::OpenGL Qt6::Test GTest::gtest)
  if(XVFB_RUN)
    set_target_properties(${name} PROPERTIES
      CROSSCOMPILING_EMULATOR "${XVFB_RUN};-a;-s;-screen 0 1280x1024x24")
  endif()
  gtest_discover_tests(${name} DISCOVERY_TIMEOUT 120 PROPERTIES LABELS gl ENVIRONMENT "QT_QPA_PLATFORM=xcb")
endfunction()

# A Google Benchmark program; scripts/bench runs them, scripts/test only builds them.
function(tarv_bench name)
  cmake_parse_arguments(ARG "" "" "SOURCES;LIBS" ${ARGN})
  find_package(benchmark REQUIRED)
  add_executable(${name} ${ARG_SOURCES})
  target_compile_options(${name} PRIVATE ${TARV_WARNINGS})
  target_link_libraries(${name} PRIVATE ${ARG_LIBS} benchmark::benchmark benchmark::benchmark_main)
endfunction()

# One library per unit folder of src/ (src/README.md): the folder's .cpp files, or an interface library when
# the folder holds only headers. QT: windows and widgets (AUTOMOC, Qt libraries).
function(tarv_unit name folder)
  cmake_parse_arguments(ARG "QT" "" "LIBS" ${ARGN})
  file(GLOB sources CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/${folder}/*.cpp)
  if(NOT sources)
    add_library(${name} INTERFACE)
    target_include_directories(${name} INTERFACE ${PROJECT_SOURCE_DIR}/src)
    target_link_libraries(${name} INTERFACE ${ARG_LIBS})
  elseif(ARG_QT)
    tarv_qt_library(${name} SOURCES ${sources} LIBS ${ARG_LIBS})
  else()
    tarv_plain_library(${name} SOURCES ${sources} LIBS ${ARG_LIBS})
  endif()
endfunction()
