# Precompiled Qt headers. Most of a compile here is parsing the same few Qt
# headers, so each kind of target shares one precompiled set: the QtCore
# libraries and tools, the windows, and the tests of the windows. A target
# whose flags do not fit a set still builds: the compiler then reads the
# headers as usual.
option(RAVEZAZ_PCH "Share precompiled Qt headers between the targets" ON)

set(RAVEZAZ_PCH_CORE_HEADERS
  <QByteArray> <QDate> <QDateTime> <QDebug> <QDir> <QFile> <QFileInfo> <QHash> <QList> <QObject>
  <QString> <QStringList> <QStringView> <algorithm> <optional> <vector>)
set(RAVEZAZ_PCH_WIDGETS_HEADERS ${RAVEZAZ_PCH_CORE_HEADERS}
  <QApplication> <QColor> <QDialog> <QImage> <QKeyEvent> <QLabel> <QLinearGradient> <QMouseEvent>
  <QPainter> <QPainterPath> <QPlainTextEdit> <QPushButton> <QRadialGradient> <QRect> <QTimer> <QWidget>)
set(RAVEZAZ_PCH_WIDGET_TESTS_HEADERS ${RAVEZAZ_PCH_WIDGETS_HEADERS} <QSignalSpy> <QTemporaryDir> <QTest>)

# Qt Test defines the folder of each test's build in its flags, so the set of
# the widget tests is made in the tests' folder (tests/CMakeLists.txt).
function(ravezaz_precompiled_set name)
  cmake_parse_arguments(ARG "" "" "LIBS;HEADERS" ${ARGN})
  if(NOT RAVEZAZ_PCH)
    return()
  endif()
  file(CONFIGURE OUTPUT ${CMAKE_BINARY_DIR}/pch/${name}.cpp CONTENT "")
  add_library(${name} OBJECT ${CMAKE_BINARY_DIR}/pch/${name}.cpp)
  set_target_properties(${name} PROPERTIES AUTOMOC OFF)
  target_link_libraries(${name} PRIVATE ${ARG_LIBS})
  target_precompile_headers(${name} PRIVATE ${ARG_HEADERS})
endfunction()

# Gives every C++ target of `folders` the set that fits the Qt it links.
function(ravezaz_use_precompiled_headers)
  if(NOT RAVEZAZ_PCH)
    return()
  endif()
  ravezaz_precompiled_set(ravezaz_pch_core LIBS Qt6::Core HEADERS ${RAVEZAZ_PCH_CORE_HEADERS})
  ravezaz_precompiled_set(ravezaz_pch_widgets LIBS Qt6::Widgets HEADERS ${RAVEZAZ_PCH_WIDGETS_HEADERS})
  foreach(folder ${ARGN})
    get_property(targets DIRECTORY ${folder} PROPERTY BUILDSYSTEM_TARGETS)
    foreach(target ${targets})
      get_target_property(type ${target} TYPE)
      get_target_property(libs ${target} LINK_LIBRARIES)
      if(NOT type MATCHES "^(STATIC_LIBRARY|EXECUTABLE)$" OR NOT libs)
        continue()
      endif()
      set(widgets OFF)
      foreach(lib ui ui_help Qt6::Widgets)
        if(lib IN_LIST libs)
          set(widgets ON)
        endif()
      endforeach()
      if(widgets AND Qt6::Test IN_LIST libs)
        target_precompile_headers(${target} REUSE_FROM ravezaz_pch_widget_tests)
      elseif(widgets)
        target_precompile_headers(${target} REUSE_FROM ravezaz_pch_widgets)
      else()
        target_precompile_headers(${target} REUSE_FROM ravezaz_pch_core)
      endif()
    endforeach()
  endforeach()
endfunction()
