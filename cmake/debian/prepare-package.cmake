# SPDX-FileCopyrightText: 2026 The gridcol developers
# SPDX-License-Identifier: GPL-3.0-or-later
# Run by cpack on the staging directory before it builds the Debian package:
# adds the copyright file and the changelog Debian asks of every package,
# compresses the manual page and the changelog and strips the program, as
# Debian's own packages have them.
cmake_minimum_required(VERSION 3.19)

set(root "${CPACK_TEMPORARY_DIRECTORY}${CPACK_PACKAGING_INSTALL_PREFIX}")
set(doc "${root}/share/doc/${CPACK_PACKAGE_NAME}")

# The changelog's newest entry names the version being packaged.
file(STRINGS "${CMAKE_CURRENT_LIST_DIR}/changelog" newest LIMIT_COUNT 1)
if(NOT newest MATCHES "^${CPACK_PACKAGE_NAME} \\(${CPACK_PACKAGE_VERSION}\\) ")
    message(FATAL_ERROR "cmake/debian/changelog has no entry for version ${CPACK_PACKAGE_VERSION} at its top: ${newest}")
endif()

file(COPY "${CMAKE_CURRENT_LIST_DIR}/copyright" "${CMAKE_CURRENT_LIST_DIR}/changelog" DESTINATION "${doc}"
     FILE_PERMISSIONS OWNER_READ OWNER_WRITE GROUP_READ WORLD_READ)

# -n keeps name and time out of the gzip header, so the package builds the same every time.
foreach(file "${doc}/changelog" "${root}/share/man/man1/${CPACK_PACKAGE_NAME}.1")
    execute_process(COMMAND gzip -9nf "${file}" RESULT_VARIABLE failed)
    if(failed)
        message(FATAL_ERROR "gzip could not compress ${file}")
    endif()
endforeach()

# No debugging symbols, no compiler notes: what dh_strip leaves of a program.
execute_process(COMMAND "${CPACK_GRIDCOL_STRIP}" --remove-section=.comment --remove-section=.note
                        "${root}/bin/${CPACK_PACKAGE_NAME}" RESULT_VARIABLE failed)
if(failed)
    message(FATAL_ERROR "${CPACK_GRIDCOL_STRIP} could not strip ${root}/bin/${CPACK_PACKAGE_NAME}")
endif()
