# Helpers shared by the folders' CMakeLists.txt files.

set(TARV_WARNINGS -Wall -Wextra -Wno-unused-parameter)
# The tests' own code is compiled at -O1: a quarter less compile time than -O2 for the large test files, while the
# libraries under test keep the build's optimisation. (Benchmarks keep it too.)
set(TARV_TEST_FLAGS ${TARV_WARNINGS} -O1)

# Unity builds: the plain libraries and the plain test binaries compile their files in batches of eight, so the
# standard library and GoogleTest headers are parsed once a batch instead of once a file. A file in a batch
# shares one translation unit with the others: names in anonymous namespaces and file-level statics must not
# clash. A file that clashes with another and is better left as it is goes in TARV_UNITY_ALONE (its path from the
# project's folder) and is compiled on its own.
option(TARV_UNITY "Compile the plain libraries and plain tests in batches of files" ON)
set(TARV_UNITY_ALONE
  src/animation/MadTracks.cpp
  src/animation/SmdImport.cpp
  src/attachments/GunPanel.cpp
  src/attachments/MexFile.cpp
  src/attachments/MexShpChecks.cpp
  src/objects/ObjectImport.cpp
)
# The batches are our own files, written in the build folder, that include their sources by their paths from the
# project's folder (found through the project's folder on the include path). Nothing in them names the checkout's
# place, so ccache finds a batch again in a clone at another path, as it does a single file.
function(tarv_unity name)
  if(NOT TARV_UNITY)
    return()
  endif()
  get_target_property(sources ${name} SOURCES)
  get_target_property(dir ${name} SOURCE_DIR)
  set(kept "")
  set(batches "")
  set(batch "")
  set(count 0)
  list(LENGTH sources left)
  foreach(source IN LISTS sources)
    math(EXPR left "${left} - 1")
    get_filename_component(full ${source} ABSOLUTE BASE_DIR ${dir})
    file(RELATIVE_PATH rel ${PROJECT_SOURCE_DIR} ${full})
    if(NOT full MATCHES "\\.cpp$" OR rel MATCHES "^\\.\\." OR rel IN_LIST TARV_UNITY_ALONE)
      list(APPEND kept ${source})
    else()
      string(APPEND batch "#include \"${rel}\"\n")
      math(EXPR count "${count} + 1")
    endif()
    if(count EQUAL 8 OR (left EQUAL 0 AND count GREATER 0))
      list(LENGTH batches index)
      set(file ${CMAKE_CURRENT_BINARY_DIR}/${name}_batches/batch_${index}.cpp)
      file(CONFIGURE OUTPUT ${file} CONTENT "/* made by the build: one batch of ${name} */\n${batch}" @ONLY)
      list(APPEND batches ${file})
      set(batch "")
      set(count 0)
    endif()
  endforeach()
  set_property(TARGET ${name} PROPERTY SOURCES ${kept} ${batches})
  target_include_directories(${name} PRIVATE ${PROJECT_SOURCE_DIR})
endfunction()

# A plain C++ library: no Qt, no AUTOMOC.
function(tarv_plain_library name)
  cmake_parse_arguments(ARG "" "" "SOURCES;LIBS" ${ARGN})
  add_library(${name} STATIC ${ARG_SOURCES})
  target_include_directories(${name} PUBLIC ${PROJECT_SOURCE_DIR}/src)
  target_compile_options(${name} PRIVATE ${TARV_WARNINGS})
  target_link_libraries(${name} PUBLIC ${ARG_LIBS})
  # The fuzz targets of the sanitizer build steer by coverage of the libraries they link.
  if(TARV_FUZZ_TARGETS)
    target_compile_options(${name} PRIVATE -fsanitize=fuzzer-no-link)
  endif()
  tarv_unity(${name})
endfunction()

# A library of windows and widgets: Qt with AUTOMOC.
function(tarv_qt_library name)
  cmake_parse_arguments(ARG "" "" "SOURCES;LIBS" ${ARGN})
  add_library(${name} STATIC ${ARG_SOURCES})
  set_target_properties(${name} PROPERTIES AUTOMOC ON)
  target_include_directories(${name} PUBLIC ${PROJECT_SOURCE_DIR}/src)
  target_compile_options(${name} PRIVATE ${TARV_WARNINGS})
  target_link_libraries(${name} PUBLIC ${ARG_LIBS} Qt6::Widgets Qt6::OpenGLWidgets Qt6::OpenGL)
  tarv_pch(${name} qt_library)
endfunction()

# Precompiled headers of outside headers only (the standard library, GoogleTest, Qt's widgets; never our own
# headers, which change): one small host target per kind builds the header once per build folder, and every
# target of that kind reuses it, so each of their files parses several seconds less. The host has the flags of
# the targets that reuse its header; GCC checks that and falls back to the plain headers with -Winvalid-pch.
# Qt's test module is left out of the widget tests' header: its QT_TESTCASE_* macros differ from folder to folder.
option(TARV_PCH "Precompile the outside headers (standard library, GoogleTest, Qt Widgets)" ON)
set(TARV_PCH_STD <algorithm> <array> <cmath> <cstdint> <cstring> <filesystem> <functional> <map> <memory>
    <optional> <string> <unordered_map> <vector>)
set(TARV_PCH_QT <QAction> <QApplication> <QCheckBox> <QComboBox> <QDialog> <QGridLayout> <QGroupBox>
    <QHBoxLayout> <QImage> <QLabel> <QLineEdit> <QListWidget> <QMenu> <QMenuBar> <QMouseEvent> <QPushButton>
    <QRadioButton> <QStatusBar> <QTabWidget> <QTimer> <QTreeWidget> <QVBoxLayout> <QWidget>)
# tarv_pch(<target> <host> <kind>): the target reuses the host's header; the first call of a kind makes the host.
#   plain_test: GoogleTest and the standard library, for the plain test binaries
#   qt_test:    the same and Qt's widgets, for the widget and GL test binaries
#   qt_library: the standard library and Qt's widgets, for the libraries of windows
function(tarv_pch name kind)
  if(NOT TARV_PCH)
    return()
  endif()
  set(host tarv_${kind}_pch)
  if(NOT TARGET ${host})
    if(kind STREQUAL "qt_library")
      add_library(${host} STATIC ${PROJECT_SOURCE_DIR}/cmake/PchHost.cpp)
      target_compile_options(${host} PRIVATE ${TARV_WARNINGS})
      target_link_libraries(${host} PUBLIC Qt6::Widgets Qt6::OpenGLWidgets Qt6::OpenGL)
      target_precompile_headers(${host} PRIVATE ${TARV_PCH_STD} ${TARV_PCH_QT})
    else()
      add_executable(${host} ${PROJECT_SOURCE_DIR}/cmake/PchHost.cpp)
      target_compile_options(${host} PRIVATE ${TARV_TEST_FLAGS})
      target_link_libraries(${host} PRIVATE GTest::gtest)
      if(kind STREQUAL "qt_test")
        target_link_libraries(${host} PRIVATE Qt6::Widgets)
        target_precompile_headers(${host} PRIVATE ${TARV_PCH_STD} ${TARV_PCH_QT} <gtest/gtest.h>)
      else()
        target_precompile_headers(${host} PRIVATE ${TARV_PCH_STD} <gtest/gtest.h>)
      endif()
    endif()
  endif()
  target_precompile_headers(${name} REUSE_FROM ${host})
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
  target_compile_options(${name} PRIVATE ${TARV_TEST_FLAGS})
  target_link_libraries(${name} PRIVATE ${ARG_LIBS} tarv_test_support GTest::gtest GTest::gtest_main)
  tarv_pch(${name} plain_test)
  tarv_unity(${name})
  gtest_discover_tests(${name} DISCOVERY_TIMEOUT 60)
endfunction()

# A test binary of widgets: our own main() picks the offscreen platform when there is no display.
function(tarv_widget_test name)
  cmake_parse_arguments(ARG "" "" "SOURCES;LIBS" ${ARGN})
  add_executable(${name} ${ARG_SOURCES})
  set_target_properties(${name} PROPERTIES AUTOMOC ON)
  target_compile_options(${name} PRIVATE ${TARV_TEST_FLAGS})
  target_link_libraries(${name} PRIVATE ${ARG_LIBS} tarv_test_support tarv_qt_test_main
                        Qt6::Widgets Qt6::Test GTest::gtest)
  tarv_pch(${name} qt_test)
  gtest_discover_tests(${name} DISCOVERY_TIMEOUT 60 PROPERTIES ENVIRONMENT "QT_QPA_PLATFORM=offscreen")
endfunction()

# A test binary that draws with OpenGL: every run (discovery included) gets its own X server.
find_program(XVFB_RUN xvfb-run)
function(tarv_gl_test name)
  cmake_parse_arguments(ARG "" "" "SOURCES;LIBS" ${ARGN})
  add_executable(${name} ${ARG_SOURCES})
  set_target_properties(${name} PROPERTIES AUTOMOC ON)
  target_compile_options(${name} PRIVATE ${TARV_TEST_FLAGS})
  target_compile_definitions(${name} PRIVATE TARV_GL_TEST=1)
  target_link_libraries(${name} PRIVATE ${ARG_LIBS} tarv_test_support tarv_qt_test_main
                        Qt6::Widgets Qt6::OpenGLWidgets Qt6::OpenGL Qt6::Test GTest::gtest)
  if(XVFB_RUN)
    set_target_properties(${name} PROPERTIES
      CROSSCOMPILING_EMULATOR "${XVFB_RUN};-a;-s;-screen 0 1280x1024x24")
  endif()
  tarv_pch(${name} qt_test)
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
