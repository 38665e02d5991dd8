# quenlo_core_library(NAME [SKIP_DIRS dir...] DEPS...): a static library from the folder's *.cpp
# and those of its concern folders one level down (every subfolder but gui/, which holds the Qt
# windows, and the SKIP_DIRS, which the folder's own CMakeLists.txt adds when it wants them).
function(quenlo_core_library name)
  cmake_parse_arguments(PARSE_ARGV 1 arg "" "" "SKIP_DIRS")
  set(deps ${arg_UNPARSED_ARGUMENTS})
  file(GLOB srcs CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/*.cpp ${CMAKE_CURRENT_SOURCE_DIR}/*/*.cpp)
  list(FILTER srcs EXCLUDE REGEX "/gui/[^/]*$")
  foreach(dir ${arg_SKIP_DIRS})
    list(FILTER srcs EXCLUDE REGEX "/${dir}/[^/]*$")
  endforeach()
  if(srcs)
    add_library(${name} STATIC ${srcs})
    target_include_directories(${name} PUBLIC ${CMAKE_SOURCE_DIR})
    target_link_libraries(${name} PUBLIC ${deps} Threads::Threads)
  else()
    add_library(${name} INTERFACE)
    target_include_directories(${name} INTERFACE ${CMAKE_SOURCE_DIR})
    target_link_libraries(${name} INTERFACE ${deps} Threads::Threads)
  endif()
endfunction()

# The Qt headers nearly every window and GUI test includes: parsing them took about as long as
# compiling a window's own code, so each GUI target precompiles them once.
set(QUENLO_QT_PCH <QApplication> <QCheckBox> <QComboBox> <QDialog> <QGroupBox> <QLabel> <QLineEdit>
    <QMessageBox> <QPainter> <QPushButton> <QRadioButton> <QString> <QTimer> <QTreeWidget> <QWidget>)

# quenlo_gui_library(NAME DEPS...): a Qt library from the folder's gui/*.cpp, built only with the GUI.
function(quenlo_gui_library name)
  if(NOT QUENLO_GUI)
    return()
  endif()
  file(GLOB srcs CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/gui/*.cpp ${CMAKE_CURRENT_SOURCE_DIR}/gui/*.h)
  if(NOT srcs)
    return()
  endif()
  add_library(${name} STATIC ${srcs})
  target_include_directories(${name} PUBLIC ${CMAKE_SOURCE_DIR})
  target_link_libraries(${name} PUBLIC ${ARGN} Qt6::Widgets)
  target_precompile_headers(${name} PRIVATE ${QUENLO_QT_PCH})
  set_target_properties(${name} PROPERTIES AUTOMOC ON)
endfunction()

# quenlo_test(NAME LABEL DIRS DEPS...): one GoogleTest executable from the *.cpp of DIRS (one
# folder or a list). A "gui" suite gets the shared main that makes its QApplication.
# LABEL is one word matched as a regular expression by ctest -L: "core" (Qt-free), "core_threaded"
# (also run under TSan), "gui" (offscreen); every suite runs under ASan+UBSan.
# With QUENLO_TEST_LABELS set (a regular expression), only matching suites are built.
function(quenlo_test name label dirs)
  if(NOT QUENLO_TESTS)
    return()
  endif()
  set(srcs)
  foreach(dir ${dirs})
    file(GLOB dir_srcs CONFIGURE_DEPENDS ${dir}/*.cpp)
    list(APPEND srcs ${dir_srcs})
  endforeach()
  if(NOT srcs)
    return()
  endif()
  if("${label}" STREQUAL "gui")
    list(APPEND srcs ${CMAKE_SOURCE_DIR}/tests/support/GuiTestMain.cpp)
  endif()
  if(QUENLO_TEST_LABELS AND NOT label MATCHES "${QUENLO_TEST_LABELS}")
    return()
  endif()
  add_executable(${name} ${srcs})
  # GoogleTest's headers dominate the compile time of every test file (and Qt's, of a GUI one).
  target_precompile_headers(${name} PRIVATE <gtest/gtest.h> <gmock/gmock.h>)
  if(QUENLO_GUI AND "${label}" STREQUAL "gui")
    target_precompile_headers(${name} PRIVATE ${QUENLO_QT_PCH} <QTest>)
  endif()
  # The tests' own code needs neither full optimisation nor full debug information (the
  # code under test keeps the build's flags); line tables keep a failure's trace readable.
  if(NOT QUENLO_SANITIZE)
    target_compile_options(${name} PRIVATE -O1 -g1)
  endif()
  if(QUENLO_GUI AND "${label}" STREQUAL "gui")
    set_target_properties(${name} PROPERTIES AUTOMOC ON)
  endif()
  target_link_libraries(${name} PRIVATE ${ARGN} GTest::gtest GTest::gmock GTest::gtest_main)
  target_include_directories(${name} PRIVATE ${CMAKE_SOURCE_DIR} ${CMAKE_SOURCE_DIR}/tests)
  # Parameterised cases keep their own names (or index) in ctest, not a dump of their value.
  gtest_discover_tests(${name} DISCOVERY_MODE PRE_TEST NO_PRETTY_VALUES PROPERTIES LABELS ${label}
                       ENVIRONMENT "QT_QPA_PLATFORM=offscreen")
endfunction()
