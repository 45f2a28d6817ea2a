# SPDX-FileCopyrightText: 2026 The gridcol developers
# SPDX-License-Identifier: GPL-3.0-or-later
# Cross-compiles gridcol for 64-bit Windows with Debian's MinGW-w64 (the posix
# thread model, which has std::thread) against the static Qt that
# tools/build-qt-windows.sh installs:
#
#   cmake -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64.cmake [-DGRIDCOL_QT_PREFIX=<Qt>] ...
#
# Every program is linked statically, so gridcol.exe needs no DLL beside it.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)

set(CMAKE_C_COMPILER x86_64-w64-mingw32-gcc-posix)
set(CMAKE_CXX_COMPILER x86_64-w64-mingw32-g++-posix)
set(CMAKE_RC_COMPILER x86_64-w64-mingw32-windres)

if(NOT GRIDCOL_QT_PREFIX)
    set(GRIDCOL_QT_PREFIX /var/cache/gridcol/qt-5.15.8-mingw64)
endif()
set(CMAKE_TRY_COMPILE_PLATFORM_VARIABLES GRIDCOL_QT_PREFIX)

set(CMAKE_FIND_ROOT_PATH /usr/x86_64-w64-mingw32 ${GRIDCOL_QT_PREFIX})
set(CMAKE_PREFIX_PATH ${GRIDCOL_QT_PREFIX})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

set(CMAKE_EXE_LINKER_FLAGS_INIT -static)

# Qt's CMake files name only the static libraries of the modules themselves.
# What those need in turn (Qt's own PCRE2, Windows system libraries) is listed
# in qmake's .prl files; it goes at the end of every link line, after Qt.
set(_gridcol_qt_libs)
foreach(_module Test Core)
    set(_prl ${GRIDCOL_QT_PREFIX}/lib/Qt5${_module}.prl)
    if(EXISTS ${_prl})
        file(STRINGS ${_prl} _line REGEX "^QMAKE_PRL_LIBS =")
        string(REGEX REPLACE "^QMAKE_PRL_LIBS = *" "" _line "${_line}")
        string(REPLACE "$$[QT_INSTALL_LIBS]" "${GRIDCOL_QT_PREFIX}/lib" _line "${_line}")
        string(APPEND _gridcol_qt_libs " ${_line}")
    endif()
endforeach()
set(CMAKE_CXX_STANDARD_LIBRARIES "${_gridcol_qt_libs}")
