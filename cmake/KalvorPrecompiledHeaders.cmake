# Precompiled headers. Parsing the C++20 standard library, Qt and GoogleTest is most of the time
# of a compile here, so each kind of target parses them once instead of once per file.
option(KALVOR_PCH "Precompile the common standard, Qt and test headers" ON)

set(KALVOR_PCH_STD
    <algorithm> <array> <atomic> <chrono> <cmath> <cstdint> <cstring> <filesystem> <fstream>
    <functional> <limits> <map> <memory> <mutex> <optional> <set> <span> <string>
    <string_view> <thread> <unordered_map> <utility> <vector>)
set(KALVOR_PCH_QT
    <QAction> <QApplication> <QCheckBox> <QComboBox> <QDialog> <QDialogButtonBox> <QHBoxLayout>
    <QLabel> <QLineEdit> <QMenu> <QPainter> <QPushButton> <QString> <QTimer> <QVBoxLayout>
    <QWidget>)
set(KALVOR_PCH_TEST <gtest/gtest.h>)

# kalvor_precompile_headers(target header...): gives target its own precompiled header.
function(kalvor_precompile_headers target)
  if(KALVOR_PCH)
    target_precompile_headers(${target} PRIVATE ${ARGN})
  endif()
endfunction()

# kalvor_share_precompiled_headers(target owner_var header...): targets built with the same
# flags share one precompiled header; the first of them (remembered in owner_var in the
# caller's scope) makes it, the others reuse it.
function(kalvor_share_precompiled_headers target owner_var)
  if(NOT KALVOR_PCH)
    return()
  endif()
  if(${owner_var})
    target_precompile_headers(${target} REUSE_FROM ${${owner_var}})
  else()
    target_precompile_headers(${target} PRIVATE ${ARGN})
    set(${owner_var} ${target} PARENT_SCOPE)
  endif()
endfunction()

# GCC 12 reports its known false array-bounds, restrict and stringop warnings from inlined
# std::string code once the library comes from a precompiled header (it no longer counts as a
# system header there); with -Werror they would stop the build.
if(KALVOR_PCH AND CMAKE_CXX_COMPILER_ID STREQUAL "GNU")
  target_compile_options(kalvor_options INTERFACE -Wno-array-bounds -Wno-restrict
                                                  -Wno-stringop-overflow -Wno-stringop-overread)
endif()
